#include "plots/ui/CTitrationDoc.h"

#include "core/ui/QtText.h"
#include "plots/ui/CTitrationDialog.h"
#include "plots/ui/PagePainter.h"
#include "plots/ui/PlotDialogs.h"

#include <QClipboard>
#include <QGuiApplication>

namespace quorin::plots::ui {

CTitrationDoc::CTitrationDoc(core::PropertyRecord& record, analysis::PKaSet set, int lineWidth,
                             QObject* parent)
    : PageDocument(record, parent), m_page(record, set, lineWidth)
{}

PageSource CTitrationDoc::Source()
{
    return TitrationPageSource(m_page);
}

QString CTitrationDoc::PrintJobName() const
{
    return core::ui::ToQString(kTitrationPageTitle);
}

void CTitrationDoc::SetLineWidth(int lineWidth)
{
    if (m_page.LineWidth() == lineWidth) {
        return;
    }
    m_page.SetLineWidth(lineWidth);
    Changed();
}

QString CTitrationDoc::Caption() const
{
    return core::ui::ToQString(m_page.Title());
}

QString CTitrationDoc::Table() const
{
    return core::ui::ToQString(m_page.Table());
}

void CTitrationDoc::CopyTable() const
{
    // Text on the clipboard ends its lines with LF, as the other windows put it.
    QString text = Table();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QGuiApplication::clipboard()->setText(text);
}

void CTitrationDoc::SetSets(const std::vector<analysis::PKaSet>& sets)
{
    m_page.SetSets(sets);
    Changed();
}

bool CTitrationDoc::ModifySet(QWidget* parent)
{
    CTitrationDialog dialog(m_page.Sets(), parent);
    if (Choosers().run(dialog) != QDialog::Accepted) {
        return false;
    }
    SetSets(dialog.Sets());
    return true;
}

} // namespace quorin::plots::ui
