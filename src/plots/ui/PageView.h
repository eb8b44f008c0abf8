#pragma once

#include "plots/ui/PageDocument.h"

#include <QAbstractScrollArea>
#include <QPoint>

class QAction;
class QActionGroup;
class QMimeData;
class QPrinter;

namespace quorin::plots::ui {

/// What every page view shares: the page drawn at its screen size in a
/// scrolled area, the editing mode, selecting, dragging, editing and deleting
/// marks and text items, Save Metafile, Print and Copy.
class PageView : public QAbstractScrollArea
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

    /// A point of the viewport in page units (the scroll position added).
    QPoint ToPage(QPoint viewportPoint) const;

    /// "Save Metafile...": asks for a file, asks before overwriting one, and
    /// writes the page as an enhanced metafile.
    void SaveMetafile();
    /// Writes the metafile without asking; false when nothing was written.
    bool WriteMetafile(const QString& path);
    /// "&Print...": the print dialog, then one sheet in the printer layout.
    void Print();
    /// Draws the printed page on printer (a PDF file or a real one).
    void PrintTo(QPrinter& printer);
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

    QSize sizeHint() const override;

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

private:
    void insertTextAt(QPoint page);
    void updateScrollBars();
    void updateCursor();
    QSize pageSize() const;

    PageDocument& m_document;
    Mode m_mode = Mode::Select;
    QActionGroup* m_modes;
    QAction* m_modeActions[3];
    int m_dragged = -1;
    QPoint m_grab;
    bool m_stretching = false;
};

} // namespace quorin::plots::ui
