#pragma once

#include "core/ui/CommandTarget.h"
#include "shell/EnablingRules.h"
#include "shell/WindowKinds.h"

#include <QPointer>

namespace quorin::core::ui {
class CPeptideDoc;
}

namespace quorin::shell::ui {

class WindowHost;

/// The snapshot the Analyze rules read: the document's registry of analyses
/// and which windows are open in the main window.
AnalyzeState AnalyzeStateOf(const WindowHost& host, const core::ui::CPeptideDoc& document);

/// The sequence document's stop on the command route of the editor and the
/// text-analysis windows: the Analyze commands (with their launchers and
/// rules) and Close, then the document's own commands (Save, Save As, Export).
class SequenceDocumentTarget : public core::ui::CommandTarget
{
public:
    SequenceDocumentTarget(WindowHost& host, core::ui::CPeptideDoc& document, WindowKind kind);

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

private:
    WindowHost& m_host;
    QPointer<core::ui::CPeptideDoc> m_document;
    WindowKind m_kind;
};

/// A plot document's stop on the command route: the Analyze commands go to
/// the sequence document's launchers (with the plot windows' rules) and the
/// plot redraws afterwards; Save, Save As and Export act on the sequence
/// document (a plot keeps no data of its own); Close closes the plot; the rest
/// goes to the plot document itself.
class PlotDocumentTarget : public core::ui::CommandTarget
{
public:
    PlotDocumentTarget(WindowHost& host, core::ui::CPeptideDoc& document, WindowKind kind,
                       QObject* plotDocument, core::ui::CommandTarget* plotTarget);

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

private:
    WindowHost& m_host;
    QPointer<core::ui::CPeptideDoc> m_document;
    WindowKind m_kind;
    QPointer<QObject> m_plotDocument;
    core::ui::CommandTarget* m_plotTarget = nullptr;
};

} // namespace quorin::shell::ui
