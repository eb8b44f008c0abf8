#include "plots/ui/PageView.h"

#include "core/CommandIds.h"
#include "core/MessageTexts.h"
#include "core/ui/Messages.h"
#include "core/ui/Printing.h"
#include "core/ui/QtText.h"
#include "plots/Hydropathy.h"
#include "plots/Wheel.h"
#include "plots/ui/CMarkDialog.h"
#include "plots/ui/CTextDialog.h"
#include "plots/ui/EmfPaintDevice.h"
#include "plots/ui/PlotDialogs.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QStatusTipEvent>

#include <memory>

namespace quorin::plots::ui {
namespace {

namespace cmd = core::cmd;
using core::ui::CommandState;
using core::ui::ToQString;

/// The program's own cursor of the wheel mode: a crosshair with a small
/// circle, so that it differs from the standard ones.
QCursor wheelCursor()
{
    QPixmap picture(24, 24);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawLine(12, 0, 12, 23);
        painter.drawLine(0, 12, 23, 12);
        painter.setPen(QPen(Qt::white, 3));
        painter.drawEllipse(QPointF(12, 12), 6, 6);
        painter.setPen(QPen(Qt::black, 1.5));
        painter.drawEllipse(QPointF(12, 12), 6, 6);
    }
    return QCursor(picture, 12, 12);
}

} // namespace

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
    return viewportPoint - pageOrigin() +
           QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

QPoint PageView::ToViewport(QPoint pagePoint) const
{
    return pagePoint + pageOrigin() -
           QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

QPoint PageView::pageOrigin() const
{
    if (!CentresPage()) {
        return {};
    }
    const QSize spare = shownArea() - pageSize();
    return QPoint(std::max(0, spare.width() / 2), std::max(0, spare.height() / 2));
}

QSize PageView::pageSize() const
{
    return ShownPageSize();
}

QSize PageView::ShownPageSize() const
{
    return m_document.Source().screenSize;
}

void PageView::ShownPageSizeChanged()
{
    updateScrollBars();
    updateGeometry();
    viewport()->update();
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
        viewport()->setCursor(wheelCursor());
        break;
    }
}

QSize PageView::shownArea() const
{
    const QSize page = pageSize();
    // A page that fits the whole area needs no scroll bars, even while they
    // still take room from the viewport.
    const QSize whole = maximumViewportSize();
    const bool fits = page.width() <= whole.width() && page.height() <= whole.height();
    return fits ? whole : viewport()->size();
}

void PageView::updateScrollBars()
{
    const QSize page = pageSize();
    const QSize shown = shownArea();
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
    BeforeDraw();
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    painter.translate(pageOrigin() -
                      QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()));
    const PageSource source = m_document.Source();
    source.draw(painter, source.layout(PageTarget::Screen, pageSize().width()));
    DrawOverlay(painter);
}

void PageView::DrawOverlay(QPainter&)
{}

void PageView::ShowStatus(const QString& text)
{
    m_statusText = text;
    // Climbs the parents to the main window's status bar.
    QStatusTipEvent tip(text);
    QApplication::sendEvent(this, &tip);
}

void PageView::mousePressEvent(QMouseEvent* event)
{
    const QPoint page = ToPage(event->position().toPoint());
    if (event->button() == Qt::RightButton) {
        showContextMenu(event->position().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    PageSelection& items = m_document.Selection();
    m_document.ClearSelection();
    if (m_mode == Mode::InsertText && m_document.CarriesItems()) {
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
    } else if (!SelectOwnItemAt(page)) {
        if (const int mark = m_document.MarkAt(page); mark >= 0) {
            items.SelectMark(mark);
        } else {
            m_stretching = StretchPress(page);
        }
    }
    m_document.Changed();
}

void PageView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint page = ToPage(event->position().toPoint());
    if (m_dragged >= 0 && (event->buttons() & Qt::LeftButton)) {
        const QPoint at = page - m_grab;
        m_document.Selection().MoveText(m_dragged, at.x(), at.y());
        m_document.Changed();
        return;
    }
    if (m_stretching) {
        StretchMove(page);
    } else {
        Hover(page);
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
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint page = ToPage(event->position().toPoint());
    if (const int text = m_document.TextItemAt(page); text >= 0) {
        m_dragged = -1;
        updateCursor();
        EditTextItem(text);
    } else if (EditOwnItemAt(page)) {
        return;
    } else if (const int mark = m_document.MarkAt(page); mark >= 0) {
        EditMark(mark);
    }
}

void PageView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && m_document.HasSelection()) {
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

void PageView::Hover(QPoint)
{}

void PageView::OpenWheel(int from, int to)
{
    const int open = m_wheels.openWheels ? m_wheels.openWheels() : 0;
    if (open >= kMaxWheels) {
        core::ui::ShowMessage(ToQString(core::msg::kWheelLimit), ToQString(core::msg::kNote),
                              core::ui::MessageIcon::Information);
        return;
    }
    if (m_wheels.openWheel) {
        m_wheels.openWheel(from, to);
    }
}

void PageView::insertTextAt(QPoint page)
{
    core::TEXTITEM item;
    item.font = core::ReportFontA();
    CTextDialog dialog(item, this);
    if (Choosers().run(dialog) != QDialog::Accepted) {
        return;
    }
    item.text = dialog.Text();
    item.font = dialog.Font();
    item.colour = dialog.Colour();
    item.x = page.x();
    item.y = page.y();
    m_document.Selection().AddText(item);
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
    m_document.Selection().EditText(index, dialog.Text(), dialog.Font(), dialog.Colour());
    m_document.Changed();
}

void PageView::AddMarkWithDialog()
{
    CMarkDialog dialog(NewMarkDefaults(m_document.Marks()), m_document.PositionCount(), this);
    if (Choosers().run(dialog) != QDialog::Accepted || !dialog.AddsMark()) {
        return;
    }
    m_document.Selection().AddMark(dialog.Mark());
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
    m_document.Selection().ReplaceMark(index, dialog.Mark());
    m_document.Changed();
}

// Context menus

std::vector<PageView::ContextEntry> PageView::ContextMenuAt(QPoint page)
{
    PageSelection& items = m_document.Selection();
    m_document.ClearSelection();
    const bool carries = m_document.CarriesItems();
    std::vector<ContextEntry> entries;
    if (const int text = carries ? m_document.TextItemAt(page) : -1; text >= 0) {
        items.SelectText(text);
        entries = {{cmd::kTextProperties, QStringLiteral("&Text Properties...")},
                   {cmd::kDeleteSketchItem, QStringLiteral("&Delete")},
                   {0, {}},
                   {cmd::kCopy, QStringLiteral("&Copy All")}};
        return changedMenu(std::move(entries));
    }
    // A page's own items come before the marks.
    entries = OwnItemMenuAt(page);
    if (!entries.empty()) {
        return changedMenu(std::move(entries));
    }
    if (const int mark = carries ? m_document.MarkAt(page) : -1; mark >= 0) {
        items.SelectMark(mark);
        entries = {{cmd::kMarkProperties, QStringLiteral("&Mark Properties...")},
                   {cmd::kDeleteSketchItem, QStringLiteral("&Delete")},
                   {cmd::kDeleteAllMarks, QStringLiteral("&Delete All Marks")},
                   {cmd::kNumbersOrLabels, QStringLiteral("&Label Marks")},
                   {0, {}},
                   {cmd::kCopy, QStringLiteral("&Copy All")}};
    } else {
        entries = PageContextMenu();
    }
    return changedMenu(std::move(entries));
}

std::vector<PageView::ContextEntry> PageView::changedMenu(std::vector<ContextEntry> entries)
{
    m_document.Changed();
    return entries;
}

std::vector<PageView::ContextEntry> PageView::PageContextMenu()
{
    return {{cmd::kCopy, QStringLiteral("&Copy All")}};
}

bool PageView::SelectOwnItemAt(QPoint)
{
    return false;
}

bool PageView::EditOwnItemAt(QPoint)
{
    return false;
}

std::vector<PageView::ContextEntry> PageView::OwnItemMenuAt(QPoint)
{
    return {};
}

void PageView::showContextMenu(QPoint viewportPoint)
{
    const std::vector<ContextEntry> entries = ContextMenuAt(ToPage(viewportPoint));
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("contextMenu"));
    for (const ContextEntry& entry : entries) {
        if (entry.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(entry.text);
        action->setData(entry.id);
        const auto state = CommandStateOf(entry.id);
        action->setEnabled(state && state->enabled);
        action->setCheckable(state && state->checkable);
        action->setChecked(state && state->checked);
    }
    const QAction* chosen = menu.exec(viewport()->mapToGlobal(viewportPoint));
    if (chosen != nullptr) {
        OnCommand(chosen->data().toInt());
    }
}

// Commands

std::optional<CommandState> PageView::CommandStateOf(int id)
{
    const bool items = m_document.CarriesItems();
    const PageSelection& selection = m_document.Selection();
    const auto mode = [this](Mode which) { return CommandState{true, true, m_mode == which}; };
    switch (id) {
    case cmd::kPrint:
    case cmd::kSaveMetafile:
    case cmd::kCopy:
        return CommandState{};
    case cmd::kSelectObject:
        return mode(Mode::Select);
    case cmd::kInsertText:
        return items ? std::optional(mode(Mode::InsertText)) : std::nullopt;
    case cmd::kSelectionAsWheel:
        return SelectsStretches() ? std::optional(mode(Mode::HelicalWheel)) : std::nullopt;
    default:
        break;
    }
    if (!items) {
        return std::nullopt;
    }
    const bool marks = !m_document.Marks().empty();
    switch (id) {
    case cmd::kMarkPositions:
        return CommandState{};
    case cmd::kDeleteAllMarks:
        return CommandState{marks};
    case cmd::kNumbersOrLabels:
        return CommandState{marks, true, m_document.LabelsMarks()};
    case cmd::kDeleteSketchItem:
        return CommandState{m_document.HasSelection()};
    case cmd::kTextProperties:
        return CommandState{selection.SelectedText() >= 0};
    case cmd::kMarkProperties:
        // The page edits a mark by a double click; the entry has no action.
        return CommandState{false};
    default:
        return std::nullopt;
    }
}

bool PageView::OnCommand(int id)
{
    switch (id) {
    case cmd::kPrint:
        Print();
        return true;
    case cmd::kSaveMetafile:
        SaveMetafile();
        return true;
    case cmd::kCopy:
        Copy();
        return true;
    case cmd::kSelectObject:
        SetEditMode(Mode::Select);
        return true;
    case cmd::kInsertText:
        SetEditMode(Mode::InsertText);
        return true;
    case cmd::kSelectionAsWheel:
        SetEditMode(Mode::HelicalWheel);
        return true;
    case cmd::kMarkPositions:
        AddMarkWithDialog();
        return true;
    case cmd::kDeleteAllMarks:
        m_document.DeleteAllMarks();
        return true;
    case cmd::kNumbersOrLabels:
        m_document.ToggleLabelMarks();
        return true;
    case cmd::kDeleteSketchItem:
        m_document.DeleteSelected();
        return true;
    case cmd::kTextProperties:
        EditTextItem(m_document.Selection().SelectedText());
        return true;
    default:
        return false;
    }
}

// Outputs

void PageView::SaveMetafile()
{
    const auto path =
        AskFileToWrite(QStringLiteral("Save As Metafile"),
                       {QStringLiteral("Enhanced Metafile (*.emf)")}, QStringLiteral("*.emf"));
    if (!path) {
        return;
    }
    if (!WriteMetafile(*path)) {
        core::ui::ShowMessage(
            ToQString(core::msg::CannotSaveFile(QDir::toNativeSeparators(*path).toStdString())),
            ToQString(core::msg::kProgramTitle));
    }
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
    QPrinter* printer = core::ui::AskForPrinter();
    if (printer == nullptr) {
        return;
    }
    BeforePrint();
    if (!PrintTo(*printer)) {
        core::ui::ShowCannotPrint();
    }
}

bool PageView::PrintTo(QPrinter& printer)
{
    printer.setDocName(m_document.PrintJobName());
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const PageSource source = m_document.Source();
    source.draw(painter, source.layout(PageTarget::Printer, printer.width()));
    return painter.end();
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
    QApplication::clipboard()->setMimeData(PageMimeData());
}

} // namespace quorin::plots::ui
