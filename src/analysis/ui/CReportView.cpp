#include "analysis/ui/CReportView.h"

#include "core/CommandIds.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/CTempDialog.h"
#include "core/ui/Printing.h"
#include "core/ui/QtText.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace quorin::analysis::ui {
namespace {

namespace cmd = core::cmd;

const QColor kHeadingColour(255, 0, 0);
const QColor kTextColour(0, 0, 0);

bool isRowOf(const QString& line, QChar mark)
{
    return !line.isEmpty() && line.count(mark) == line.size();
}

/// A row of "-" (or the title's row of "*" where the style underlines the
/// title) below a line of text: the page draws it as that line's underline.
bool isRuleRow(const ReportPageStyle& style, const QString& line)
{
    return isRowOf(line, QLatin1Char('-')) ||
           (style.titleUnderlined && isRowOf(line, QLatin1Char('*')));
}

/// Each line decoded on its own, as the report's own lines: a name in an
/// older encoding leaves the other lines as they are.
void splitReport(const std::string& text, std::vector<std::string>& bytes, QStringList& shown)
{
    bytes.clear();
    shown.clear();
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t end = text.find("\r\n", begin);
        bytes.push_back(text.substr(begin, end - begin));
        shown.append(core::ui::ToQString(bytes.back()));
        begin = end == std::string::npos ? text.size() : end + 2;
    }
}

} // namespace

/// The page on screen.
class CReportView::Page : public QWidget
{
public:
    explicit Page(CReportView& view) : QWidget(&view), m_view(view)
    {
        setObjectName(view.m_style.pageName);
        setAutoFillBackground(true);
        QPalette white = palette();
        white.setColor(QPalette::Window, Qt::white);
        setPalette(white);
        setFont(view.m_style.font);
    }

    void fit()
    {
        const QFontMetrics metrics(font(), this);
        int widest = 0;
        for (const QString& line : m_view.m_shown) {
            widest = std::max(widest, metrics.horizontalAdvance(line));
        }
        const int margin = m_view.m_style.margin;
        setMinimumSize(2 * margin + widest, 2 * margin + static_cast<int>(m_view.m_shown.size()) *
                                                             metrics.lineSpacing());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setFont(font());
        const int margin = m_view.m_style.margin;
        painter.translate(margin, margin);
        const int height = QFontMetrics(font(), this).lineSpacing();
        for (int line = 0; line < m_view.m_shown.size(); ++line) {
            m_view.drawLine(painter, line, line * height, height);
        }
    }

private:
    CReportView& m_view;
};

CReportView::CReportView(core::ui::CPeptideDoc& document, ReportPageStyle style, QWidget* parent)
    : QScrollArea(parent), m_document(&document), m_style(std::move(style))
{
    m_page = new Page(*this);
    setWidget(m_page);
    setWidgetResizable(true);
    connect(&document, &core::ui::CPeptideDoc::viewsNeedUpdate, this, &CReportView::refresh);
}

CReportView::~CReportView() = default;

QString CReportView::ReportText() const
{
    return m_document ? core::ui::ToQString(MakeReport(*m_document)) : QString();
}

QSize CReportView::sizeHint() const
{
    return m_page->minimumSize() + QSize(2 * frameWidth(), 2 * frameWidth());
}

void CReportView::refresh()
{
    // The lines are made when the report changes, not at every paint: a
    // scroll step only draws them.
    splitReport(m_document ? MakeReport(*m_document) : std::string(), m_lines, m_shown);
    m_page->fit();
    m_page->update();
}

ReportLineLook CReportView::LookOf(const ReportPageStyle& style, const QStringList& lines,
                                   int index)
{
    const QString& line = lines[index];
    ReportLineLook look;
    if (isRuleRow(style, line) && index > 0 && !lines[index - 1].isEmpty()) {
        look.shown = false;
        return look;
    }
    if (index + 1 < lines.size() && !line.isEmpty() && isRuleRow(style, lines[index + 1])) {
        look.underlines = lines[index + 1].front() == QLatin1Char('*') ? 2 : 1;
    }
    // The column header, underlined too, stays black.
    look.red = index == 0 || (look.underlines > 0 && !line.contains(QLatin1Char('|')));
    return look;
}

void CReportView::drawLine(QPainter& painter, int index, int y, int lineHeight) const
{
    const ReportLineLook look = LookOf(m_style, m_shown, index);
    const QString& line = m_shown[index];
    if (!look.shown || line.isEmpty()) {
        return;
    }
    const QFontMetrics metrics = painter.fontMetrics();
    painter.save();
    painter.setPen(look.red ? kHeadingColour : kTextColour);
    if (m_style.textCentred) {
        painter.drawText(QRect(0, y, 1 << 20, lineHeight), Qt::AlignLeft | Qt::AlignVCenter, line);
    } else {
        painter.drawText(QPoint(0, y + metrics.ascent()), line);
    }
    if (look.underlines > 0) {
        const int end = metrics.horizontalAdvance(line);
        const int start =
            m_style.underlineFromText ? end - metrics.horizontalAdvance(line.trimmed()) : 0;
        const int first = y + lineHeight * 5 / 4;
        painter.drawLine(start, first, end, first);
        if (look.underlines > 1) {
            const int second = y + static_cast<int>(1.4 * lineHeight);
            painter.drawLine(start, second, end, second);
        }
    }
    painter.restore();
}

int CReportView::Print(QPrinter& printer)
{
    printer.setDocName(m_style.jobName);
    return core::ui::PrintTextPages(
        printer, m_style.font, [this](core::ui::TextPagePrinter& pages) {
            QPainter& painter = pages.Painter();
            const int height = pages.Geometry().lineHeight;
            for (int line = 0; line < m_shown.size(); ++line) {
                // The title and its row of "*" hold the sequence's name: on a
                // sheet too narrow for them they wrap rather than run off it.
                if (line < 2 && (!m_style.titleUnderlined ||
                                 painter.fontMetrics().horizontalAdvance(m_shown[line]) >
                                     pages.Geometry().width)) {
                    painter.setPen(line == 0 ? kHeadingColour : kTextColour);
                    if (!pages.PrintLine(m_lines[static_cast<std::size_t>(line)])) {
                        return;
                    }
                    continue;
                }
                const std::optional<int> y = pages.NextRow();
                if (!y) {
                    return;
                }
                drawLine(painter, line, *y, height);
            }
        });
}

std::optional<core::ui::CommandState> CReportView::CommandStateOf(int id)
{
    switch (id) {
    case cmd::kCopy:
    case cmd::kPrint:
        return core::ui::CommandState{};
    default:
        return std::nullopt;
    }
}

bool CReportView::OnCommand(int id)
{
    switch (id) {
    case cmd::kCopy:
        core::ui::CopyReport(ReportText(), this);
        return true;
    case cmd::kPrint:
        core::ui::AskAndPrint(m_style.jobName,
                              [this](QPrinter& printer) { return Print(printer); });
        return true;
    default:
        return false;
    }
}

} // namespace quorin::analysis::ui
