#pragma once

#include "analysis/Digest.h"
#include "core/ui/CommandTarget.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QPointer>

#include <cstddef>
#include <memory>
#include <optional>
#include <utility>

class QPrinter;

namespace quorin::core::ui {
class CPeptideDoc;
}

namespace quorin::analysis::ui {

class DigestJobs;

/// The digest window: the report of the document's last digest as lines of
/// text in the output font at 8.5 points, "    Analysis in Process !" while
/// the digest is computed or re-sorted. A report may have ten million lines,
/// so the view draws only the lines in view, straight from the fragments;
/// selection, Copy, Copy All and Print still cover the whole text.
///
/// Lines are selected whole, with the mouse or the keyboard (arrows, pages,
/// Home, End; Shift extends). The View menu sorts the fragments by start,
/// length or weight and switches to the fragments of the complete digest.
/// Big re-sorts, copies and printouts run on a worker and post MSG_PROGRESS.
///
/// "Digest Options..." digests the sequence again with the window's own
/// options (kept fragments, masses, m/z columns), which the report's head then
/// names; "Export as CSV..." saves the fragments on show as WriteDigestCsv
/// writes them.
class CDigView : public QAbstractScrollArea, public core::ui::CommandTarget
{
    Q_OBJECT

public:
    /// The sizes above which work leaves the GUI thread.
    struct Limits
    {
        std::size_t sortFragments = 300'000; ///< re-sorts of more fragments
        std::size_t copyLines = 300'000;     ///< copies of more lines
        std::size_t printLines = 5'000;      ///< printouts of longer reports
    };
    static Limits BackgroundLimits();
    /// Tests move everything onto workers with zero limits.
    static void SetBackgroundLimits(const Limits& limits);

    static constexpr const char* kPlaceholder = "    Analysis in Process !";

    /// Marks the program's digest window as existing until the view goes.
    explicit CDigView(core::ui::CPeptideDoc& document, QWidget* parent = nullptr);
    /// Stops a copy or printout that is running and waits for it.
    ~CDigView() override;

    SortMode Order() const { return m_sortMode; }
    bool CompleteOnly() const { return m_completeOnly; }
    /// The options of the window's digest; none set at first.
    const DigestOptions& Options() const { return m_options; }
    /// Digests again with options (the report shows the placeholder until
    /// idle()); a digest beyond the machine's ceiling is refused with its
    /// message and the window keeps what it has. Ignored while Busy().
    void ApplyOptions(const DigestOptions& options);
    /// Writes the fragments on show, in their order, to path as WriteDigestCsv
    /// does with the options' charges, atomically; false with the message
    /// shown when it could not.
    bool ExportCsv(const QString& path);

    /// The report is not on show (being computed or re-sorted), or a copy or
    /// printout is running. The view's commands are disabled meanwhile.
    bool Busy() const;

    /// Lines on show: the report's, or the placeholder's one.
    std::size_t LineCount() const;
    QString LineText(std::size_t line) const;
    /// The first line in view.
    std::size_t TopLine() const;
    void ScrollToLine(std::size_t line);
    /// The line with the caret.
    std::size_t CursorLine() const { return m_cursor; }
    /// The selected lines, first and last (inclusive), when any.
    std::optional<std::pair<std::size_t, std::size_t>> Selection() const;
    /// Selects the lines from anchor to cursor (either order); the caret goes
    /// to cursor.
    void SelectLines(std::size_t anchor, std::size_t cursor);

    const QFont& TextFont() const { return m_font; }
    int LineHeight() const;

    /// The whole report: a window opens as large as this where it has room.
    /// A report still being made asks for all the height there is; a digest's
    /// is long.
    QSize sizeHint() const override;

    /// Prints the whole report here and now; returns the pages, 0 when the
    /// printer could not start (the message was shown).
    int Print(QPrinter& printer);

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

signals:
    /// The view is idle again: a report is on show after a digest or a
    /// rebuild, or a copy or printout ended.
    void idle();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct Output;

    bool ready() const;
    bool showsReport() const;
    void setOrder(SortMode sortMode, bool completeOnly);
    void onDigestBack(bool ok);
    void onDocumentUpdate();
    void measureWidth();
    void refreshGeometry();
    std::size_t visibleLines() const;
    std::size_t lineAt(int y) const;
    void moveCursorTo(std::size_t line, bool extend);
    void ensureVisible(std::size_t line);
    /// The lines selected, or the whole report when none are, on the
    /// clipboard.
    void copySelection();
    void printReport();
    void chooseOptions();
    void exportCsv();
    void outputEnded();

    QPointer<core::ui::CPeptideDoc> m_document;
    QPointer<DigestJobs> m_jobs;
    QFont m_font;
    SortMode m_sortMode = SortMode::ByWeight;
    bool m_completeOnly = false;
    DigestOptions m_options;
    std::size_t m_anchor = 0;
    std::size_t m_cursor = 0;
    bool m_hasSelection = false;
    int m_widestLine = 0; ///< characters
    bool m_updatePending = false;
    std::shared_ptr<Output> m_output;
};

} // namespace quorin::analysis::ui
