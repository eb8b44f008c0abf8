#include "plots/ui/PageView.h"

#include "plots/PlotMessages.h"
#include "plots/ui/CMarkDialog.h"
#include "plots/ui/CTextDialog.h"
#include "plots/ui/EmfPaintDevice.h"
#include "plots/ui/PageFonts.h"
#include "plots/ui/PlotDialogs.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>

namespace quorin::plots::ui {

PageView::PageView(PageDocument& document, QWidget* parent)
    : QAbstractScrollArea(parent), m_document(document), m_modes(new QActionGroup(this)),
      m_modeActions{new QAction(QStringLiteral("&Select object"), this),
                    new QAction(QStringLiteral("&Insert text..."), this),
                    new QAction(QStringLiteral("Display selection as helical &wheel"), this)}
{
    for (int mode = 0; mode < 3; ++mode) {
        QAction* action = m_modeActions[mode];
        action->setCheckable(true);
        m_modes->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, mode] { SetEditMode(static_cast<Mode>(mode)); });
    }
    m_modeActions[0]->setChecked(true);
    viewport()->setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(&m_document, &PageDocument::changed, viewport(), [this] { viewport()->update(); });
    updateCursor();
    updateScrollBars();
}

void PageView::SetEditMode(Mode mode)
{
    m_mode = mode;
    m_modeActions[static_cast<int>(mode)]->setChecked(true);
    updateCursor();
}

QAction* PageView::ModeAction(Mode mode) const
{
    return m_modeActions[static_cast<int>(mode)];
}

QPoint PageView::ToPage(QPoint viewportPoint) const
{
    return viewportPoint + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

QSize PageView::pageSize() const
{
    return m_document.Source().screenSize;
}

QSize PageView::sizeHint() const
{
    return pageSize() + QSize(2 * frameWidth(), 2 * frameWidth());
}

void PageView::updateCursor()
{
    switch (m_mode) {
    case Mode::Select:
        viewport()->setCursor(Qt::ArrowCursor);
        break;
    case Mode::InsertText:
        viewport()->setCursor(Qt::IBeamCursor);
        break;
    case Mode::HelicalWheel:
        viewport()->setCursor(Qt::CrossCursor);
        break;
    }
}

void PageView::updateScrollBars()
{
    const QSize page = pageSize();
    const QSize shown = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, page.width() - shown.width()));
    verticalScrollBar()->setRange(0, std::max(0, page.height() - shown.height()));
    horizontalScrollBar()->setPageStep(shown.width());
    verticalScrollBar()->setPageStep(shown.height());
}

void PageView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void PageView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    const PageSource source = m_document.Source();
    source.draw(painter, source.layout(PageTarget::Screen, pageSize().width()));
}

void PageView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const QPoint page = ToPage(event->position().toPoint());
    PageItems& items = m_document.Items();
    items.ClearSelection();
    if (m_mode == Mode::InsertText) {
        m_document.Changed();
        insertTextAt(page);
        return;
    }
    const int text = m_document.TextItemAt(page);
    if (text >= 0) {
        items.SelectText(text);
        const core::TEXTITEM& item = m_document.Texts()[static_cast<std::size_t>(text)];
        m_dragged = text;
        m_grab = page - QPoint(item.x, item.y);
        viewport()->setCursor(Qt::SizeAllCursor);
    } else if (const int mark = m_document.MarkAt(page); mark >= 0) {
        items.SelectMark(mark);
    } else {
        m_stretching = StretchPress(page);
    }
    m_document.Changed();
}

void PageView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint page = ToPage(event->position().toPoint());
    if (m_dragged >= 0 && (event->buttons() & Qt::LeftButton)) {
        const QPoint at = page - m_grab;
        m_document.Items().MoveText(m_dragged, at.x(), at.y());
        m_document.Changed();
        return;
    }
    if (m_stretching) {
        StretchMove(page);
    }
}

void PageView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    if (m_dragged >= 0) {
        m_dragged = -1;
        updateCursor();
        return;
    }
    if (m_stretching) {
        m_stretching = false;
        StretchRelease(ToPage(event->position().toPoint()));
    }
}

void PageView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint page = ToPage(event->position().toPoint());
    if (const int text = m_document.TextItemAt(page); text >= 0) {
        EditTextItem(text);
    } else if (const int mark = m_document.MarkAt(page); mark >= 0) {
        EditMark(mark);
    }
}

void PageView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && m_document.Items().HasSelection()) {
        m_document.DeleteSelected();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

bool PageView::StretchPress(QPoint)
{
    return false;
}

void PageView::StretchMove(QPoint)
{}

void PageView::StretchRelease(QPoint)
{}

void PageView::insertTextAt(QPoint page)
{
    core::TEXTITEM item;
    item.font = DefaultPageFont();
    CTextDialog dialog(item, this);
    if (Choosers().run(dialog) != QDialog::Accepted) {
        return;
    }
    item.text = dialog.Text();
    item.font = dialog.Font();
    item.colour = dialog.Colour();
    item.x = page.x();
    item.y = page.y();
    m_document.Items().AddText(item);
    m_document.Changed();
}

void PageView::EditTextItem(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_document.Texts().size()) {
        return;
    }
    CTextDialog dialog(m_document.Texts()[static_cast<std::size_t>(index)], this);
    if (Choosers().run(dialog) != QDialog::Accepted) {
        return;
    }
    m_document.Items().EditText(index, dialog.Text(), dialog.Font(), dialog.Colour());
    m_document.Changed();
}

void PageView::AddMarkWithDialog()
{
    CMarkDialog dialog(NewMarkDefaults(m_document.Marks()), m_document.PositionCount(), this);
    if (Choosers().run(dialog) != QDialog::Accepted || !dialog.AddsMark()) {
        return;
    }
    m_document.Items().AddMark(dialog.Mark());
    m_document.Changed();
}

void PageView::EditMark(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_document.Marks().size()) {
        return;
    }
    CMarkDialog dialog(m_document.Marks()[static_cast<std::size_t>(index)],
                       m_document.PositionCount(), this);
    if (Choosers().run(dialog) != QDialog::Accepted) {
        return;
    }
    m_document.Items().ReplaceMark(index, dialog.Mark());
    m_document.Changed();
}

void PageView::SaveMetafile()
{
    const QString path =
        Choosers().saveFile(this, QStringLiteral("Save As Metafile"),
                            QStringLiteral("Enhanced Metafile (*.emf)"), QStringLiteral("*.emf"));
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo::exists(path) &&
        ShowPlotMessage(this, ToQString(kFileExists), ToQString(kNoteCaption),
                        MessageButtons::YesNo) != MessageAnswer::Yes) {
        return;
    }
    // Nothing is reported when the metafile cannot be written.
    WriteMetafile(path);
}

bool PageView::WriteMetafile(const QString& path)
{
    // The frame is the page at its screen size, not the window, so that a
    // small window does not cut the saved page.
    const QScreen* shown = screen();
    QSize pixels = NominalScreenPixels();
    QSize millimetres = NominalScreenMillimetres();
    if (shown != nullptr && shown->physicalSize().width() > 0) {
        pixels = shown->size();
        millimetres = shown->physicalSize().toSize();
    }
    const PageSource source = m_document.Source();
    EmfPaintDevice device(path, source.screenSize,
                          MetafileFrame(source.screenSize, pixels, millimetres),
                          QString::fromLatin1(kMetafileCreator), source.title);
    if (!device.isValid()) {
        return false;
    }
    {
        QPainter painter(&device);
        if (!painter.isActive()) {
            return false;
        }
        source.draw(painter, source.layout(PageTarget::Metafile, source.screenSize.width()));
    }
    return device.finish();
}

void PageView::Print()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (Choosers().run(dialog) == QDialog::Accepted) {
        PrintTo(printer);
    }
}

void PageView::PrintTo(QPrinter& printer)
{
    printer.setDocName(m_document.PrintJobName());
    QPainter painter;
    // A printer that cannot be opened ends the command without a message.
    if (!painter.begin(&printer)) {
        return;
    }
    const PageSource source = m_document.Source();
    source.draw(painter, source.layout(PageTarget::Printer, printer.width()));
    painter.end();
}

QMimeData* PageView::PageMimeData()
{
    const PageSource source = m_document.Source();
    auto* mime = new QMimeData;
    const QByteArray png = RenderPage(source, OutputFormat::Png, false);
    mime->setImageData(QImage::fromData(png, "PNG"));
    mime->setData(QStringLiteral("image/png"), png);
    mime->setData(QStringLiteral("image/svg+xml"), RenderPage(source, OutputFormat::Svg, false));
    const QByteArray emf = RenderPage(source, OutputFormat::Emf, false);
    if (!emf.isEmpty()) {
        mime->setData(QStringLiteral("image/x-emf"), emf);
    }
    return mime;
}

void PageView::Copy()
{
    QGuiApplication::clipboard()->setMimeData(PageMimeData());
}

} // namespace quorin::plots::ui
