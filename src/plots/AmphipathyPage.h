#pragma once

#include "core/PropertyRecord.h"
#include "plots/ChartPage.h"
#include "plots/Hydropathy.h"
#include "plots/HydropathyPage.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorin::plots {

/// The amphipathy page has the hydropathy page's size and frame (and so its
/// screen, metafile and printer layouts).
inline constexpr int kAmphyPageWidth = kPathyPageWidth;
inline constexpr int kAmphyPageHeight = kPathyPageHeight;

/// The page title of metafile descriptions and print jobs.
inline constexpr std::string_view kAmphyPageTitle = "Amphypathy Plot";

/// The window a new amphipathy plot proposes.
inline constexpr int kDefaultAmphyWindow = 19;

/// What an open amphipathy plot shows. It lives with the plot window only: a
/// new plot asks for its stretch again.
struct AmphipathyPlot
{
    int from = 0; ///< displayed stretch, 1-based positions, both inclusive
    int to = 0;
    int window = 0;    ///< residues per moment, odd
    int lineWidth = 0; ///< the curve's pen, points ("Line Width")
};

/// The moment of every window of one length along the whole sequence: what a
/// drawing of any stretch needs, computed once per window, scale and sequence.
struct AmphipathyProfile
{
    int window = 0;
    int firstCentre = 1;         ///< the centre of moments[0]: window / 2 + 1
    std::vector<double> moments; ///< centres firstCentre .. positions - window / 2
    /// The vertical range before widening: from the first window's moment to
    /// it plus 0.01, widened by every window; empty when no window has a
    /// moment (the window is longer than the sequence or shorter than three
    /// residues).
    ValueSpan range;

    /// The moment centred on a position, kInvalidMoment outside the profile.
    double MomentAt(int centre) const;
};

AmphipathyProfile ComputeAmphipathyProfile(const core::PropertyRecord& record, int window);

/// The vertical axis for a profile's range: widened by an eighth of 1.6 times
/// its height either side, the step the round step nearest to TickStep of 1.6
/// times the height. An empty range
/// shows 0 to 1; a range too flat to resolve gets a height it can show.
VerticalAxis ComputeAmphipathyAxis(const ValueSpan& range);

/// A tick value with 4 significant digits; one-character texts get ".00"
/// appended and three-character texts "0" (1 is "1.00", 0.5 is "0.50").
std::string AmphipathyTickLabel(double value);

/// Residues between two ticks of the residue axis for count displayed
/// residues: count / 20 + 1 (from 100 on (count / 200 + 1) x 10, ...) in
/// integer arithmetic, rounded up to a round interval.
int AmphipathyTickInterval(int count);

/// The mean moment of the windows the curve of from..to (1-based, inclusive)
/// draws: those centred in the stretch that have a moment, whether or not
/// they reach past it. 0 when none has.
double MeanAmphipathyMoment(const AmphipathyProfile& profile, int from, int to);

/// The checks of the amphipathy dialog's OK: those of the hydropathy dialog
/// for stretch and window, in their order and with their messages.
PathyDialogCheck CheckAmphyDialog(std::string_view from, std::string_view to,
                                  std::string_view window, int length);

/// The amphipathy moment page of one sequence: its plot, the cached profile
/// and the drawing for every target.
class AmphipathyPage
{
public:
    explicit AmphipathyPage(const core::PropertyRecord& record);

    const core::PropertyRecord& Record() const { return m_record; }
    AmphipathyPlot& Plot() { return m_plot; }
    const AmphipathyPlot& Plot() const { return m_plot; }

    /// The profile of the current window, scale and sequence, computed again
    /// only when one of them changed since the last call.
    const AmphipathyProfile& Profile() const;
    /// How many times the profile was computed (for tests and benchmarks).
    int ProfileComputations() const { return m_computations; }

    /// The legend's mean (MeanAmphipathyMoment of the displayed stretch).
    double Mean() const;

    /// The page for a target. Draws nothing it cannot place: no curve where no
    /// window fits, and an axis of 0 to 1 when no window has a moment.
    PageDrawing Draw(const PageLayout& layout, const TextMeasure& measure) const;

    /// "Plot of Amphipathy Moment of Residues 1-26 of name" (printed).
    std::string Title() const;
    /// "Plot of Amphipathy Moment of residues 1-26 of name" (window caption).
    std::string Caption() const;

    /// The residue under a screen x, as on the hydropathy page.
    int ResidueAtX(int x) const;

private:
    struct ProfileKey
    {
        int window = 0;
        core::ResidueTable table{};
        std::string sequence;
        friend bool operator==(const ProfileKey&, const ProfileKey&) = default;
    };

    const core::PropertyRecord& m_record;
    AmphipathyPlot m_plot;
    // The profile is a cache of the record, not part of it: drawing may fill it.
    mutable bool m_valid = false;
    mutable ProfileKey m_key;
    mutable AmphipathyProfile m_profile;
    mutable int m_computations = 0;
};

} // namespace quorin::plots
