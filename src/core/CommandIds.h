#pragma once

namespace quorin::core::cmd {

/// The numeric ids of the desktop program's commands. Every window, document
/// and menu uses these numbers; the texts, prompts and menus that go with them
/// are in shell/CommandTable.h. They live here, at the bottom of the layers,
/// because the views of every subsystem handle some of them (Copy, Print, F1).

// File
inline constexpr int kNew = 57600;
inline constexpr int kOpen = 57601;
inline constexpr int kClose = 57602;
inline constexpr int kSave = 57603;
inline constexpr int kSaveAs = 57604;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kPrint = 57607;
/// The recent-file entries 1..16; the program keeps four.
inline constexpr int kRecentFirst = 57616;
inline constexpr int kRecentLast = 57631;
inline constexpr int kExit = 57665;
inline constexpr int kImport = 105;
inline constexpr int kExport = 134;
inline constexpr int kDownload = 162;
inline constexpr int kBatch = 138;
inline constexpr int kTerminateBatch = 139;
inline constexpr int kSaveMetafile = 156;
inline constexpr int kExportHydropathy = 160;

// Edit
inline constexpr int kUndo = 57643;
inline constexpr int kRedo = 57644;
inline constexpr int kCut = 57635;
inline constexpr int kCopy = 57634;
inline constexpr int kPaste = 57637;
inline constexpr int kSelectAll = 57642;
inline constexpr int kCopyAll = 118;
inline constexpr int kSelectRange = 117;
inline constexpr int kGoTo = 108;

// Analyze
inline constexpr int kPhysChem = 107;
inline constexpr int kCleavage = 109;
inline constexpr int kModFinder = 159;
inline constexpr int kMotifs = 130;
inline constexpr int kHelicalWheel = 119;
inline constexpr int kHydropathy = 125;
inline constexpr int kAmphipathy = 135;
inline constexpr int kDomainSketch = 145;
inline constexpr int kTitration = 190;
inline constexpr int kPrositeScan = 193;
inline constexpr int kFeatures = 196;

// Options
inline constexpr int kPreferences = 168;

// Commands of single window kinds
inline constexpr int kSortByStart = 114;
inline constexpr int kSortByLength = 115;
inline constexpr int kSortByWeight = 116;
inline constexpr int kCompleteDigest = 157;
inline constexpr int kSortByPosition = 131;
inline constexpr int kSortByMotif = 132;
inline constexpr int kZoomIn = 120;
inline constexpr int kZoomOut = 121;
inline constexpr int kWheelColours = 122;
inline constexpr int kWheelRange = 123;
inline constexpr int kWheelAmphipathy = 124;
inline constexpr int kHydropathyRange = 126;
inline constexpr int kResizeTo100 = 127;
inline constexpr int kAmphipathyRange = 136;
/// "Copy &Table" and "&Modify pK set..." of the titration curve.
inline constexpr int kCopyTable = 191;
inline constexpr int kTitrationSet = 192;
/// "Add to Domain &Sketch" of the PROSITE scan.
inline constexpr int kAddToSketch = 194;
/// "&Numbers" in the wheel window, "&Label marks" in the hydropathy plot and the sketch.
inline constexpr int kNumbersOrLabels = 140;
inline constexpr int kMarkPositions = 141;
inline constexpr int kDeleteAllMarks = 142;
inline constexpr int kTransmembrane = 143;
inline constexpr int kModifySketch = 146;
inline constexpr int kSelectObject = 147;
inline constexpr int kInsertText = 148;
inline constexpr int kSelectionAsWheel = 149;
/// "&Delete" in the pages' context menus, "&Delete Domain" in the sketch.
inline constexpr int kDeleteSketchItem = 150;
inline constexpr int kDomainProperties = 151;
/// "&Text Properties..." and "&Mark Properties..." of the pages' context menus.
inline constexpr int kTextProperties = 152;
inline constexpr int kMarkProperties = 153;
inline constexpr int kAddDomain = 154;
inline constexpr int kBold = 163;
inline constexpr int kItalic = 164;
inline constexpr int kUnderline = 165;
/// The digest window's "Digest Options..." and "Export as CSV...".
inline constexpr int kDigestOptions = 180;
inline constexpr int kExportDigestCsv = 181;

// Window
inline constexpr int kCascade = 57650;
inline constexpr int kTile = 57651;
inline constexpr int kArrangeIcons = 57649;
/// The entries of the window list: kWindowFirst + 0 is the first open window.
inline constexpr int kWindowFirst = 0xFF00;
inline constexpr int kWindowLast = 0xFF08;

// Help
/// F1 everywhere: the active view's help topic, else the program's.
inline constexpr int kHelp = 57669;
inline constexpr int kHelpContents = 57666;
inline constexpr int kHelpUsing = 57667;
inline constexpr int kAbout = 104;

} // namespace quorin::core::cmd
