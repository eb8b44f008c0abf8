#pragma once

#include "core/ui/CommandTarget.h"

#include <QFont>
#include <QPointer>
#include <QScrollArea>
#include <QStringList>

class QPainter;
class QPrinter;

namespace quorin::core::ui {
class CPeptideDoc;
}

namespace quorin::analysis::ui {

/// The last motif search of the document as a page: the motifs and the list
/// of sites, by sequence position (at first) or motif by motif. The title and
/// the two headings are red; the headings and the column header are
/// underlined. Copy shows the report in CTempDialog; Print prints the page.
class CMotView : public QScrollArea, public core::ui::CommandTarget
{
    Q_OBJECT

public:
    explicit CMotView(core::ui::CPeptideDoc& document, QWidget* parent = nullptr);
    ~CMotView() override;

    /// The report as Copy shows it (lines end with CR LF).
    QString MotifReportText() const;
    bool ByPosition() const { return m_byPosition; }
    /// The report's lines as the page shows them, without line ends.
    const QStringList& PageLines() const { return m_lines; }

    /// Prints the page, "page N" over each sheet. The sheets printed.
    int Print(QPrinter& printer);

    /// Draws line index of lines with its top at y from x, in font.
    static void DrawLine(QPainter& painter, const QFont& font, const QStringList& lines, int index,
                         int x, int y);
    /// Fixed-pitch report font, 14 pixels scaled by scale.
    static QFont PageFont(double scale);

    /// The whole report: a window opens as large as this where it has room.
    QSize sizeHint() const override;

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

private:
    void setOrder(bool byPosition);
    void refresh();

    QPointer<core::ui::CPeptideDoc> m_document;
    bool m_byPosition = true;
    QWidget* m_canvas = nullptr;
    QStringList m_lines;
};

} // namespace quorin::analysis::ui
