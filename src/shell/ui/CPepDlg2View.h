#pragma once

#include <QFont>
#include <QWidget>

namespace quorin::shell::ui {

class CPepEditView;

/// Arial with a cell height of 15 pixels: the editor's labels (weight 700)
/// and residue numbers (weight 400).
QFont EditorArial(int weight);

/// The column of residue numbers left of the editor's text: on light grey,
/// the number of the first residue of each line in view, level with its line
/// and kept in step when the text scrolls.
class CPepDlg2View : public QWidget
{
    Q_OBJECT

public:
    explicit CPepDlg2View(CPepEditView& editor, QWidget* parent = nullptr);

    /// The first line of the text in view when last painted; -1 before.
    int FirstLine() const { return m_firstLine; }

    /// A number as painted: the first residue of its line and the baseline,
    /// in this view's coordinates, of that line of text.
    struct Label
    {
        int number = 0;
        int baseline = 0;
    };
    /// The numbers of the lines in view, top to bottom; none past the last line.
    QList<Label> Labels() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CPepEditView& m_editor;
    int m_firstLine = -1;
};

} // namespace quorin::shell::ui
