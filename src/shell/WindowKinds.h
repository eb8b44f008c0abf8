#pragma once

#include <span>
#include <string_view>

namespace quorin::shell {

/// The kinds of window the main window shows. Each has its own menus and
/// accelerators; the menu bar follows the active one.
enum class WindowKind
{
    Empty,          ///< no document open: the main window's own menus
    SequenceEditor, ///< the sequence document's editor frame
    PhysChem,
    Digest,
    Wheel,
    Hydropathy,
    Motif,
    Amphipathy,
    Sketch,
    ModFinder,
    Titration,
};

/// Which document a window shows.
enum class DocumentFamily
{
    None,     ///< the empty frame
    Sequence, ///< a view on the sequence document (editor and text analyses)
    Plot,     ///< a plot document of its own, filled from the sequence document
};

struct WindowKindInfo
{
    WindowKind kind;
    int resourceId;             ///< selects menu and accelerator table
    char letter;                ///< the kind's letter in the menu tables (E S P D W H M A K F T)
    std::string_view title;     ///< the frame title until the view sets its own
    int atMost;                 ///< how many such windows may be open at once
    DocumentFamily family;      ///< what its document is
    std::string_view helpTopic; ///< the help keyword F1 opens in this window
};

/// Every kind, the empty frame first.
std::span<const WindowKindInfo> AllWindowKinds();
const WindowKindInfo& InfoOf(WindowKind kind);

/// One registered document template: the kind of its windows and the view
/// class it makes. The sequence editor has three, one per pane of its frame.
struct DocumentTemplate
{
    int resourceId;
    WindowKind kind;
    std::string_view viewClass;
};

/// The templates in registration order.
std::span<const DocumentTemplate> DocumentTemplates();

/// The fields of the sequence template's string: the file type the Open and
/// Save dialogs offer and the name new documents are numbered from.
inline constexpr std::string_view kDocumentName = "Quorin";
inline constexpr std::string_view kFileTypeText = "PEP Type (*.pep)";
inline constexpr std::string_view kFileExtension = ".pep";
inline constexpr std::string_view kRegistryFileType = "QuorinFileType";

} // namespace quorin::shell
