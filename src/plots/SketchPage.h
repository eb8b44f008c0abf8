#pragma once

#include "core/PropertyRecord.h"
#include "plots/Page.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorin::plots {

/// The sketch's origin (the left end of residue 0, the top of the boxes) in
/// screen page units, and where the printer and the metafile put it.
inline constexpr int kSketchScreenLeft = 40;
inline constexpr int kSketchScreenTop = 90;
inline constexpr int kSketchPrintedLeft = 100;
inline constexpr int kSketchPrintedTop = 225;
/// The height of a domain box in page units.
inline constexpr int kDomainHeight = 20;
/// The smallest page, in screen page units; a wider sketch widens it.
inline constexpr int kSketchPageWidth = 635;
inline constexpr int kSketchPageHeight = 360;
/// Page units the whole sequence takes in a new sketch.
inline constexpr double kSketchDefaultWidth = 400.0;
/// Light grey, the colour of a new domain.
inline constexpr core::COLORREF kDefaultDomainColour = 0xC0C0C0;
/// Characters a domain name may have when typed.
inline constexpr int kDomainNameLength = 19;
/// Residue positions are stored in 16 bits.
inline constexpr int kLastStoredPosition = 0xFFFF;

/// The page title of metafile descriptions and print jobs.
inline constexpr std::string_view kSketchPageTitle = "Sketch of Domains";

PageLayout SketchScreenLayout();
/// The printed sheet: origin (100, 225), every page length multiplied by
/// trunc(0.8 x deviceWidth / 630), at least 1 so that a narrow device still
/// shows the sketch.
PageLayout SketchPrinterLayout(int deviceWidth);
/// The metafile: the printed origin at factor 1, so that the picture keeps
/// within the page size its frame is made from.
PageLayout SketchMetafileLayout();

/// Starts the sketch of a sequence, as opening the window from the Analyze
/// menu does: one grey domain over the whole sequence (1 to its length, at
/// most the last position a file stores), named after the sequence, in the
/// default font and without its name, and the scale that makes the whole
/// sequence 400 page units wide. An empty sequence gets no domain and scale 0.
/// Marks and text items stay.
void StartDomainSketch(core::PropertyRecord& record);

/// A domain added by the program rather than drawn in the domain dialog:
/// residues start..end (1-based, inclusive; the end cut to the last position
/// a file stores), the name cut to the dialog's length and shown in the
/// default font, black, over the fill.
core::DOMAINE ShownDomain(int start, int end, std::string name, core::COLORREF fill);

/// "Add predicted topology": the domains for the transmembrane helices
/// ("TM 1", "TM 2", ...) and the signal peptide ("Signal peptide") that the
/// trained topology model predicts for sequence (the cleaned sequence, whose
/// 1-based positions the domains use), in the topology band's colours, names
/// shown. A domain whose name the sketch has already, or that lies past the
/// positions a file stores, is left out, so that adding twice adds nothing.
std::vector<core::DOMAINE> PredictedTopologyDomains(std::string_view sequence,
                                                    const std::vector<core::DOMAINE>& existing);

/// Whether two sketches differ in what their user made: domains, marks, text
/// items, scale or the label flag. Selections, the measured extents of text
/// items and the line width (the drawing setting, copied in at every drawing)
/// change without the user changing the sketch, and do not count.
bool SameSketchContent(const core::SketchData& a, const core::SketchData& b);

/// The order the boxes are painted in: by decreasing length (end - start),
/// equal lengths in list order, so that shorter domains lie on top.
std::vector<int> DrawingOrder(const std::vector<core::DOMAINE>& domains);

/// The scale as the structure dialog shows it: 3 significant digits, in
/// positional notation (the field takes digits and "." only).
std::string ScaleText(double scale);

/// The scale field of the structure dialog: at most 9 characters are read;
/// anything but digits and "." is refused with the dialog's message. An empty
/// field gives 0.
struct ScaleCheck
{
    bool ok = false;
    double scale = 0.0;
    std::string message;
};
ScaleCheck CheckScaleText(std::string_view typed);

/// The field of the domain dialog a refusal points at.
enum class DomainField
{
    Name,
    Start,
    End,
};

/// The domain dialog's OK, checked in this order: an empty name is refused
/// without a message; a name another domain has (exactly; editing is the
/// index of the domain being edited, -1 for a new one) gets "Name already in
/// use!"; a start or end that is not a number of digits, or lies past
/// positionCount or past the 16 bits a file stores, gets the position message
/// (nothing wraps); then start must be smaller than end. At most 9 characters
/// of each position field are read.
struct DomainCheck
{
    bool ok = false;
    DomainField field = DomainField::Name;
    std::string message; ///< empty: refused silently
    std::uint16_t start = 0;
    std::uint16_t end = 0;
};
DomainCheck CheckDomain(std::string_view name, std::string_view start, std::string_view end,
                        const std::vector<core::DOMAINE>& domains, int editing, int positionCount);

/// The domain sketch of one sequence document: its domains, marks and text
/// items from the record's sketch block. Refresh brings the text item extents
/// and the hit-test places up to date after a change; drawing only reads them.
class SketchPage
{
public:
    explicit SketchPage(core::PropertyRecord& record);

    core::PropertyRecord& Record() { return m_record; }
    const core::PropertyRecord& Record() const { return m_record; }
    core::SketchData& Sketch() { return m_record.sketch; }
    const core::SketchData& Sketch() const { return m_record.sketch; }

    /// The selected domain (-1: none); the screen frames it.
    int SelectedDomain() const { return m_selectedDomain; }
    void SetSelectedDomain(int index);

    /// Stores each text item's extent on the screen page and the mark places
    /// for MarkAt, measured with measure.
    void Refresh(const TextMeasure& measure);

    /// The page for a target. Never changes the record.
    PageDrawing Draw(const PageLayout& layout, const TextMeasure& measure) const;

    /// The screen page: at least 635 x 360, wide enough for the longest
    /// domain on the printed layout's origin.
    int PageWidth() const;
    int PageHeight() const { return kSketchPageHeight; }

    /// "Sketch of domains of name": the window caption and the printed title.
    std::string Caption() const;

    /// Hit tests on the screen page, in the order a click tries them: the
    /// topmost text item (the last in the list first), the domain painted on
    /// top (borders included), the mark whose arrow or label holds the point.
    int TextItemAt(DevicePoint point) const;
    int DomainAt(DevicePoint point) const;
    int MarkAt(DevicePoint point) const;

private:
    struct MarkPlace
    {
        int index = 0;
        DeviceRect arrow;
        DeviceRect labelBox;
    };

    core::PropertyRecord& m_record;
    int m_selectedDomain = -1;
    std::vector<MarkPlace> m_markPlaces;
};

} // namespace quorin::plots
