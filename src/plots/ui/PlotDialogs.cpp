#include "plots/ui/PlotDialogs.h"

#include "core/MessageTexts.h"
#include "core/ui/GdiTypes.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"

#include <QColorDialog>
#include <QDialog>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>

namespace quorin::plots::ui {

PlotChoosers StandardChoosers()
{
    PlotChoosers choosers;
    choosers.font = [](QWidget* parent, const ChosenFont& current) -> std::optional<ChosenFont> {
        bool ok = false;
        const QFont font =
            QFontDialog::getFont(&ok, core::ui::FontFromLogFont(current.font), parent);
        if (!ok) {
            return std::nullopt;
        }
        // Qt's font dialog has no colour; the colour dialog follows it.
        const QColor colour = QColorDialog::getColor(core::ui::ColorFromColorref(current.colour),
                                                     parent, QStringLiteral("Text Color"));
        return ChosenFont{core::ui::LogFontFromFont(font),
                          colour.isValid() ? core::ui::ColorrefFromColor(colour) : current.colour};
    };
    choosers.colour = [](QWidget* parent, core::COLORREF current) -> std::optional<core::COLORREF> {
        const QColor colour = QColorDialog::getColor(core::ui::ColorFromColorref(current), parent);
        if (!colour.isValid()) {
            return std::nullopt;
        }
        return core::ui::ColorrefFromColor(colour);
    };
    choosers.run = [](QDialog& dialog) { return dialog.exec(); };
    return choosers;
}

PlotChoosers& Choosers()
{
    static PlotChoosers choosers = StandardChoosers();
    return choosers;
}

QLineEdit* NamedField(const QString& name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QLabel* UsePartLabel(const core::PropertyRecord& record, QWidget* parent)
{
    const QString name = core::ui::ToQString(record.Name());
    auto* use = new QLabel(parent);
    use->setObjectName(QStringLiteral("usePart"));
    use->setText(
        QStringLiteral("Use a part of %1 (%2 aa)")
            // In one pass: a "%2" in the name stays as it is.
            .arg(core::ui::ElidedName(name, use->font()), QString::number(record.ResidueLength())));
    use->setToolTip(name);
    return use;
}

void ProposeStretch(const core::PropertyRecord& record, const PendingPlotRequest& request,
                    const RangeFields& fields, int defaultWindow)
{
    if (request.from != 0) {
        fields.from->setText(QString::number(request.from));
        fields.to->setText(QString::number(request.to));
        fields.window->setText(QString::number(request.window));
    } else {
        fields.from->setText(QStringLiteral("1"));
        fields.to->setText(QString::number(PositionCount(record)));
        fields.window->setText(QString::number(defaultWindow));
    }
}

bool PassesRangeCheck(const PathyDialogCheck& check, const RangeFields& fields)
{
    if (check.ok) {
        return true;
    }
    core::ui::ShowMessage(core::ui::ToQString(check.message),
                          core::ui::ToQString(core::msg::kError));
    QLineEdit* offending = nullptr;
    switch (check.focus) {
    case PathyField::From:
        offending = fields.from;
        break;
    case PathyField::To:
        offending = fields.to;
        break;
    case PathyField::Window:
        offending = fields.window;
        break;
    case PathyField::Threshold:
        offending = fields.threshold;
        break;
    case PathyField::None:
        break;
    }
    if (offending != nullptr) {
        offending->setFocus();
        offending->selectAll();
    }
    return false;
}

} // namespace quorin::plots::ui
