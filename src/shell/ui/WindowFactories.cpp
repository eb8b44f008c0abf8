#include "shell/ui/WindowFactories.h"

#include "analysis/ui/CDigView.h"
#include "analysis/ui/CModView.h"
#include "analysis/ui/CMotView.h"
#include "analysis/ui/CPhysChemView.h"
#include "shell/ui/PlotWindows.h"
#include "shell/ui/SequenceEditorPanes.h"
#include "shell/ui/SketchWindow.h"
#include "shell/ui/TitrationWindow.h"
#include "shell/ui/WheelWindows.h"

#include <map>

namespace quorin::shell::ui {
namespace {

template <typename View>
WindowContent viewOn(core::ui::CPeptideDoc& document, const std::any&)
{
    auto* view = new View(document);
    return WindowContent{view, view, nullptr, nullptr};
}

/// The registered window kinds. A new analysis window adds its line here.
std::map<WindowKind, WindowFactory>& factories()
{
    static std::map<WindowKind, WindowFactory> table = {
        {WindowKind::SequenceEditor, viewOn<SequenceEditorPanes>},
        {WindowKind::PhysChem, viewOn<analysis::ui::CPhysChemView>},
        {WindowKind::Digest, viewOn<analysis::ui::CDigView>},
        {WindowKind::Motif, viewOn<analysis::ui::CMotView>},
        {WindowKind::ModFinder, viewOn<analysis::ui::CModView>},
        {WindowKind::Hydropathy, MakeHydropathyWindow},
        {WindowKind::Amphipathy, MakeAmphipathyWindow},
        {WindowKind::Wheel, MakeWheelWindow},
        {WindowKind::Sketch, MakeSketchWindow},
        {WindowKind::Titration, MakeTitrationWindow},
    };
    return table;
}

} // namespace

const WindowFactory* FindWindowFactory(WindowKind kind)
{
    const auto it = factories().find(kind);
    return it == factories().end() ? nullptr : &it->second;
}

void SetWindowFactory(WindowKind kind, WindowFactory factory)
{
    if (factory) {
        factories()[kind] = std::move(factory);
    } else {
        factories().erase(kind);
    }
}

} // namespace quorin::shell::ui
