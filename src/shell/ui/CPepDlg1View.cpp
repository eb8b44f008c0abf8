#include "shell/ui/CPepDlg1View.h"

#include "core/CommandIds.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/QtText.h"
#include "shell/ui/CPepDlg2View.h"
#include "shell/ui/CPepEditView.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>

#include <algorithm>
#include <utility>

namespace quorin::shell::ui {
namespace {

namespace cmd = core::cmd;

/// The form's dialog units in pixels.
constexpr double kUnitX = 1.75;
constexpr double kUnitY = 1.625;
/// Where the labels of the left column start, in pixels.
constexpr int kLabelLeft = 5;

QRect dialogRect(int x, int y, int width, int height)
{
    return QRect(qRound(x * kUnitX), qRound(y * kUnitY), qRound(width * kUnitX),
                 qRound(height * kUnitY));
}

/// Remarks are kept with CR LF line ends, as the sequence files hold them.
QString shownRemarks(const std::string& remarks)
{
    QString text = core::ui::ToQString(remarks);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string storedRemarks(QString text)
{
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return core::ui::ToStdString(text);
}

} // namespace

CPepDlg1View::CPepDlg1View(core::ui::CPeptideDoc& document, CPepEditView& editor, QWidget* parent)
    : QWidget(parent), m_document(&document), m_editor(editor)
{
    setObjectName(QStringLiteral("CPepDlg1View"));
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(grey);

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setGeometry(dialogRect(35, 2, 131, 12));
    m_length = new QLineEdit(this);
    m_length->setObjectName(QStringLiteral("length"));
    m_length->setGeometry(dialogRect(200, 2, 32, 12));
    m_length->setReadOnly(true);
    m_position = new QLineEdit(this);
    m_position->setObjectName(QStringLiteral("position"));
    m_position->setGeometry(dialogRect(170, 17, 62, 12));
    m_position->setReadOnly(true);
    m_remarks = new QPlainTextEdit(this);
    m_remarks->setObjectName(QStringLiteral("remarks"));
    m_remarks->setGeometry(dialogRect(35, 33, 314, 25));
    // The name and remarks start right of their labels, however wide the
    // face draws them; their right edges stay where the form puts them.
    const int labelEnd =
        kLabelLeft + QFontMetrics(EditorArial(700)).horizontalAdvance(QStringLiteral("Remarks:")) +
        4;
    for (QWidget* field : {static_cast<QWidget*>(m_name), static_cast<QWidget*>(m_remarks)}) {
        QRect place = field->geometry();
        place.setLeft(std::max(place.left(), labelEnd));
        field->setGeometry(place);
    }
    m_remarks->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_remarks->setTabChangesFocus(true);
    for (QWidget* field : {static_cast<QWidget*>(m_name), static_cast<QWidget*>(m_length),
                           static_cast<QWidget*>(m_position), static_cast<QWidget*>(m_remarks)}) {
        QPalette white = field->palette();
        white.setColor(QPalette::Base, Qt::white);
        field->setPalette(white);
    }
    setMinimumHeight(100);

    m_name->installEventFilter(this);
    connect(m_name, &QLineEdit::textEdited, this, &CPepDlg1View::onFieldEdited);
    connect(m_remarks, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_updating) {
            onFieldEdited();
        }
    });
    connect(&document, &core::ui::CPeptideDoc::viewsNeedUpdate, this, [this] {
        if (!m_notifying) {
            UpdateFields();
        }
    });
    connect(&editor, &CPepEditView::selectionTracked, this, &CPepDlg1View::UpdatePosition);
    UpdateFields();
}

void CPepDlg1View::UpdateFields()
{
    if (!m_document) {
        return;
    }
    const core::PropertyRecord& record = m_document->Record();
    const bool wasUpdating = std::exchange(m_updating, true);
    // A field is set only when it shows something else, so that the caret of
    // a field being edited stays where it is.
    const QString name = core::ui::ToQString(record.Name());
    if (m_name->text() != name) {
        m_name->setText(name);
        m_name->setCursorPosition(0);
    }
    const QString remarks = shownRemarks(record.remarks);
    if (m_remarks->toPlainText() != remarks) {
        m_remarks->setPlainText(remarks);
    }
    m_length->setText(QString::number(std::max(record.ResidueLength(), 0)));
    m_updating = wasUpdating;
    UpdatePosition();
}

void CPepDlg1View::UpdatePosition()
{
    m_position->setText(core::ui::ToQString(m_editor.Model().PositionText()));
}

void CPepDlg1View::onFieldEdited()
{
    if (!m_document) {
        return;
    }
    core::PropertyRecord& record = m_document->Record();
    const std::string name = core::ui::ToStdString(m_name->text());
    if (name != record.Name()) {
        record.SetName(name);
    }
    const std::string remarks = storedRemarks(m_remarks->toPlainText());
    if (remarks != record.remarks) {
        record.remarks = remarks;
    }
    m_document->SetModifiedFlag(true);
    // The fields already show what the user typed; the other views follow.
    const bool wasNotifying = std::exchange(m_notifying, true);
    m_document->UpdateAllViews();
    m_notifying = wasNotifying;
}

bool CPepDlg1View::eventFilter(QObject* watched, QEvent* event)
{
    // A name longer than its field shows its beginning whenever it is not
    // being edited; focus passing through it (the frame maximised) would
    // otherwise leave its end in view.
    if (watched == m_name && event->type() == QEvent::FocusOut) {
        m_name->setCursorPosition(0);
    }
    return QWidget::eventFilter(watched, event);
}

QWidget* CPepDlg1View::FocusedField() const
{
    if (m_name->hasFocus()) {
        return m_name;
    }
    if (m_remarks->hasFocus()) {
        return m_remarks;
    }
    return nullptr;
}

std::optional<core::ui::CommandState> CPepDlg1View::CommandStateOf(int id)
{
    switch (id) {
    case cmd::kCut:
    case cmd::kCopy:
        return core::ui::CommandState{FocusedField() != nullptr};
    case cmd::kPaste: {
        const QMimeData* clipboard = QApplication::clipboard()->mimeData();
        return core::ui::CommandState{FocusedField() != nullptr && clipboard != nullptr &&
                                      clipboard->hasText()};
    }
    default:
        return std::nullopt;
    }
}

bool CPepDlg1View::OnCommand(int id)
{
    QWidget* field = FocusedField();
    auto* line = qobject_cast<QLineEdit*>(field);
    auto* text = qobject_cast<QPlainTextEdit*>(field);
    if (line == nullptr && text == nullptr) {
        return id == cmd::kCut || id == cmd::kCopy || id == cmd::kPaste;
    }
    switch (id) {
    case cmd::kCut:
        line ? line->cut() : text->cut();
        return true;
    case cmd::kCopy:
        line ? line->copy() : text->copy();
        return true;
    case cmd::kPaste:
        line ? line->paste() : text->paste();
        return true;
    default:
        return false;
    }
}

void CPepDlg1View::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setFont(EditorArial(700));
    painter.setPen(Qt::black);
    const int ascent = painter.fontMetrics().ascent();
    const std::pair<QPoint, QString> labels[] = {
        {{kLabelLeft, 6}, QStringLiteral("Name:")},
        {{kLabelLeft, 54}, QStringLiteral("Remarks:")},
        {{295, 6}, QStringLiteral("Length:")},
        {{230, 30}, QStringLiteral("Position:")},
    };
    for (const auto& [at, text] : labels) {
        painter.drawText(at.x(), at.y() + ascent, text);
    }
}

} // namespace quorin::shell::ui
