#include "shell/ui/FeatureWindow.h"

#include "core/CommandIds.h"
#include "core/MessageTexts.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "plots/Hydropathy.h"
#include "shell/CommandTable.h"
#include "shell/EnablingRules.h"
#include "shell/ui/CPepEditView.h"
#include "shell/ui/ChildFrame.h"
#include "shell/ui/WindowFactories.h"
#include "shell/ui/WindowHost.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>

#include <set>

namespace quorin::shell::ui {
namespace {

namespace cmd = core::cmd;

enum Column
{
    kKey,
    kStart,
    kEnd,
    kDescription,
    kColumns,
};

} // namespace

CFeatureView::CFeatureView(core::ui::CPeptideDoc& document, QWidget* parent)
    : QTableWidget(parent), m_features(document.Record().features),
      m_length(plots::PositionCount(document.Record()))
{
    using core::ui::ToQString;
    setObjectName(QStringLiteral("features"));
    setWindowTitle(QStringLiteral("Features of ") + ToQString(document.Record().Name()));
    setColumnCount(kColumns);
    setHorizontalHeaderLabels({QStringLiteral("Key"), QStringLiteral("Start"),
                               QStringLiteral("End"), QStringLiteral("Description")});
    setRowCount(static_cast<int>(m_features.size()));
    for (int row = 0; row < rowCount(); ++row) {
        const core::SequenceFeature& feature = m_features[static_cast<std::size_t>(row)];
        const QString texts[kColumns] = {ToQString(feature.key), ToQString(feature.start),
                                         ToQString(feature.end), ToQString(feature.description)};
        for (int column = 0; column < kColumns; ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            if (column == kStart || column == kEnd) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            setItem(row, column, item);
        }
    }
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setWordWrap(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    resizeColumnsToContents();
    horizontalHeader()->setStretchLastSection(true);
    connect(this, &QTableWidget::currentCellChanged, this, &CFeatureView::onRowChosen);
    connect(this, &QTableWidget::cellClicked, this, &CFeatureView::onRowChosen);
}

void CFeatureView::onRowChosen()
{
    const int row = currentRow();
    if (row < 0 || row >= static_cast<int>(m_features.size()) || m_length <= 0) {
        return;
    }
    const core::SequenceFeature& feature = m_features[static_cast<std::size_t>(row)];
    int first = core::FeatureBound(feature.start, 1, m_length);
    int last = core::FeatureBound(feature.end, m_length, m_length);
    if (first > last) {
        std::swap(first, last);
    }
    emit stretchChosen(first, last);
}

QString CFeatureView::CopiedText() const
{
    std::set<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        rows.insert(index.row());
    }
    std::vector<core::SequenceFeature> copied;
    for (std::size_t row = 0; row < m_features.size(); ++row) {
        if (rows.empty() || rows.contains(static_cast<int>(row))) {
            copied.push_back(m_features[row]);
        }
    }
    return core::ui::ToQString(core::FeatureTableText(copied));
}

std::optional<core::ui::CommandState> CFeatureView::CommandStateOf(int id)
{
    if (id == cmd::kCopy) {
        return core::ui::CommandState{!m_features.empty()};
    }
    return std::nullopt;
}

bool CFeatureView::OnCommand(int id)
{
    if (id != cmd::kCopy) {
        return false;
    }
    QApplication::clipboard()->setText(CopiedText());
    return true;
}

void LaunchFeatures(LaunchContext& context)
{
    ChildFrame* frame = context.host.OpenWindow(WindowKind::Features, context.document);
    if (frame == nullptr) {
        core::ui::ShowMessage(core::ui::ToQString(core::msg::kCouldNotCreateWindow),
                              core::ui::ToQString(core::msg::kError));
        return;
    }
    auto* view = qobject_cast<CFeatureView*>(frame->widget());
    if (view == nullptr) {
        return;
    }
    // The editor is looked up at each choice: it is the document's, whichever
    // frame holds it then.
    QObject::connect(view, &CFeatureView::stretchChosen, view,
                     [&host = context.host, document = &context.document](int first, int last) {
                         for (ChildFrame* candidate : host.Frames()) {
                             auto* editor = candidate->findChild<CPepEditView*>();
                             if (editor != nullptr && candidate->SequenceDocument() == document) {
                                 editor->SelectResidues(first, last);
                                 return;
                             }
                         }
                     });
}

void RegisterFeatureWindow()
{
    static constexpr HelpPage help[] = {{"FEATURES WINDOW", "features.html"}};
    static constexpr MenuItem edit[] = {kCopyItem};
    WindowKindInfo info{WindowKind::Features, "Features", DocumentFamily::Sequence, help};
    info.analyze = {{cmd::kFeatures, "List the features of the UniProt entry and select their "
                                     "stretches in the sequence"},
                    "Entry &Features...",
                    {},
                    [](const AnalyzeState& state, WindowKind) {
                        return state.hasFeatures && state.OpenOf(WindowKind::Features) == 0;
                    }};
    info.editMenu = edit;
    RegisterWindowKind(info, LaunchFeatures, ViewOn<CFeatureView>);
}

} // namespace quorin::shell::ui
