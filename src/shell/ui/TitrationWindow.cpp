#include "shell/ui/TitrationWindow.h"

#include "core/MessageTexts.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "plots/ui/CTitrationDialog.h"
#include "plots/ui/CTitrationView.h"
#include "plots/ui/PlotDialogs.h"
#include "shell/ui/CMainFrame.h"
#include "shell/ui/ChildFrame.h"

#include <QMdiArea>

namespace quorin::shell::ui {
namespace {

using analysis::PKaSet;

/// The set the next titration window takes: the launcher's choice, read by
/// the factory while the window is made.
PKaSet& pendingSet()
{
    static PKaSet set = PKaSet::Settings;
    return set;
}

/// The frame of the sequence's curve under set, if one is open.
ChildFrame* openCurve(CMainFrame& mainFrame, const core::ui::CPeptideDoc& document, PKaSet set)
{
    for (ChildFrame* frame : mainFrame.Frames()) {
        if (frame->Kind() != WindowKind::Titration || frame->SequenceDocument() != &document) {
            continue;
        }
        const auto* plot = qobject_cast<const plots::ui::CTitrationDoc*>(frame->PlotDocument());
        if (plot != nullptr && plot->Set() == set) {
            return frame;
        }
    }
    return nullptr;
}

} // namespace

void LaunchTitration(LaunchContext& context)
{
    plots::ui::CTitrationDialog dialog(PKaSet::Settings, &context.mainFrame);
    if (plots::ui::Choosers().run(dialog) != QDialog::Accepted) {
        return;
    }
    if (ChildFrame* open = openCurve(context.mainFrame, context.document, dialog.Set())) {
        context.mainFrame.Workspace()->setActiveSubWindow(open);
        return;
    }
    pendingSet() = dialog.Set();
    if (context.mainFrame.OpenWindow(WindowKind::Titration, context.document) == nullptr) {
        core::ui::ShowMessage(core::ui::ToQString(core::msg::kCouldNotCreateWindow),
                              core::ui::ToQString(core::msg::kError));
    }
}

WindowContent MakeTitrationWindow(core::ui::CPeptideDoc& document)
{
    core::ui::Application& app = core::ui::Application::Instance();
    auto* plot =
        new plots::ui::CTitrationDoc(document.Record(), pendingSet(), app.Settings().plotLineWidth);
    pendingSet() = PKaSet::Settings;
    QObject::connect(&app, &core::ui::Application::settingsChanged, plot,
                     [plot, &app] { plot->SetLineWidth(app.Settings().plotLineWidth); });
    auto* view = new plots::ui::CTitrationView(*plot);
    QObject::connect(&document, &core::ui::CPeptideDoc::viewsNeedUpdate, plot,
                     &plots::ui::PageDocument::Changed);
    return WindowContent{view, view, plot, nullptr};
}

} // namespace quorin::shell::ui
