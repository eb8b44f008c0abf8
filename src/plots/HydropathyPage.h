#pragma once

#include "core/PropertyRecord.h"
#include "plots/ChartPage.h"
#include "plots/Hydropathy.h"
#include "plots/Page.h"

#include <string>
#include <vector>

namespace quorin::plots {

/// The hydropathy page in screen page units: 635 x 360, the chart frame at
/// (40, 90) with 590 x 200.
inline constexpr int kPathyPageWidth = 635;
inline constexpr int kPathyPageHeight = 360;
inline constexpr int kPathyFrameLeft = 40;
inline constexpr int kPathyFrameTop = 90;
inline constexpr int kPathyFrameWidth = 590;
inline constexpr int kPathyFrameHeight = 200;

/// The page title of metafile descriptions and print jobs.
inline constexpr std::string_view kPathyPageTitle = "Hydropathy Plot";

PageLayout HydropathyScreenLayout();
PageLayout HydropathyMetafileLayout();
/// The printed page: scale 0.8 x deviceWidth / 630, frame at (100, 225).
PageLayout HydropathyPrinterLayout(int deviceWidth);

/// The axis for a value range, widened for the legend and the bars. An empty range or one without
/// height gets a band of one unit either side of its value (0 when empty), so the axis always has a
/// span and a step greater than zero. The step is the round step (RoundStep) nearest to TickStep of
/// the widened span.
VerticalAxis ComputeVerticalAxis(const ValueSpan& range);

/// A tick value with 4 significant digits, ".0" appended to texts shorter than
/// three characters.
std::string TickLabel(double value);

/// Residues between two ticks of the residue axis for count displayed residues:
/// about one more than a twentieth of the count (a two-hundredth times 10 from
/// 100 on, ...), rounded up to a round interval (RoundResidueInterval).
int HorizontalTickInterval(int count);

/// The ticked residues: multiples of the interval from from on, before to.
std::vector<int> HorizontalTicks(int from, int to);

/// Everything about the displayed stretch that costs a pass over the
/// sequence: computed once per change of stretch, window, threshold, scale or
/// sequence, not once per drawing.
struct HydropathyProfile
{
    int from = 0;
    int to = 0;
    int window = 0;
    double threshold = 0.0;
    ProfileSpan span;
    std::vector<double> averages; ///< WindowAverage of span.first..span.last
    ValueSpan range;              ///< over the whole sequence
    double gravy = 0.0;           ///< MeanHydropathy(from, to)
    std::vector<Helix> helices;
};

HydropathyProfile ComputeHydropathyProfile(const core::PropertyRecord& record, int from, int to,
                                           int window, double threshold);

/// The colours of the topology band: Okabe and Ito's colour-blind-safe
/// palette (sky blue, orange, blue, bluish green), as COLORREF.
inline constexpr core::COLORREF kTopologyInsideColour = 0xE9B456;
inline constexpr core::COLORREF kTopologyOutsideColour = 0x009FE6;
inline constexpr core::COLORREF kTopologyHelixColour = 0xB27200;
inline constexpr core::COLORREF kTopologySignalColour = 0x739E00;

/// One piece of the topology band: a run of one label over the displayed
/// stretch, x from the first residue's position to the last one's, in page
/// units of the layout's frame.
struct TopologyBandPiece
{
    char label = 0; ///< i, o, H or S
    int firstResidue = 0;
    int lastResidue = 0;
    double x1 = 0.0;
    double x2 = 0.0;
    core::COLORREF colour = 0;
};

/// The band of the predicted topology over the stretch from..to (1-based,
/// inclusive) of labels (one a residue), on a frame of width frameWidth at
/// frameLeft: one piece per run of a label, clipped to the stretch. A piece
/// reaches half a residue beyond its end residues, so that neighbours meet.
std::vector<TopologyBandPiece> TopologyBand(std::string_view labels, int from, int to,
                                            double frameLeft, double frameWidth);

/// The four legend items a new plot starts with (black, the default font, at
/// x = 0 and y = 14, 35, 56, 72).
std::vector<core::TEXTITEM> LegendItems();

/// Starts the record's hydropathy plot, in the window and on the command line
/// alike: stretch, window and threshold from the request, the curve's line
/// width in points (the "Line Width" setting), mark labels and helix bars on,
/// the legend items as the only text items, and no mark selected. The marks
/// themselves stay.
void StartHydropathyPlot(core::PropertyRecord& record, const PendingPlotRequest& request,
                         int lineWidth);

/// Refreshes the text of every legend item from the profile and the current
/// scale, and moves it to the frame's left edge.
void RefreshLegend(core::PropertyRecord& record, const HydropathyProfile& profile);

/// Where a mark goes on the screen page, for hit tests.
struct MarkPlace
{
    int index = 0; ///< into the mark list
    DeviceRect arrow;
    DeviceRect label; ///< empty without label
};

/// The hydropathy page of one sequence document. Refresh brings what the
/// record keeps for the page (legend texts, text item extents) and the hit-test
/// places up to date after a change; drawing only reads them.
class HydropathyPage
{
public:
    explicit HydropathyPage(core::PropertyRecord& record);

    core::PropertyRecord& Record() { return m_record; }
    const core::PropertyRecord& Record() const { return m_record; }
    core::HydropathyPlotSettings& Settings() { return m_record.plots.pathy; }
    const core::HydropathyPlotSettings& Settings() const { return m_record.plots.pathy; }

    /// The profile of the current settings, recomputed only when an input
    /// changed since the last call.
    const HydropathyProfile& Profile() const;
    /// How many times the profile was computed (for tests and benchmarks).
    int ProfileComputations() const { return m_computations; }

    /// Whether the page shows the predicted membrane topology as a band at
    /// the top of the frame (and its key below the axis title). Off by
    /// default: the page is then as it always was.
    bool ShowsTopology() const { return m_showTopology; }
    void SetShowsTopology(bool show) { m_showTopology = show; }
    /// The predicted labels of the whole sequence (analysis::PredictTopology),
    /// computed when the sequence changed since the last call.
    const std::string& TopologyLabels() const;

    /// To be called whenever the plot settings, its marks or text items, the
    /// scale or the sequence changed: refreshes the legend items
    /// (RefreshLegend), stores each text item's extent on the screen page and
    /// the mark places for TextItemAt and MarkAt, all measured with measure.
    void Refresh(const TextMeasure& measure);

    /// The page for a target, from the record as the last Refresh left it.
    /// Never changes the record.
    PageDrawing Draw(const PageLayout& layout, const TextMeasure& measure) const;

    /// The printed title: "Hydropathy Plot of Residues 1-262 of name".
    std::string Title() const;
    /// The window caption: "Hydropathy Plot of residues 1-262 of name".
    std::string Caption() const;

    /// The topmost text item containing the screen point (the last in the list
    /// first), or -1.
    int TextItemAt(DevicePoint point) const;
    /// The mark whose arrow or label contains the screen point, or -1.
    int MarkAt(DevicePoint point) const;
    /// The residue under a screen x: x clamped to the frame, then
    /// trunc((x - 40) x (n - 1) / 590 + from + 0.5).
    int ResidueAtX(int x) const;

private:
    struct ProfileKey
    {
        int from = 0;
        int to = 0;
        int window = 0;
        double threshold = 0.0;
        core::ResidueTable table{};
        std::string sequence;
        friend bool operator==(const ProfileKey&, const ProfileKey&) = default;
    };

    ProfileKey currentKey() const;

    core::PropertyRecord& m_record;
    // The profile is a cache of the record, not part of it: drawing may fill it.
    mutable bool m_valid = false;
    mutable ProfileKey m_key;
    mutable HydropathyProfile m_profile;
    mutable int m_computations = 0;
    std::vector<MarkPlace> m_markPlaces;
    bool m_showTopology = false;
    mutable std::string m_topologySequence;
    mutable std::string m_topologyLabels;
    mutable bool m_topologyValid = false;
};

} // namespace quorin::plots
