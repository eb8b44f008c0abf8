#include "shell/ui/SketchWindow.h"

#include "core/MessageTexts.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "plots/Hydropathy.h"
#include "plots/SketchPage.h"
#include "plots/ui/CSchemeDialog.h"
#include "plots/ui/CSchemeView.h"
#include "plots/ui/PlotDialogs.h"
#include "shell/ui/CMainFrame.h"
#include "shell/ui/ChildFrame.h"
#include "shell/ui/PlotWindows.h"

#include <QPointer>

namespace quorin::shell::ui {

using core::ui::ToQString;

void LaunchDomainSketch(LaunchContext& context)
{
    core::ui::CPeptideDoc& document = context.document;
    if (!document.Analyses().sketch.isNull()) {
        return;
    }
    core::PropertyRecord& record = document.Record();
    plots::StartDomainSketch(record);
    plots::ui::CSchemeDialog dialog(record.sketch.domains, record.sketch.scale,
                                    plots::PositionCount(record), &context.mainFrame);
    if (plots::ui::Choosers().run(dialog) != QDialog::Accepted) {
        return;
    }
    record.sketch.scale = dialog.Scale();
    ChildFrame* frame = context.mainFrame.OpenWindow(WindowKind::Sketch, document);
    if (frame == nullptr) {
        core::ui::ShowMessage(ToQString(core::msg::kCouldNotCreateWindow),
                              ToQString(core::msg::kError));
        return;
    }
    AdoptSketchFrame(*frame, document);
}

WindowContent MakeSketchWindow(core::ui::CPeptideDoc& document)
{
    core::ui::Application& app = core::ui::Application::Instance();
    auto* plot = new plots::ui::CSchemeDoc(document.Record(), app.Settings().plotLineWidth);
    QObject::connect(&app, &core::ui::Application::settingsChanged, plot,
                     [plot, &app] { plot->SetLineWidth(app.Settings().plotLineWidth); });
    auto* view = new plots::ui::CSchemeView(*plot);
    QObject::connect(&document, &core::ui::CPeptideDoc::viewsNeedUpdate, plot,
                     &plots::ui::PageDocument::Changed);
    return WindowContent{view, view, plot, nullptr};
}

void AdoptSketchFrame(ChildFrame& frame, core::ui::CPeptideDoc& document)
{
    // From now on the window's presence decides whether a save carries the sketch.
    document.SetSketchWithoutWindow(false);
    RegisterPlot(frame, document, document.Analyses().sketch);
}

} // namespace quorin::shell::ui
