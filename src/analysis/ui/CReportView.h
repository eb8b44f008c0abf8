#pragma once

#include "core/ui/CommandTarget.h"

#include <QFont>
#include <QPointer>
#include <QScrollArea>
#include <QStringList>

#include <string>
#include <vector>

class QPainter;
class QPrinter;

namespace quorin::core::ui {
class CPeptideDoc;
}

namespace quorin::analysis::ui {

/// What sets one report page apart from another; the rest of the page is
/// the same for every text report.
struct ReportPageStyle
{
    QString pageName; ///< the page widget's object name
    QString jobName;  ///< the print job's name
    QFont font;       ///< the page's font on screen; printed as core::ui::PrintingFont says
    int margin = 0;   ///< around the page on screen, pixels
    /// The title's row of "*" is drawn as two underlines below the title;
    /// else it is shown as text and the title is not underlined.
    bool titleUnderlined = false;
    /// Underlines begin below a line's first non-blank character; else at
    /// the page's left edge.
    bool underlineFromText = false;
    /// Text is centred in its row's height; else it stands on the row's top
    /// by the font's ascent (on paper the two differ by a fraction of a
    /// printer's pixel, and each window keeps its own).
    bool textCentred = false;
};

/// How the page draws one line of a report.
struct ReportLineLook
{
    bool shown = true; ///< false: a rule row that the page draws as the line above's underline
    bool red = false;
    int underlines = 0; ///< 0 to 2, at 1.25 and 1.4 line heights below the line's top
};

/// A text report of the document as a page: the lines of the report in the
/// style's font, the title red, each line above a row of "-" underlined (and
/// red unless it is a column header with "|"). Copy shows the report text in
/// CTempDialog; Print prints the page, "page N" over each sheet; the title
/// and its row of "*" wrap on a sheet too narrow for them (a title without
/// underlines is plain text on paper, and always wraps).
class CReportView : public QScrollArea, public core::ui::CommandTarget
{
    Q_OBJECT

public:
    ~CReportView() override;

    /// The report as Copy shows it (lines end with CR LF).
    QString ReportText() const;

    /// Prints the page; returns the sheets printed, 0 when the printer did
    /// not start (the message was shown).
    int Print(QPrinter& printer);

    /// The whole report: a window opens as large as this where it has room.
    QSize sizeHint() const override;

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

    /// How the page of style draws line index of lines.
    static ReportLineLook LookOf(const ReportPageStyle& style, const QStringList& lines, int index);

protected:
    CReportView(core::ui::CPeptideDoc& document, ReportPageStyle style, QWidget* parent);

    /// The report of the document (lines end with CR LF).
    virtual std::string MakeReport(const core::ui::CPeptideDoc& document) const = 0;

    /// Makes the page again from the report; a window calls it once it is
    /// made and whenever its report changes.
    void refresh();

private:
    class Page;

    /// Draws line index with its top at y, lineHeight high, in the
    /// painter's font.
    void drawLine(QPainter& painter, int index, int y, int lineHeight) const;

    QPointer<core::ui::CPeptideDoc> m_document;
    ReportPageStyle m_style;
    std::vector<std::string> m_lines; ///< as the report has them
    QStringList m_shown;              ///< as the page shows them
    Page* m_page = nullptr;
};

} // namespace quorin::analysis::ui
