#pragma once

#include "core/ui/CommandTarget.h"
#include "plots/ui/PageDocument.h"

#include <QAbstractScrollArea>
#include <QPoint>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QActionGroup;
class QMimeData;
class QPrinter;

namespace quorin::plots::ui {

/// What every page view shares: the page drawn at its screen size in a
/// scrolled area, the editing mode, selecting, dragging, editing and deleting
/// marks and text items, the context menus, Save Metafile, Print and Copy.
/// It is the first stop of the command route in its window and handles the
/// page commands itself (its context menus run them without the main window).
class PageView : public QAbstractScrollArea, public core::ui::CommandTarget
{
    Q_OBJECT

public:
    enum class Mode
    {
        Select = 0,
        InsertText = 1,
        HelicalWheel = 2,
    };

    explicit PageView(PageDocument& document, QWidget* parent = nullptr);

    PageDocument& Document() { return m_document; }

    Mode EditMode() const { return m_mode; }
    /// Changes the mode, its check mark and the cursor.
    void SetEditMode(Mode mode);
    /// The checkable mode commands: "&Select object", "&Insert text...",
    /// "Display selection as helical &wheel".
    QAction* ModeAction(Mode mode) const;

    /// A point of the viewport in page units (the scroll position added, the
    /// margin of a centred page taken off).
    QPoint ToPage(QPoint viewportPoint) const;
    /// Where a point of the page shows in the viewport.
    QPoint ToViewport(QPoint pagePoint) const;

    /// "Save Metafile...": asks for a file, asks before overwriting one, and
    /// writes the page as an enhanced metafile.
    void SaveMetafile();
    /// Writes the metafile without asking; false when nothing was written.
    bool WriteMetafile(const QString& path);
    /// "&Print...": the print dialog (core::ui::ChoosePrinter) on the
    /// program's printer, then one sheet in the printer layout.
    void Print();
    /// Draws the printed page on printer (a PDF file or a real one); false
    /// when the printer could not be opened.
    bool PrintTo(QPrinter& printer);
    /// "&Copy" / "&Copy All": the screen page on the clipboard as PNG, SVG and
    /// EMF.
    void Copy();
    /// The clipboard data of Copy; the caller owns it.
    QMimeData* PageMimeData();

    /// "&Mark positions...": the mark dialog for a new mark.
    void AddMarkWithDialog();
    /// The text dialog on a text item ("&Text Properties...", double click).
    void EditTextItem(int index);
    /// The mark dialog on a mark (double click).
    void EditMark(int index);

    /// One entry of a context menu: a command id and its text (0: separator).
    struct ContextEntry
    {
        int id = 0;
        QString text;
    };
    /// Selects the item under a page point and returns the context menu for
    /// it (a text item, a mark, or the page).
    std::vector<ContextEntry> ContextMenuAt(QPoint page);

    /// What the wheel mode needs from the program: how many helical wheels
    /// are open, and opening one for a stretch from..to.
    struct WheelHooks
    {
        std::function<int()> openWheels;
        std::function<void(int from, int to)> openWheel;
    };
    void SetWheelHooks(WheelHooks hooks) { m_wheels = std::move(hooks); }

    /// The last text the view put in the status bar.
    QString StatusText() const { return m_statusText; }

    QSize sizeHint() const override;

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    /// A press on no item; a page that selects stretches returns true and
    /// gets the moves and the release.
    virtual bool StretchPress(QPoint page);
    virtual void StretchMove(QPoint page);
    virtual void StretchRelease(QPoint page);
    /// The pointer moved over the page without a button (status bar).
    virtual void Hover(QPoint page);
    /// Called before each screen drawing, and before printing.
    virtual void BeforeDraw() {}
    virtual void BeforePrint() {}
    /// Draws what the view adds over the page (the rubber band), in page units.
    virtual void DrawOverlay(QPainter& painter);

    /// The page's context menus; the base gives the text-item and mark menus
    /// and an empty page menu.
    virtual std::vector<ContextEntry> PageContextMenu();

    /// The page's size on screen, in device units: the page's own size unless
    /// the view zooms it. The screen layout gets its width.
    virtual QSize ShownPageSize() const;
    /// To be called when ShownPageSize changed: scroll range and repaint.
    void ShownPageSizeChanged();
    /// A page smaller than the viewport sits in its middle rather than in its
    /// top-left corner.
    virtual bool CentresPage() const { return false; }
    /// A page's own items (the sketch's domains), tried after the text items
    /// and before the marks. Selecting one under a page point: true when one
    /// was there. Its double click: true when one was there. Its context menu,
    /// selecting it: empty when none is there.
    virtual bool SelectOwnItemAt(QPoint page);
    virtual bool EditOwnItemAt(QPoint page);
    virtual std::vector<ContextEntry> OwnItemMenuAt(QPoint page);

    /// Shows text in the main window's status bar.
    void ShowStatus(const QString& text);
    /// Whether this page has a stretch selection (and so the wheel mode).
    virtual bool SelectsStretches() const { return false; }

    /// Asks for five-wheel room and opens a wheel for from..to;
    /// refuses with the wheel-limit message when five are open.
    void OpenWheel(int from, int to);

private:
    void insertTextAt(QPoint page);
    void showContextMenu(QPoint viewportPoint);
    /// Redraws the new selection and hands the menu on.
    std::vector<ContextEntry> changedMenu(std::vector<ContextEntry> entries);
    void updateScrollBars();
    void updateCursor();
    QSize pageSize() const;
    /// The viewport point of the page's top-left corner before scrolling.
    QPoint pageOrigin() const;
    /// The viewport's size once the scroll bars the page needs are in place.
    QSize shownArea() const;

    PageDocument& m_document;
    Mode m_mode = Mode::Select;
    QActionGroup* m_modes;
    QAction* m_modeActions[3];
    int m_dragged = -1;
    QPoint m_grab;
    bool m_stretching = false;
    WheelHooks m_wheels;
    QString m_statusText;
};

} // namespace quorin::plots::ui
