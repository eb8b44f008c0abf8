#include "shell/WindowKinds.h"

#include <array>
#include <cassert>

namespace quorin::shell {
namespace {

using enum WindowKind;
using enum DocumentFamily;

constexpr std::array kKinds = {
    WindowKindInfo{Empty, 200, 'E', "Quorin", 1, None, "QUORIN"},
    WindowKindInfo{SequenceEditor, 201, 'S', "Peptide Properties", 1, Sequence, "CONTENT"},
    WindowKindInfo{PhysChem, 202, 'P', "Physico-chemical Properties", 1, Sequence,
                   "PHYSICO-CHEMICAL PROPERTIES WINDOW"},
    WindowKindInfo{Digest, 203, 'D', "Sequence specific cleavage", 1, Sequence,
                   "SEQUENCE-SPECIFIC CLEAVAGE WINDOW"},
    WindowKindInfo{Wheel, 204, 'W', "Display of Helical Wheel", 5, Plot, "HELICAL WHEEL WINDOW"},
    WindowKindInfo{Hydropathy, 207, 'H', "Hydropathy Plot", 1, Plot, "HYDROPATHY PLOT"},
    WindowKindInfo{Motif, 210, 'M', "Motif Search", 1, Sequence, "Sequence Motif Search Window"},
    WindowKindInfo{Amphipathy, 211, 'A', "Plot of Amphipathy Moment", 1, Plot,
                   "AMPHYPATHIC HELICAL MOMENT PROPERTIES"},
    WindowKindInfo{Sketch, 213, 'K', "Sketch of Domain Structure", 1, Plot,
                   "DOMAIN STRUCTURE SKETCH"},
    WindowKindInfo{ModFinder, 218, 'F', "ModFinder", 1, Sequence,
                   "POSTTRANSLATIONAL MODIFICATIONS WINDOW"},
    // One curve per pK set and sequence.
    WindowKindInfo{Titration, 220, 'T', "Titration Curve", 4, Plot, "TITRATION CURVE"},
};

constexpr std::array kTemplates = {
    DocumentTemplate{201, SequenceEditor, "CPepDlg1View"},
    DocumentTemplate{201, SequenceEditor, "CPepDlg2View"},
    DocumentTemplate{201, SequenceEditor, "CPepEditView"},
    DocumentTemplate{202, PhysChem, "CPhysChemView"},
    DocumentTemplate{203, Digest, "CDigView"},
    DocumentTemplate{218, ModFinder, "CModView"},
    DocumentTemplate{210, Motif, "CMotView"},
    DocumentTemplate{204, Wheel, "CWheelView"},
    DocumentTemplate{207, Hydropathy, "CPathyView"},
    DocumentTemplate{213, Sketch, "CSchemeView"},
    DocumentTemplate{211, Amphipathy, "CAmphyView"},
    DocumentTemplate{220, Titration, "CTitrationView"},
};

} // namespace

std::span<const WindowKindInfo> AllWindowKinds()
{
    return kKinds;
}

const WindowKindInfo& InfoOf(WindowKind kind)
{
    for (const WindowKindInfo& info : kKinds) {
        if (info.kind == kind) {
            return info;
        }
    }
    assert(false && "every kind has a row");
    return kKinds.front();
}

std::span<const DocumentTemplate> DocumentTemplates()
{
    return kTemplates;
}

} // namespace quorin::shell
