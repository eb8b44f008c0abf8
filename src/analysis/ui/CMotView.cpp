#include "analysis/ui/CMotView.h"

#include "analysis/Motifs.h"
#include "analysis/ui/PhysChemPage.h"
#include "core/CommandIds.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/CTempDialog.h"
#include "core/ui/Printing.h"
#include "core/ui/QtText.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>

namespace quorin::analysis::ui {
namespace {

namespace cmd = core::cmd;

const QColor kHeadingColour(255, 0, 0);
const QColor kTextColour(0, 0, 0);

bool isHeading(const QString& line)
{
    return line == QLatin1String("Selected Motifs:") ||
           line == QLatin1String("List of occuring sites");
}

bool isUnderlined(const QString& line)
{
    return isHeading(line) || line == QLatin1String(" # of Motif | Position");
}

/// A row of "-" below an underlined line: the page draws the underline
/// instead.
bool isDashRowUnder(const QStringList& lines, int index)
{
    return index > 0 && lines[index].startsWith(QLatin1Char('-')) &&
           lines[index].count(QLatin1Char('-')) == lines[index].size() &&
           isUnderlined(lines[index - 1]);
}

class PageCanvas : public QWidget
{
public:
    explicit PageCanvas(CMotView& view) : QWidget(&view), m_view(view)
    {
        setObjectName(QStringLiteral("motifPage"));
        setAutoFillBackground(true);
        QPalette white = palette();
        white.setColor(QPalette::Window, Qt::white);
        setPalette(white);
    }

    void fit(const QStringList& lines)
    {
        const QFontMetrics metrics(CMotView::PageFont(1.0), this);
        int width = 0;
        for (const QString& line : lines) {
            width = std::max(width, metrics.horizontalAdvance(line));
        }
        setMinimumSize(2 * kMargin + width,
                       2 * kMargin + static_cast<int>(lines.size()) * metrics.lineSpacing());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QFont font = CMotView::PageFont(1.0);
        const int lineHeight = QFontMetrics(font, this).lineSpacing();
        const QStringList& lines = m_view.PageLines();
        for (int i = 0; i < lines.size(); ++i) {
            CMotView::DrawLine(painter, font, lines, i, kMargin, kMargin + i * lineHeight);
        }
    }

private:
    static constexpr int kMargin = 10;
    CMotView& m_view;
};

} // namespace

CMotView::CMotView(core::ui::CPeptideDoc& document, QWidget* parent)
    : QScrollArea(parent), m_document(&document)
{
    setObjectName(QStringLiteral("CMotView"));
    auto* canvas = new PageCanvas(*this);
    m_canvas = canvas;
    setWidget(canvas);
    setWidgetResizable(true);
    refresh();
    connect(&document, &core::ui::CPeptideDoc::viewsNeedUpdate, this, &CMotView::refresh);
}

CMotView::~CMotView() = default;

QSize CMotView::sizeHint() const
{
    return m_canvas->minimumSize() + QSize(2 * frameWidth(), 2 * frameWidth());
}

QFont CMotView::PageFont(double scale)
{
    return PhysChemPage::PageFont(scale);
}

void CMotView::refresh()
{
    // The lines are made when the search or the order changes, not at every
    // paint: a scroll step only draws them.
    m_lines = MotifReportText().split(QStringLiteral("\r\n"));
    if (!m_lines.isEmpty() && m_lines.last().isEmpty()) {
        m_lines.removeLast();
    }
    static_cast<PageCanvas*>(m_canvas)->fit(m_lines);
    m_canvas->update();
}

QString CMotView::MotifReportText() const
{
    if (!m_document) {
        return {};
    }
    return core::ui::ToQString(analysis::MotifReportText(m_document->Record(), m_byPosition));
}

void CMotView::DrawLine(QPainter& painter, const QFont& font, const QStringList& lines, int index,
                        int x, int y)
{
    const QString& line = lines[index];
    if (line.isEmpty() || isDashRowUnder(lines, index)) {
        return;
    }
    const QFontMetrics metrics(font, painter.device());
    painter.setFont(font);
    painter.setPen(index == 0 || isHeading(line) ? kHeadingColour : kTextColour);
    painter.drawText(QPoint(x, y + metrics.ascent()), line);
    if (isUnderlined(line)) {
        // One line at 1.25 line heights below the text's top, as wide as
        // the text.
        const int underline = y + metrics.lineSpacing() * 5 / 4;
        const int start =
            x + metrics.horizontalAdvance(line) - metrics.horizontalAdvance(line.trimmed());
        painter.drawLine(start, underline, x + metrics.horizontalAdvance(line), underline);
    }
}

int CMotView::Print(QPrinter& printer)
{
    printer.setDocName(QStringLiteral("Motif Search"));
    core::ui::TextPagePrinter pages(printer, PageFont(printer.logicalDpiY() / 96.0));
    if (pages.IsActive()) {
        const QStringList& all = m_lines;
        for (int i = 0; i < all.size(); ++i) {
            // The title and its row of "*" hold the sequence's name: on paper
            // they wrap rather than run off the sheet.
            if (i < 2) {
                pages.Painter().setPen(i == 0 ? kHeadingColour : kTextColour);
                if (!pages.PrintLine(all[i].toStdString())) {
                    break;
                }
                continue;
            }
            const std::optional<int> row = pages.NextRow();
            if (!row) {
                break;
            }
            DrawLine(pages.Painter(), pages.Painter().font(), all, i, 0, *row);
        }
    }
    const int printed = pages.Finish();
    if (printed == 0) {
        core::ui::ShowCannotPrint();
    }
    return printed;
}

void CMotView::setOrder(bool byPosition)
{
    m_byPosition = byPosition;
    refresh();
}

std::optional<core::ui::CommandState> CMotView::CommandStateOf(int id)
{
    switch (id) {
    case cmd::kSortByPosition:
        return core::ui::CommandState{true, true, m_byPosition};
    case cmd::kSortByMotif:
        return core::ui::CommandState{true, true, !m_byPosition};
    case cmd::kCopy:
    case cmd::kPrint:
        return core::ui::CommandState{};
    default:
        return std::nullopt;
    }
}

bool CMotView::OnCommand(int id)
{
    switch (id) {
    case cmd::kSortByPosition:
        setOrder(true);
        return true;
    case cmd::kSortByMotif:
        setOrder(false);
        return true;
    case cmd::kCopy:
        core::ui::CopyReport(MotifReportText(), this);
        return true;
    case cmd::kPrint:
        core::ui::AskAndPrint(QStringLiteral("Motif Search"),
                              [this](QPrinter& printer) { return Print(printer); });
        return true;
    default:
        return false;
    }
}

} // namespace quorin::analysis::ui
