#pragma once

#include "core/LogFont.h"
#include "core/Residue.h"
#include "core/ui/FileDialogs.h"
#include "plots/Hydropathy.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QDialog;
class QLabel;
class QLineEdit;
class QWidget;

namespace quorin::core {
class PropertyRecord;
}

namespace quorin::plots::ui {

/// A font with its text colour, as the pages' font choosers return them.
struct ChosenFont
{
    core::LOGFONT font;
    core::COLORREF colour = 0;
};

/// The font and colour choosers and the modal runs of the pages' dialogs,
/// replaceable by tests. Messages go through core::ui::ShowMessage, file
/// names through core::ui::AskFileName and the print dialog through
/// core::ui::ChoosePrinter.
struct PlotChoosers
{
    std::function<std::optional<ChosenFont>(QWidget* parent, const ChosenFont& current)> font;
    std::function<std::optional<core::COLORREF>(QWidget* parent, core::COLORREF current)> colour;
    /// Runs a dialog modally and returns its result (QDialog::exec).
    std::function<int(QDialog& dialog)> run;
};

/// The file a page command writes: core::ui::AskFileToWrite.
using core::ui::AskFileToWrite;

/// The edits of a range dialog (hydropathy, amphipathy, wheel) by the fields
/// of its check; null for a field the dialog does not have.
struct RangeFields
{
    QLineEdit* from = nullptr;
    QLineEdit* to = nullptr;
    QLineEdit* window = nullptr;
    QLineEdit* threshold = nullptr;
};

/// An empty edit named name (tests find the fields by it).
QLineEdit* NamedField(const QString& name, QWidget* parent);

/// The range dialogs' first line, "Use a part of NAME (N aa)", the name
/// elided to fit and whole in the tool tip.
QLabel* UsePartLabel(const core::PropertyRecord& record, QWidget* parent);

/// Proposes the stretch of request, or the whole sequence with defaultWindow
/// when it has none (the hydropathy and amphipathy dialogs).
void ProposeStretch(const core::PropertyRecord& record, const PendingPlotRequest& request,
                    const RangeFields& fields, int defaultWindow);

/// True when check passed. Otherwise shows its message ("Error") and puts the
/// focus, text selected, on the field at fault, as the range dialogs' OK does.
bool PassesRangeCheck(const PathyDialogCheck& check, const RangeFields& fields);

/// The choosers in use; assign members to replace them.
PlotChoosers& Choosers();
/// The standard choosers (font then colour, colour dialogs; exec).
PlotChoosers StandardChoosers();

} // namespace quorin::plots::ui
