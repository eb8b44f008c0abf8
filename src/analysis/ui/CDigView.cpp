#include "analysis/ui/CDigView.h"

#include "analysis/ui/CDigestOptionsDialog.h"
#include "analysis/ui/DigestJobs.h"
#include "analysis/ui/DigestOutput.h"
#include "core/CommandIds.h"
#include "core/MessageTexts.h"
#include "core/SequenceText.h"
#include "core/ui/Application.h"
#include "core/ui/BackgroundWork.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/FileDialogs.h"
#include "core/ui/GdiTypes.h"
#include "core/ui/Messages.h"
#include "core/ui/Notifications.h"
#include "core/ui/Printing.h"
#include "core/ui/QtText.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>

#include <algorithm>
#include <atomic>
#include <climits>
#include <filesystem>
#include <functional>
#include <optional>
#include <utility>

namespace quorin::analysis::ui {
namespace {

namespace cmd = core::cmd;
using core::ui::ToQString;

constexpr int kMargin = 4;
const QString kPrintJob = QStringLiteral("Sequence specific cleavage");
/// The widest table row as the report's own rule draws it.
constexpr int kTableWidth = 46;

CDigView::Limits& limitsSlot()
{
    static CDigView::Limits limits;
    return limits;
}

int clampToInt(std::size_t value)
{
    return static_cast<int>(std::min<std::size_t>(value, INT_MAX));
}

/// Puts report bytes on the clipboard with LF line ends, as Linux programs
/// paste text; the report itself ends its lines with CR LF.
void putOnClipboard(QByteArray bytes)
{
    bytes.replace("\r\n", "\n");
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("text/plain"), bytes);
    QGuiApplication::clipboard()->setMimeData(mime);
}

/// Names the file of a failed export in a message; true when written.
bool reportExport(const QString& path, const core::FileStatus& written)
{
    if (!written) {
        core::ui::ShowMessage(ToQString(core::msg::CannotSaveFile(
                                  QDir::toNativeSeparators(path).toStdString(), written.Error())),
                              ToQString(core::msg::kError));
    }
    return written;
}

} // namespace

/// A copy or printout on a worker: it reads the document's digest, so the
/// view stops it and waits for it before it goes.
struct CDigView::Output
{
    std::atomic<bool> stop{false};
    QFuture<void> future;
};

CDigView::Limits CDigView::BackgroundLimits()
{
    return limitsSlot();
}

void CDigView::SetBackgroundLimits(const Limits& limits)
{
    limitsSlot() = limits;
}

CDigView::CDigView(core::ui::CPeptideDoc& document, QWidget* parent)
    : QAbstractScrollArea(parent), m_document(&document), m_jobs(&DigestJobs::Of(document))
{
    setObjectName(QStringLiteral("CDigView"));
    core::ui::Application& app = core::ui::Application::Instance();
    // The output font (Courier New, fixed pitch) at 8.5 points, plain.
    m_font = core::ui::FontFromLogFont(app.ReportFontB());
    m_font.setPointSizeF(8.5);
    m_font.setWeight(QFont::Normal);
    m_font.setItalic(false);
    m_font.setUnderline(false);
    m_font.setFixedPitch(true);
    m_font.setStyleHint(QFont::TypeWriter);

    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(Qt::IBeamCursor);
    setFocusPolicy(Qt::StrongFocus);
    verticalScrollBar()->setSingleStep(1);

    connect(m_jobs, &DigestJobs::finished, this, &CDigView::onDigestBack);
    connect(&document, &core::ui::CPeptideDoc::viewsNeedUpdate, this, &CDigView::onDocumentUpdate);
    measureWidth();
    refreshGeometry();
}

CDigView::~CDigView()
{
    if (m_output) {
        m_output->stop = true;
        m_output->future.waitForFinished();
    }
}

bool CDigView::showsReport() const
{
    return m_document && m_jobs && !m_jobs->Busy() &&
           DigestReportLineCount(m_document->Record()) > 0;
}

bool CDigView::ready() const
{
    return showsReport() && !m_output;
}

bool CDigView::Busy() const
{
    return !showsReport() || m_output != nullptr;
}

std::size_t CDigView::LineCount() const
{
    return showsReport() ? DigestReportLineCount(m_document->Record()) : 1;
}

QString CDigView::LineText(std::size_t line) const
{
    if (!showsReport()) {
        return QString::fromLatin1(kPlaceholder);
    }
    return ToQString(DigestReportLine(m_document->Record(), line));
}

int CDigView::LineHeight() const
{
    return std::max(1, QFontMetrics(m_font).lineSpacing());
}

QSize CDigView::sizeHint() const
{
    const int charWidth = QFontMetrics(m_font).horizontalAdvance(QLatin1Char('0'));
    const long long lines =
        showsReport() ? static_cast<long long>(LineCount()) : QWIDGETSIZE_MAX / LineHeight();
    const long long height = lines * LineHeight() + 2 * kMargin;
    return QSize(std::max(m_widestLine, kTableWidth) * charWidth + 2 * kMargin,
                 static_cast<int>(std::min<long long>(height, QWIDGETSIZE_MAX / 2))) +
           QSize(2 * frameWidth(), 2 * frameWidth());
}

std::size_t CDigView::visibleLines() const
{
    return static_cast<std::size_t>(std::max(1, (viewport()->height() - kMargin) / LineHeight()));
}

std::size_t CDigView::TopLine() const
{
    return static_cast<std::size_t>(verticalScrollBar()->value());
}

void CDigView::ScrollToLine(std::size_t line)
{
    verticalScrollBar()->setValue(clampToInt(line));
}

std::optional<std::pair<std::size_t, std::size_t>> CDigView::Selection() const
{
    if (!m_hasSelection || !showsReport()) {
        return std::nullopt;
    }
    return std::pair{std::min(m_anchor, m_cursor), std::max(m_anchor, m_cursor)};
}

void CDigView::SelectLines(std::size_t anchor, std::size_t cursor)
{
    const std::size_t last = LineCount() - 1;
    m_anchor = std::min(anchor, last);
    m_cursor = std::min(cursor, last);
    m_hasSelection = true;
    viewport()->update();
}

void CDigView::measureWidth()
{
    int widest = static_cast<int>(std::char_traits<char>::length(kPlaceholder));
    if (showsReport()) {
        const core::PropertyRecord& record = m_document->Record();
        const std::size_t head = record.digest.reportHeadLines.size();
        const std::size_t lines = DigestReportLineCount(record);
        // The head has the long lines (title, agents, sites); the rows are
        // alike, and the last ones in weight order the widest.
        for (std::size_t line = 0; line < lines && line < head + 1; ++line) {
            widest = std::max(widest, clampToInt(DigestReportLine(record, line).size()));
        }
        widest =
            std::max({widest, kTableWidth, clampToInt(DigestReportLine(record, lines - 1).size())});
    }
    m_widestLine = widest;
}

void CDigView::refreshGeometry()
{
    const std::size_t lines = LineCount();
    const std::size_t visible = visibleLines();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, clampToInt(lines > visible ? lines - visible : 0));
    vertical->setPageStep(clampToInt(visible));
    const int charWidth = QFontMetrics(m_font).horizontalAdvance(QLatin1Char('0'));
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0,
                         std::max(0, m_widestLine * charWidth + 2 * kMargin - viewport()->width()));
    horizontal->setPageStep(viewport()->width());
    horizontal->setSingleStep(charWidth);
}

void CDigView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    refreshGeometry();
}

void CDigView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().base());
    painter.setFont(m_font);
    const QFontMetrics metrics(m_font);
    const int lineHeight = LineHeight();
    const std::size_t lines = LineCount();
    const std::size_t top = TopLine();
    const int x = kMargin - horizontalScrollBar()->value();
    const auto selection = Selection();
    const int width = viewport()->width();
    const std::size_t rows = visibleLines() + 2;
    for (std::size_t row = 0; row < rows && top + row < lines; ++row) {
        const std::size_t line = top + row;
        const int y = kMargin + static_cast<int>(row) * lineHeight;
        if (y > event->rect().bottom() || y + lineHeight < event->rect().top()) {
            continue;
        }
        const bool selected = selection && line >= selection->first && line <= selection->second;
        if (selected) {
            painter.fillRect(0, y, width, lineHeight, palette().highlight());
            painter.setPen(palette().highlightedText().color());
        } else {
            painter.setPen(palette().text().color());
        }
        painter.drawText(x, y + metrics.ascent(), LineText(line));
        if (line == m_cursor && hasFocus() && showsReport()) {
            painter.setPen(QPen(palette().text().color(), 1, Qt::DotLine));
            painter.drawRect(0, y, width - 1, lineHeight - 1);
        }
    }
}

std::size_t CDigView::lineAt(int y) const
{
    const std::size_t lines = LineCount();
    const long long offset =
        (static_cast<long long>(y) - kMargin) / LineHeight() - (y < kMargin ? 1 : 0);
    const long long line = static_cast<long long>(TopLine()) + offset;
    return static_cast<std::size_t>(
        std::clamp<long long>(line, 0, static_cast<long long>(lines) - 1));
}

void CDigView::ensureVisible(std::size_t line)
{
    const std::size_t top = TopLine();
    const std::size_t visible = visibleLines();
    if (line < top) {
        ScrollToLine(line);
    } else if (line >= top + visible) {
        ScrollToLine(line + 1 - visible);
    }
}

void CDigView::moveCursorTo(std::size_t line, bool extend)
{
    if (!extend || !m_hasSelection) {
        m_anchor = extend ? m_cursor : line;
    }
    m_cursor = line;
    m_hasSelection = true;
    ensureVisible(line);
    viewport()->update();
}

void CDigView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        if (ready()) {
            OnCommand(cmd::kCopy);
        }
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        if (ready()) {
            OnCommand(cmd::kSelectAll);
        }
        return;
    }
    if (!showsReport()) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const std::size_t last = LineCount() - 1;
    const std::size_t page = visibleLines();
    const bool extend = (event->modifiers() & Qt::ShiftModifier) != 0;
    switch (event->key()) {
    case Qt::Key_Up:
        moveCursorTo(m_cursor == 0 ? 0 : m_cursor - 1, extend);
        break;
    case Qt::Key_Down:
        moveCursorTo(std::min(last, m_cursor + 1), extend);
        break;
    case Qt::Key_PageUp:
        moveCursorTo(m_cursor > page ? m_cursor - page : 0, extend);
        break;
    case Qt::Key_PageDown:
        moveCursorTo(std::min(last, m_cursor + page), extend);
        break;
    case Qt::Key_Home:
        moveCursorTo(0, extend);
        break;
    case Qt::Key_End:
        moveCursorTo(last, extend);
        break;
    case Qt::Key_Left:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Right:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_Escape:
        m_hasSelection = false;
        viewport()->update();
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CDigView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton || !showsReport()) {
        return;
    }
    moveCursorTo(lineAt(event->position().toPoint().y()),
                 (event->modifiers() & Qt::ShiftModifier) != 0);
}

void CDigView::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) == 0 || !showsReport()) {
        return;
    }
    // Dragging past the top or bottom edge scrolls on.
    moveCursorTo(lineAt(event->position().toPoint().y()), true);
}

void CDigView::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}

void CDigView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void CDigView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void CDigView::setOrder(SortMode sortMode, bool completeOnly)
{
    if (!m_document || !m_jobs) {
        return;
    }
    const bool reorders = sortMode != m_sortMode;
    m_sortMode = sortMode;
    m_completeOnly = completeOnly;
    const bool onWorker =
        reorders && m_document->Record().digest.fragments.size() > BackgroundLimits().sortFragments;
    m_jobs->Rebuild(sortMode, completeOnly, onWorker);
    viewport()->update();
}

void CDigView::onDigestBack(bool ok)
{
    if (!ok) {
        core::ui::ShowMessage(ToQString(core::msg::kDigestTooLarge), ToQString(core::msg::kError));
        for (QWidget* frame = parentWidget(); frame != nullptr; frame = frame->parentWidget()) {
            if (auto* window = qobject_cast<QMdiSubWindow*>(frame)) {
                window->close();
                return;
            }
        }
        return;
    }
    // A refilled view has its caret at the start.
    m_anchor = 0;
    m_cursor = 0;
    m_hasSelection = false;
    measureWidth();
    refreshGeometry();
    ScrollToLine(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
    emit idle();
}

void CDigView::onDocumentUpdate()
{
    if (!m_document || !m_jobs || m_jobs->Busy()) {
        return;
    }
    if (m_output) {
        m_updatePending = true;
        return;
    }
    const core::PropertyRecord& record = m_document->Record();
    // A renamed sequence gets its title; the fragments keep their order.
    if (DigestReportLineCount(record) > 0 &&
        DigestReportLine(record, 0) !=
            "Pattern of proteolytic digest of " + core::OneLineText(record.Name())) {
        m_jobs->Rebuild(m_sortMode, m_completeOnly, false);
        return;
    }
    measureWidth();
    refreshGeometry();
    viewport()->update();
}

void CDigView::outputEnded()
{
    m_output.reset();
    core::ui::PostNotification(core::ui::MSG_PROGRESS, 100);
    emit idle();
    if (m_document) {
        m_document->AnalysesChanged();
    }
    if (std::exchange(m_updatePending, false)) {
        onDocumentUpdate();
    }
}

void CDigView::copySelection()
{
    if (!showsReport()) {
        return;
    }
    // Without a selection Copy takes the whole report, as the other report
    // windows' Copy does; the selection on show stays as it is.
    const auto [first, last] =
        Selection().value_or(std::pair<std::size_t, std::size_t>(0, LineCount() - 1));
    const core::PropertyRecord& record = m_document->Record();
    if (last - first < BackgroundLimits().copyLines) {
        putOnClipboard(*DigestReportBytes(record, first, last));
        return;
    }
    auto output = std::make_shared<Output>();
    auto bytes = std::make_shared<std::optional<QByteArray>>();
    m_output = output;
    output->future = core::ui::RunInBackground(
        this,
        [&record, first, last, output, bytes] {
            core::ui::ProgressPoster progress;
            *bytes = DigestReportBytes(record, first, last, [&](int percent) {
                progress(percent);
                return !output->stop.load();
            });
        },
        [this, bytes] {
            if (*bytes) {
                putOnClipboard(std::move(**bytes));
            }
            outputEnded();
        });
    viewport()->update();
}

int CDigView::Print(QPrinter& printer)
{
    printer.setDocName(kPrintJob);
    const int pages = m_document ? PrintDigestReport(m_document->Record(), printer, m_font) : 0;
    if (pages == 0) {
        core::ui::ShowCannotPrint();
    }
    return pages;
}

void CDigView::printReport()
{
    QPrinter* printer = core::ui::AskForPrinter();
    if (printer == nullptr) {
        return;
    }
    if (LineCount() <= BackgroundLimits().printLines) {
        Print(*printer);
        return;
    }
    printer->setDocName(kPrintJob);
    std::shared_ptr<QPrinter> copy = CopyOfPrinter(*printer);
    auto output = std::make_shared<Output>();
    auto pages = std::make_shared<int>(0);
    m_output = output;
    output->future = core::ui::RunInBackground(
        this,
        [&record = m_document->Record(), copy, font = m_font, output, pages] {
            core::ui::ProgressPoster progress;
            *pages = PrintDigestReport(record, *copy, font, [&](int percent) {
                progress(percent);
                return !output->stop.load();
            });
        },
        [this, pages] {
            if (*pages == 0) {
                core::ui::ShowCannotPrint();
            }
            outputEnded();
        });
}

void CDigView::ApplyOptions(const DigestOptions& options)
{
    if (!ready()) {
        return;
    }
    core::PropertyRecord& record = m_document->Record();
    const std::string specificity = CombinedSpecificity(record.digest.selectedAgents);
    // The sequence may have grown since the window's digest: the new one is
    // counted from its sites before anything of the old one goes.
    const std::uint64_t count = PredictFragmentCount(record, specificity, options);
    const std::uint64_t ceiling = FragmentCeiling();
    if (count > ceiling) {
        core::ui::ShowMessage(ToQString(core::msg::TooManyFragments(count, ceiling)),
                              ToQString(core::msg::kError));
        return;
    }
    m_options = options;
    m_jobs->StartDigest(specificity, m_options, m_sortMode, m_completeOnly);
    m_document->AnalysesChanged();
    viewport()->update();
}

void CDigView::chooseOptions()
{
    if (!ready()) {
        return;
    }
    CDigestOptionsDialog dialog(m_options, this);
    if (dialog.exec() == QDialog::Accepted) {
        ApplyOptions(dialog.Options());
    }
}

bool CDigView::ExportCsv(const QString& path)
{
    if (!ready()) {
        return false;
    }
    const core::PropertyRecord& record = m_document->Record();
    const std::filesystem::path target(QFile::encodeName(path).toStdString());
    if (record.digest.fragments.size() <= BackgroundLimits().copyLines) {
        return reportExport(path,
                            core::WriteFileAtomically(target, [&](const core::ByteSink& sink) {
                                WriteDigestCsv(record, m_options.charges, sink);
                            }));
    }
    // Millions of rows (hundreds of megabytes) are written on a worker with
    // progress; closing the window stops them and leaves no file.
    struct Stopped
    {};
    auto output = std::make_shared<Output>();
    auto status = std::make_shared<std::optional<core::FileStatus>>();
    m_output = output;
    output->future = core::ui::RunInBackground(
        this,
        [&record, target, charges = m_options.charges, output, status] {
            core::ui::ProgressPoster progress;
            try {
                *status = core::WriteFileAtomically(target, [&](const core::ByteSink& sink) {
                    const auto stoppable = [&](std::string_view bytes) {
                        if (output->stop.load()) {
                            throw Stopped{};
                        }
                        sink(bytes);
                    };
                    WriteDigestCsv(record, charges, stoppable, std::ref(progress));
                });
            } catch (const Stopped&) {
            }
        },
        [this, path, status] {
            if (*status) {
                reportExport(path, **status);
            }
            outputEnded();
        });
    viewport()->update();
    return true;
}

void CDigView::exportCsv()
{
    if (!ready()) {
        return;
    }
    // Named as Save As names the sequence: after its file, or its title.
    const QString file = m_document->PathName();
    const QString base = file.isEmpty() ? m_document->Title() : QFileInfo(file).completeBaseName();
    const auto path =
        core::ui::AskFileToWrite(QStringLiteral("Export as CSV"),
                                 {QStringLiteral("CSV (*.csv)"), QStringLiteral("All (*.*)")},
                                 base + QStringLiteral(".csv"));
    if (path) {
        ExportCsv(*path);
    }
}

std::optional<core::ui::CommandState> CDigView::CommandStateOf(int id)
{
    switch (id) {
    case cmd::kSortByStart:
        return core::ui::CommandState{ready(), true, m_sortMode == SortMode::ByStart};
    case cmd::kSortByLength:
        return core::ui::CommandState{ready(), true, m_sortMode == SortMode::ByLength};
    case cmd::kSortByWeight:
        return core::ui::CommandState{
            ready(), true, m_sortMode != SortMode::ByStart && m_sortMode != SortMode::ByLength};
    case cmd::kCompleteDigest:
        return core::ui::CommandState{ready(), true, m_completeOnly};
    case cmd::kCopy:
    case cmd::kCopyAll:
    case cmd::kSelectAll:
    case cmd::kPrint:
    case cmd::kDigestOptions:
    case cmd::kExportDigestCsv:
        return core::ui::CommandState{ready()};
    default:
        return std::nullopt;
    }
}

bool CDigView::OnCommand(int id)
{
    switch (id) {
    case cmd::kSortByStart:
        setOrder(SortMode::ByStart, m_completeOnly);
        return true;
    case cmd::kSortByLength:
        setOrder(SortMode::ByLength, m_completeOnly);
        return true;
    case cmd::kSortByWeight:
        setOrder(SortMode::ByWeight, m_completeOnly);
        return true;
    case cmd::kCompleteDigest:
        setOrder(m_sortMode, !m_completeOnly);
        return true;
    case cmd::kSelectAll:
        SelectLines(0, LineCount() - 1);
        return true;
    case cmd::kCopyAll:
        SelectLines(0, LineCount() - 1);
        copySelection();
        return true;
    case cmd::kCopy:
        copySelection();
        return true;
    case cmd::kPrint:
        printReport();
        return true;
    case cmd::kDigestOptions:
        chooseOptions();
        return true;
    case cmd::kExportDigestCsv:
        exportCsv();
        return true;
    default:
        return false;
    }
}

} // namespace quorin::analysis::ui
