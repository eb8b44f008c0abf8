#pragma once

#include "analysis/Prosite.h"
#include "core/ui/CommandTarget.h"

#include <QPointer>
#include <QTreeWidget>

#include <memory>
#include <string>
#include <vector>

class QPrinter;

namespace quorin::core::ui {
class CPeptideDoc;
}

namespace quorin::analysis::ui {

/// A PROSITE library as the scan window takes it: the file's name and its
/// pattern entries.
struct PrositeLibrary
{
    QString path;
    std::vector<PrositeEntry> entries;
};

/// The matches of a PROSITE library's patterns in the document's sequence,
/// one row per match: accession, id, description, start, end and the
/// matching residues. The scan is made again whenever the sequence changes,
/// so that the rows never name stretches of an older sequence. Choosing a row
/// asks for its stretch (stretchChosen), which the window's owner selects in
/// the sequence editor, and "Add to Domain Sketch" hands the selected rows to
/// the owner (addToSketch); Copy shows the report as `quorin-cli scan`
/// writes it, Print prints it.
class CScanView : public QTreeWidget, public core::ui::CommandTarget
{
    Q_OBJECT

public:
    CScanView(core::ui::CPeptideDoc& document, std::shared_ptr<const PrositeLibrary> library,
              QWidget* parent = nullptr);

    /// The report text (lines end with CR LF).
    QString ReportText() const;
    /// The entries whose pattern did not parse, as "AC ID: message".
    QStringList Refusals() const;
    /// Prints the report; the sheets printed, 0 when the printer did not start.
    int Print(QPrinter& printer);

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

    /// One match a row shows.
    struct Row
    {
        QString accession;
        QString id;
        int start = 0; ///< 1-based, inclusive
        int end = 0;
    };
    /// The selected rows, in the order shown.
    std::vector<Row> SelectedRows() const;

signals:
    /// Residues first..last (1-based, inclusive) of the row the user chose.
    void stretchChosen(int first, int last);
    /// "Add to Domain Sketch" with the selected rows.
    void addToSketch(const std::vector<quorin::analysis::ui::CScanView::Row>& rows);

private:
    void rescan();

    QPointer<core::ui::CPeptideDoc> m_document;
    std::shared_ptr<const PrositeLibrary> m_library;
    PrositeScan m_scan;
    std::string m_residues;
};

} // namespace quorin::analysis::ui
