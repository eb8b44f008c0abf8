#pragma once

#include "core/ui/CommandTarget.h"

#include <QPointer>
#include <QScrollArea>

#include <string>
#include <vector>

class QPainter;
class QPrinter;

namespace quorin::core::ui {
class CPeptideDoc;
}

namespace quorin::analysis::ui {

/// The ModFinder window: the report of the document's last ModFinder search
/// as a page in the system fixed font, the title and the section headings in
/// red and underlined (the title twice). "&Complete digest" keeps only the
/// matches on fragments without a missed cleavage; Copy shows the report
/// text in CTempDialog; Print prints the page with a "page N" header.
class CModView : public QScrollArea, public core::ui::CommandTarget
{
    Q_OBJECT

public:
    explicit CModView(core::ui::CPeptideDoc& document, QWidget* parent = nullptr);

    bool CompleteOnly() const { return m_completeOnly; }

    /// The report text that Copy shows (lines end with CR LF).
    std::string ReportText() const;

    /// Prints the page; returns the sheets printed, 0 when the printer did
    /// not start (the message was shown).
    int Print(QPrinter& printer);

    /// The whole report: a window opens as large as this where it has room.
    QSize sizeHint() const override;

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

    /// Draws line of the page at the top y, lineHeight high: rows of "*" and
    /// "-" become the underlines of the heading above them.
    static void DrawLine(QPainter& painter, const std::vector<std::string>& lines, std::size_t line,
                         int y, int lineHeight);

private:
    void refresh();

    QPointer<core::ui::CPeptideDoc> m_document;
    bool m_completeOnly = false;
    std::vector<std::string> m_lines;
    QWidget* m_canvas = nullptr;
};

} // namespace quorin::analysis::ui
