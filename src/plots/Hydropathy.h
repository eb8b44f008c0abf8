#pragma once

#include "core/PropertyRecord.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::plots {

/// The range, window and threshold that a range dialog hands to the page
/// document it creates or modifies. A from of 0 means none was chosen: the
/// dialogs then propose their defaults.
struct PendingPlotRequest
{
    int from = 0;
    int to = 0;
    int window = 0;
    double threshold = 0.0;
    /// The hydropathy page also shows the predicted membrane topology.
    bool topology = false;
};

/// What Cancel of a range dialog leaves in its request: from at least 1, to at
/// most length and at least from.
void ClampPlotRequest(PendingPlotRequest& request, int length);

/// Positions of the plots are 1-based numbers into the cleaned sequence, X and
/// O included; this is the last valid one.
int PositionCount(const core::PropertyRecord& record);

/// Makes scale index current and copies its values into the record's current
/// hydropathy table. index must name an entry of the scale list.
void SelectScale(core::PropertyRecord& record, int index);

/// The name of the record's current scale; empty when there is none.
std::string CurrentScaleName(const core::PropertyRecord& record);

/// The current table's value of the residue at 1-based position.
double HydropathyAt(const core::PropertyRecord& record, int position);

/// The current table's value of every position, in order (element 0 is
/// position 1), for loops that read many windows.
std::vector<double> PositionValues(const core::PropertyRecord& record);

/// As PositionValues, read from table instead of the current one.
std::vector<double> PositionValues(const core::PropertyRecord& record,
                                   const core::ResidueTable& table);

/// WindowAverage over values from PositionValues.
double WindowAverageOf(const std::vector<double>& values, int centre, int window);

/// Mean of the current table over the window centred on centre (1-based),
/// summed in residue order. Valid for half + 1 <= centre <= count - half with
/// half = window / 2.
double WindowAverage(const core::PropertyRecord& record, int centre, int window);

/// The centres of a profile: first = max(from, half + 1), last = min(to,
/// count - half). first > last when no window fits (or window < 1).
struct ProfileSpan
{
    int first = 0;
    int last = -1;
    bool Empty() const { return first > last; }
};
ProfileSpan ProfileRange(const core::PropertyRecord& record, int from, int to, int window);

/// Smallest and largest window average over every valid centre of the whole
/// sequence (not only the displayed stretch); averages that are not finite
/// are left out. empty when no window fits.
struct ValueSpan
{
    double min = 0.0;
    double max = 0.0;
    bool empty = true;
};
ValueSpan ValueRange(const core::PropertyRecord& record, int window);

/// GRAVY: the mean of the current table over positions first..last (1-based,
/// inclusive); positions outside the sequence are left out, and an empty
/// range gives 0.
double MeanHydropathy(const core::PropertyRecord& record, int first, int last);

/// One predicted transmembrane helix: start is its first position, end is one
/// past its last.
struct Helix
{
    int start = 0;
    int end = 0;
    friend bool operator==(const Helix&, const Helix&) = default;
};

/// Transmembrane helices over the whole sequence with a 19-residue window: a
/// helix starts where the window mean exceeds threshold and grows residue by
/// residue until its mean falls to the threshold or the sequence ends. Returns
/// the count; appends each helix to helices when given.
int PredictHelices(const core::PropertyRecord& record, double threshold,
                   std::vector<Helix>* helices = nullptr);
/// The same over the values of PositionValues (element 0 is position 1).
int PredictHelices(std::span<const double> values, double threshold,
                   std::vector<Helix>* helices = nullptr);
/// The same with the running sums of the values given: prefixSums[i] is the
/// sum of the first i values added in position order (values.size() + 1
/// elements), and absoluteSum is at least the sum of their magnitudes. For a
/// caller that sums the values anyway.
int PredictHelices(std::span<const double> values, std::span<const double> prefixSums,
                   double absoluteSum, double threshold, std::vector<Helix>* helices = nullptr);

/// The fields of the hydropathy dialog as typed, and the result of its checks.
struct PathyDialogInput
{
    std::string from;
    std::string to;
    std::string window;
    std::string threshold;
};

enum class PathyField
{
    None, ///< all valid, or a failure that moves no focus
    From,
    To,
    Window,
    Threshold,
};

struct PathyDialogCheck
{
    bool ok = false;
    /// The field that gets the focus with its text selected; None for the
    /// limits message, which sets no focus.
    PathyField focus = PathyField::None;
    std::string message; ///< empty when ok
    int from = 0;
    int to = 0;
    int window = 0;
    double threshold = 0.0;
};

/// The checks of the hydropathy dialog's OK, in their order; the first failure
/// wins. length is the last valid position. Numbers that do not fit an int
/// count as the largest int.
PathyDialogCheck CheckPathyDialog(const PathyDialogInput& input, int length);

/// The checks of the helical wheel dialog's OK (and of the command line's
/// moment and wheel): from and to as digits, then 1 <= from < to <= length.
/// Only from, to, focus and message of the result are used.
PathyDialogCheck CheckWheelDialog(std::string_view from, std::string_view to, int length);

/// The threshold check alone (the helix command of the command line uses it).
PathyDialogCheck CheckThreshold(std::string_view threshold);

/// The text of "Export hydropathy data" for the displayed stretch of the
/// record's hydropathy plot settings and the current scale: a header, then one
/// line per profile centre with the delimiter between position and value.
/// Lines end with CR LF.
std::string HydropathyExportText(const core::PropertyRecord& record, int from, int to, int window,
                                 std::string_view delimiter);

/// The helix list of the command line: start, TAB, end per line, CR LF.
std::string HelixListText(const std::vector<Helix>& helices);

} // namespace quorin::plots
