#include "shell/ui/CPepDlg2View.h"

#include "core/LogFont.h"
#include "core/ui/GdiTypes.h"
#include "shell/ui/CPepEditView.h"

#include <QPainter>

namespace quorin::shell::ui {
namespace {

constexpr int kLeft = 10;

} // namespace

QFont EditorArial(int weight)
{
    core::LOGFONT font;
    font.lfHeight = 15;
    font.lfWeight = weight;
    font.lfPitchAndFamily = 0x22; // variable pitch, Swiss
    font.SetFaceName("Arial");
    return core::ui::FontFromLogFont(font);
}

CPepDlg2View::CPepDlg2View(CPepEditView& editor, QWidget* parent)
    : QWidget(parent), m_editor(editor)
{
    setObjectName(QStringLiteral("CPepDlg2View"));
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(grey);
    setFont(EditorArial(400));
    connect(&editor, &CPepEditView::linesMoved, this, qOverload<>(&QWidget::update));
}

QSize CPepDlg2View::sizeHint() const
{
    // Room for six digits: more residues than any protein has.
    return {2 * kLeft + fontMetrics().horizontalAdvance(QStringLiteral("000000")), 50};
}

QList<CPepDlg2View::Label> CPepDlg2View::Labels() const
{
    // Each number sits on the baseline of its line of text.
    const QWidget* text = m_editor.viewport();
    const int dy = text->mapToGlobal(QPoint(0, 0)).y() - mapToGlobal(QPoint(0, 0)).y();
    QList<Label> labels;
    for (const CPepEditView::VisibleLine& line : m_editor.VisibleLines()) {
        labels.append({m_editor.Model().LineStartNumber(line.line), line.baseline + dy});
    }
    return labels;
}

void CPepDlg2View::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(Qt::black);
    m_firstLine = m_editor.FirstVisibleLine();
    for (const Label& label : Labels()) {
        painter.drawText(kLeft, label.baseline, QString::number(label.number));
    }
}

} // namespace quorin::shell::ui
