#include "analysis/ui/CModView.h"

#include "analysis/ModFinder.h"
#include "core/CommandIds.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/CTempDialog.h"
#include "core/ui/Printing.h"
#include "core/ui/QtText.h"

#include <QFontDatabase>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace quorin::analysis::ui {
namespace {

namespace cmd = core::cmd;

bool isRule(const std::string& line)
{
    return !line.empty() && (line.find_first_not_of('*') == std::string::npos ||
                             line.find_first_not_of('-') == std::string::npos);
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t end = text.find("\r\n", begin);
        lines.push_back(text.substr(begin, end - begin));
        begin = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
}

QFont pageFont()
{
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

/// The page on screen.
class ModCanvas : public QWidget
{
public:
    ModCanvas(const std::vector<std::string>& lines, QWidget* parent)
        : QWidget(parent), m_lines(lines)
    {
        setObjectName(QStringLiteral("modFinderPage"));
        setAutoFillBackground(true);
        QPalette white = palette();
        white.setColor(QPalette::Window, Qt::white);
        setPalette(white);
        setFont(pageFont());
    }

    void fit()
    {
        const QFontMetrics metrics(font());
        int widest = 0;
        for (const std::string& line : m_lines) {
            widest = std::max(widest, metrics.horizontalAdvance(core::ui::ToQString(line)));
        }
        setMinimumSize(2 * kMargin + widest,
                       2 * kMargin + static_cast<int>(m_lines.size()) * metrics.height());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setFont(font());
        painter.translate(kMargin, kMargin);
        const int height = QFontMetrics(font()).height();
        for (std::size_t line = 0; line < m_lines.size(); ++line) {
            CModView::DrawLine(painter, m_lines, line, static_cast<int>(line) * height, height);
        }
    }

private:
    static constexpr int kMargin = 8;
    const std::vector<std::string>& m_lines;
};

} // namespace

CModView::CModView(core::ui::CPeptideDoc& document, QWidget* parent)
    : QScrollArea(parent), m_document(&document)
{
    setObjectName(QStringLiteral("CModView"));
    m_canvas = new ModCanvas(m_lines, this);
    setWidget(m_canvas);
    setWidgetResizable(true);
    refresh();
    connect(&document, &core::ui::CPeptideDoc::viewsNeedUpdate, this, &CModView::refresh);
}

std::string CModView::ReportText() const
{
    return m_document ? ModReportText(m_document->Record(), m_completeOnly) : std::string();
}

QSize CModView::sizeHint() const
{
    return m_canvas->minimumSize() + QSize(2 * frameWidth(), 2 * frameWidth());
}

void CModView::refresh()
{
    m_lines = splitLines(ReportText());
    static_cast<ModCanvas*>(m_canvas)->fit();
    m_canvas->update();
}

void CModView::DrawLine(QPainter& painter, const std::vector<std::string>& lines, std::size_t line,
                        int y, int lineHeight)
{
    const std::string& text = lines[line];
    if (isRule(text)) {
        return;
    }
    const bool underlined = line + 1 < lines.size() && isRule(lines[line + 1]);
    painter.save();
    // Title and section headings are red; the column header, underlined
    // too, stays black.
    const bool heading = underlined && text.find('|') == std::string::npos;
    painter.setPen(heading ? QColor(255, 0, 0) : QColor(Qt::black));
    const QString shown = core::ui::ToQString(text);
    painter.drawText(QRect(0, y, 1 << 20, lineHeight), Qt::AlignLeft | Qt::AlignVCenter, shown);
    if (underlined) {
        const int width = painter.fontMetrics().horizontalAdvance(shown);
        const auto at = [&](double rows) { return y + static_cast<int>(rows * lineHeight); };
        painter.drawLine(0, at(1.25), width, at(1.25));
        if (lines[line + 1].front() == '*') {
            painter.drawLine(0, at(1.4), width, at(1.4));
        }
    }
    painter.restore();
}

int CModView::Print(QPrinter& printer)
{
    printer.setDocName(QStringLiteral("ModFinder"));
    core::ui::TextPagePrinter pages(printer, pageFont());
    if (pages.IsActive()) {
        const int height = pages.Geometry().lineHeight;
        for (std::size_t line = 0; line < m_lines.size(); ++line) {
            // A title (and its row of "*") wider than the sheet wraps on it.
            const QString text = core::ui::ToQString(m_lines[line]);
            if (line < 2 &&
                pages.Painter().fontMetrics().horizontalAdvance(text) > pages.Geometry().width) {
                pages.Painter().setPen(line == 0 ? QColor(255, 0, 0) : QColor(Qt::black));
                if (!pages.PrintLine(m_lines[line])) {
                    break;
                }
                continue;
            }
            const std::optional<int> y = pages.NextRow();
            if (!y) {
                break;
            }
            DrawLine(pages.Painter(), m_lines, line, *y, height);
        }
    }
    const int printed = pages.Finish();
    if (printed == 0) {
        core::ui::ShowCannotPrint();
    }
    return printed;
}

std::optional<core::ui::CommandState> CModView::CommandStateOf(int id)
{
    switch (id) {
    case cmd::kCompleteDigest:
        return core::ui::CommandState{true, true, m_completeOnly};
    case cmd::kCopy:
    case cmd::kPrint:
        return core::ui::CommandState{};
    default:
        return std::nullopt;
    }
}

bool CModView::OnCommand(int id)
{
    switch (id) {
    case cmd::kCompleteDigest:
        m_completeOnly = !m_completeOnly;
        refresh();
        return true;
    case cmd::kCopy:
        core::ui::CopyReport(core::ui::ToQString(ReportText()), this);
        return true;
    case cmd::kPrint:
        core::ui::AskAndPrint(QStringLiteral("ModFinder"),
                              [this](QPrinter& printer) { return Print(printer); });
        return true;
    default:
        return false;
    }
}

} // namespace quorin::analysis::ui
