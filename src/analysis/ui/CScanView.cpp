#include "analysis/ui/CScanView.h"

#include "core/CommandIds.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/CTempDialog.h"
#include "core/ui/Printing.h"
#include "core/ui/QtText.h"

#include <QFileInfo>
#include <QHeaderView>

namespace quorin::analysis::ui {
namespace {

namespace cmd = core::cmd;

enum Column
{
    kAccession,
    kId,
    kStart,
    kEnd,
    kMatch,
    kDescription,
};

} // namespace

CScanView::CScanView(core::ui::CPeptideDoc& document, std::shared_ptr<const PrositeLibrary> library,
                     QWidget* parent)
    : QTreeWidget(parent), m_document(&document), m_library(std::move(library))
{
    setObjectName(QStringLiteral("prositeScan"));
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAlternatingRowColors(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setHeaderLabels({QStringLiteral("Accession"), QStringLiteral("ID"), QStringLiteral("Start"),
                     QStringLiteral("End"), QStringLiteral("Match"),
                     QStringLiteral("Description")});
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item != nullptr) {
            emit stretchChosen(item->data(kStart, Qt::DisplayRole).toInt(),
                               item->data(kEnd, Qt::DisplayRole).toInt());
        }
    });
    connect(&document, &core::ui::CPeptideDoc::viewsNeedUpdate, this, &CScanView::rescan);
    rescan();
}

void CScanView::rescan()
{
    if (!m_document) {
        return;
    }
    m_residues = m_document->Record().CleanSequence();
    m_scan = ScanPrositeEntries(m_library->entries, m_residues);
    const QSignalBlocker quiet(this);
    clear();
    QList<QTreeWidgetItem*> rows;
    for (const PrositeEntryHits& hits : m_scan.hits) {
        const QString accession = core::ui::ToQString(hits.entry->accession);
        const QString id = core::ui::ToQString(hits.entry->id);
        const QString description = core::ui::ToQString(hits.entry->description);
        for (const PrositeMatch& match : hits.matches) {
            auto* row = new QTreeWidgetItem;
            row->setText(kAccession, accession);
            row->setText(kId, id);
            // Numbers as numbers, so that the columns sort by value.
            row->setData(kStart, Qt::DisplayRole, static_cast<int>(match.start + 1));
            row->setData(kEnd, Qt::DisplayRole, static_cast<int>(match.end));
            row->setText(
                kMatch,
                core::ui::ToQString(
                    std::string_view(m_residues).substr(match.start, match.end - match.start)));
            row->setText(kDescription, description);
            rows.push_back(row);
        }
    }
    addTopLevelItems(rows);
    for (int column = kAccession; column < kDescription; ++column) {
        resizeColumnToContents(column);
    }
    setWindowTitle(QStringLiteral("PROSITE patterns of %1 in %2")
                       .arg(QFileInfo(m_library->path).fileName(), m_document->Title()));
}

QString CScanView::ReportText() const
{
    if (!m_document) {
        return {};
    }
    return core::ui::ToQString(PrositeScanReport(m_scan, m_document->Record().Name(), m_residues));
}

QStringList CScanView::Refusals() const
{
    QStringList lines;
    for (const auto& [entry, message] : m_scan.refused) {
        lines << core::ui::ToQString(entry->accession + " " + entry->id + ": " + message);
    }
    return lines;
}

int CScanView::Print(QPrinter& printer)
{
    const std::string text = ReportText().toStdString();
    return core::ui::PrintTextPages(
        printer, std::nullopt, [&text](core::ui::TextPagePrinter& pages) {
            std::size_t from = 0;
            while (from < text.size()) {
                std::size_t end = text.find("\r\n", from);
                if (end == std::string::npos) {
                    end = text.size();
                }
                if (!pages.PrintLine(std::string_view(text).substr(from, end - from))) {
                    return;
                }
                from = end + 2;
            }
        });
}

std::vector<CScanView::Row> CScanView::SelectedRows() const
{
    std::vector<Row> rows;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = topLevelItem(i);
        if (item->isSelected()) {
            rows.push_back({item->text(kAccession), item->text(kId),
                            item->data(kStart, Qt::DisplayRole).toInt(),
                            item->data(kEnd, Qt::DisplayRole).toInt()});
        }
    }
    return rows;
}

std::optional<core::ui::CommandState> CScanView::CommandStateOf(int id)
{
    switch (id) {
    case cmd::kAddToSketch:
        return core::ui::CommandState{!selectedItems().isEmpty()};
    case cmd::kCopy:
    case cmd::kPrint:
        return core::ui::CommandState{};
    default:
        return std::nullopt;
    }
}

bool CScanView::OnCommand(int id)
{
    switch (id) {
    case cmd::kAddToSketch:
        emit addToSketch(SelectedRows());
        return true;
    case cmd::kCopy:
        core::ui::CopyReport(ReportText(), this);
        return true;
    case cmd::kPrint:
        core::ui::AskAndPrint(QStringLiteral("PROSITE scan"),
                              [this](QPrinter& printer) { return Print(printer); });
        return true;
    default:
        return false;
    }
}

} // namespace quorin::analysis::ui
