#include "shell/ui/DocumentTargets.h"

#include "analysis/ui/DigestJobs.h"
#include "core/CommandIds.h"
#include "core/ui/CPeptideDoc.h"
#include "shell/ui/Launchers.h"
#include "shell/ui/WindowHost.h"

namespace quorin::shell::ui {
namespace {

namespace cmd = core::cmd;

std::optional<core::ui::CommandState> analyzeState(int id, WindowKind kind, const WindowHost& host,
                                                   const core::ui::CPeptideDoc& document)
{
    if (FindLauncher(id) == nullptr) {
        return std::nullopt;
    }
    return core::ui::CommandState{AnalyzeCommandEnabled(id, kind, AnalyzeStateOf(host, document))};
}

void launch(int id, WindowHost& host, core::ui::CPeptideDoc& document)
{
    if (const Launcher* launcher = FindLauncher(id)) {
        LaunchContext context{host, document};
        (*launcher)(context);
    }
    document.UpdateAllViews();
}

} // namespace

AnalyzeState AnalyzeStateOf(const WindowHost& host, const core::ui::CPeptideDoc& document)
{
    const auto& analyses = document.Analyses();
    AnalyzeState state;
    state.residueLength = document.Record().ResidueLength();
    state.digestComputed = analyses.digestComputed;
    for (const WindowKindInfo& info : AllWindowKinds()) {
        state.windowsOpen[info.kind] = host.WindowCount(info.kind, &document);
    }
    state.hydropathyOpen = !analyses.hydropathy.isNull();
    state.amphipathyOpen = !analyses.amphipathy.isNull();
    state.sketchOpen = !analyses.sketch.isNull();
    state.digestViewExists = host.WindowCount(WindowKind::Digest) > 0;
    state.digestBusy = analysis::ui::DigestJobs::BusyFor(document);
    state.hasFeatures = !document.Record().features.empty();
    return state;
}

SequenceDocumentTarget::SequenceDocumentTarget(WindowHost& host, core::ui::CPeptideDoc& document,
                                               WindowKind kind)
    : m_host(host), m_document(&document), m_kind(kind)
{}

std::optional<core::ui::CommandState> SequenceDocumentTarget::CommandStateOf(int id)
{
    if (!m_document) {
        return std::nullopt;
    }
    if (IsAnalyzeCommand(id)) {
        return analyzeState(id, m_kind, m_host, *m_document);
    }
    if (id == cmd::kClose) {
        return core::ui::CommandState{};
    }
    return m_document->CommandStateOf(id);
}

bool SequenceDocumentTarget::OnCommand(int id)
{
    if (!m_document) {
        return false;
    }
    if (IsAnalyzeCommand(id)) {
        launch(id, m_host, *m_document);
        return true;
    }
    if (id == cmd::kClose) {
        m_host.CloseSequenceDocument();
        return true;
    }
    return m_document->OnCommand(id);
}

PlotDocumentTarget::PlotDocumentTarget(WindowHost& host, core::ui::CPeptideDoc& document,
                                       WindowKind kind, QObject* plotDocument,
                                       core::ui::CommandTarget* plotTarget)
    : m_host(host), m_document(&document), m_kind(kind), m_plotDocument(plotDocument),
      m_plotTarget(plotTarget)
{}

std::optional<core::ui::CommandState> PlotDocumentTarget::CommandStateOf(int id)
{
    if (!m_document) {
        return std::nullopt;
    }
    if (IsAnalyzeCommand(id)) {
        return analyzeState(id, m_kind, m_host, *m_document);
    }
    switch (id) {
    case cmd::kSave:
    case cmd::kSaveAs:
    case cmd::kExport:
    case cmd::kClose:
        return core::ui::CommandState{};
    default:
        break;
    }
    if (m_plotTarget != nullptr && m_plotDocument) {
        return m_plotTarget->CommandStateOf(id);
    }
    return std::nullopt;
}

bool PlotDocumentTarget::OnCommand(int id)
{
    if (!m_document) {
        return false;
    }
    if (IsAnalyzeCommand(id)) {
        launch(id, m_host, *m_document);
        m_host.RedrawWindowsOf(m_plotDocument.data());
        return true;
    }
    switch (id) {
    case cmd::kSave:
        m_document->DoFileSave();
        return true;
    case cmd::kSaveAs:
        m_document->DoSaveAs();
        return true;
    case cmd::kExport:
        m_document->ExportFasta();
        return true;
    case cmd::kClose:
        m_host.CloseWindowsOf(m_plotDocument.data());
        return true;
    default:
        break;
    }
    return m_plotTarget != nullptr && m_plotDocument && m_plotTarget->OnCommand(id);
}

} // namespace quorin::shell::ui
