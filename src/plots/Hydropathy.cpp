#include "plots/Hydropathy.h"

#include "core/MessageTexts.h"
#include "core/NumberText.h"
#include "core/SequenceText.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace quorin::plots {
namespace {

/// The edit boxes hand over at most this many characters.
constexpr std::size_t kShortField = 9;
constexpr std::size_t kLongField = 28;

/// The helix window is fixed by the method, not by the plot.
constexpr int kHelixWindow = 19;

/// True when every character is a digit; an empty field passes (it reads as 0
/// and fails at the range checks).
bool digitsOnly(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool thresholdCharactersOnly(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

std::string_view field(std::string_view text, std::size_t limit)
{
    return text.substr(0, limit);
}

PathyDialogCheck failure(PathyField focus, std::string_view message)
{
    PathyDialogCheck check;
    check.focus = focus;
    check.message = message;
    return check;
}

} // namespace

void ClampPlotRequest(PendingPlotRequest& request, int length)
{
    request.from = std::max(request.from, 1);
    request.to = std::min(request.to, length);
    request.to = std::max(request.to, request.from);
}

int PositionCount(const core::PropertyRecord& record)
{
    return static_cast<int>(record.CleanSequence().size());
}

std::string CurrentScaleName(const core::PropertyRecord& record)
{
    const auto index = static_cast<std::size_t>(record.plots.currentScale);
    return index < record.scales.size() ? record.scales[index].name : std::string();
}

void SelectScale(core::PropertyRecord& record, int index)
{
    record.plots.currentScale = index;
    record.plots.hydropathy = record.scales[static_cast<std::size_t>(index)].values;
}

double HydropathyAt(const core::PropertyRecord& record, int position)
{
    const char letter = record.CleanSequence()[static_cast<std::size_t>(position - 1)];
    return record.plots.hydropathy[static_cast<std::size_t>(core::IndexOfLetter(letter))];
}

std::vector<double> PositionValues(const core::PropertyRecord& record)
{
    return PositionValues(record, record.plots.hydropathy);
}

std::vector<double> PositionValues(const core::PropertyRecord& record,
                                   const core::ResidueTable& table)
{
    std::vector<double> values;
    values.reserve(record.CleanSequence().size());
    for (const char letter : record.CleanSequence()) {
        values.push_back(table[static_cast<std::size_t>(core::IndexOfLetter(letter))]);
    }
    return values;
}

double WindowAverageOf(const std::vector<double>& values, int centre, int window)
{
    const int half = window / 2;
    double sum = 0.0;
    for (int p = centre - half; p <= centre + half; ++p) {
        sum += values[static_cast<std::size_t>(p - 1)];
    }
    return sum / static_cast<double>(window);
}

double WindowAverage(const core::PropertyRecord& record, int centre, int window)
{
    const int half = window / 2;
    double sum = 0.0;
    for (int p = centre - half; p <= centre + half; ++p) {
        sum += HydropathyAt(record, p);
    }
    return sum / static_cast<double>(window);
}

ProfileSpan ProfileRange(const core::PropertyRecord& record, int from, int to, int window)
{
    if (window < 1) {
        return ProfileSpan{};
    }
    const int half = window / 2;
    return ProfileSpan{std::max(from, half + 1), std::min(to, PositionCount(record) - half)};
}

ValueSpan ValueRange(const core::PropertyRecord& record, int window)
{
    const std::vector<double> values = PositionValues(record);
    const ProfileSpan all = ProfileRange(record, 1, PositionCount(record), window);
    ValueSpan span;
    for (int centre = all.first; centre <= all.last; ++centre) {
        const double average = WindowAverageOf(values, centre, window);
        if (!std::isfinite(average)) {
            continue;
        }
        if (span.empty) {
            span = ValueSpan{average, average, false};
        } else {
            span.min = std::min(span.min, average);
            span.max = std::max(span.max, average);
        }
    }
    return span;
}

double MeanHydropathy(const core::PropertyRecord& record, int first, int last)
{
    // A stretch that outlived a shortened sequence reads only what is left.
    first = std::max(first, 1);
    last = std::min(last, PositionCount(record));
    if (last < first) {
        return 0.0;
    }
    double sum = 0.0;
    for (int p = first; p <= last; ++p) {
        sum += HydropathyAt(record, p);
    }
    return sum / static_cast<double>(last - first + 1);
}

int PredictHelices(const core::PropertyRecord& record, double threshold,
                   std::vector<Helix>* helices)
{
    return PredictHelices(PositionValues(record), threshold, helices);
}

int PredictHelices(std::span<const double> values, double threshold, std::vector<Helix>* helices)
{
    std::vector<double> running(values.size() + 1, 0.0);
    double absoluteSum = 0.0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        running[i + 1] = running[i] + values[i];
        absoluteSum += std::fabs(values[i]);
    }
    return PredictHelices(values, running, absoluteSum, threshold, helices);
}

int PredictHelices(std::span<const double> values, std::span<const double> prefixSums,
                   double absoluteSum, double threshold, std::vector<Helix>* helices)
{
    const auto at = [&values](int position) {
        return values[static_cast<std::size_t>(position - 1)];
    };
    const auto length = static_cast<int>(values.size());
    // Running sums screen the windows: the window sum they give differs from
    // the one summed in residue order by less than tolerance, so only windows
    // that close to the threshold are summed again, and the decisions are
    // those of summing every window.
    const double magnitude = std::fabs(kHelixWindow * threshold) + absoluteSum;
    const double tolerance =
        8.0 * (length + kHelixWindow) * std::numeric_limits<double>::epsilon() * magnitude;
    const double screen = kHelixWindow * threshold - tolerance;
    const auto quick = [&prefixSums](int start) {
        return prefixSums[static_cast<std::size_t>(start - 1 + kHelixWindow)] -
               prefixSums[static_cast<std::size_t>(start - 1)];
    };
    int lastEnd = 0;
    int count = 0;
    // The last start tested is length - 20, so a helix never starts in the
    // last twenty residues.
    for (int start = 1; start <= length - 20; ++start) {
        if (start <= lastEnd) {
            continue;
        }
        if (quick(start) < screen) {
            continue;
        }
        double sum = 0.0;
        for (int p = start; p < start + kHelixWindow; ++p) {
            sum += at(p);
        }
        if (sum <= kHelixWindow * threshold) {
            continue;
        }
        int n = kHelixWindow;
        int next = start + kHelixWindow;
        while (sum > n * threshold && next <= length) {
            sum += at(next);
            ++next;
            ++n;
        }
        lastEnd = next;
        ++count;
        if (helices != nullptr) {
            helices->push_back(Helix{start, next});
        }
    }
    return count;
}

PathyDialogCheck CheckThreshold(std::string_view threshold)
{
    const std::string_view typed = threshold.substr(0, kShortField);
    const double value = core::ParseLeadingDouble(typed);
    if (!thresholdCharactersOnly(typed) || value < 0.0) {
        return failure(PathyField::Threshold, core::msg::kInvalidThreshold);
    }
    PathyDialogCheck check;
    check.ok = true;
    check.threshold = value;
    return check;
}

PathyDialogCheck CheckPathyDialog(const PathyDialogInput& input, int length)
{
    const std::string_view from = field(input.from, kShortField);
    if (!digitsOnly(from)) {
        return failure(PathyField::From, core::msg::kInvalidStart);
    }
    const std::string_view to = field(input.to, kLongField);
    if (!digitsOnly(to)) {
        return failure(PathyField::To, core::msg::kInvalidEnd);
    }
    const int fromValue = core::ParseLeadingInt(from);
    const int toValue = core::ParseLeadingInt(to);
    if (fromValue < 1 || toValue > length || toValue <= fromValue) {
        return failure(PathyField::None, core::msg::kOutsideLimits);
    }
    const std::string_view window = field(input.window, kLongField);
    if (!digitsOnly(window)) {
        return failure(PathyField::Window, core::msg::kInvalidWindow);
    }
    const int windowValue = core::ParseLeadingInt(window);
    if (windowValue % 2 != 1 || windowValue < 0) {
        return failure(PathyField::Window, core::msg::kWindowOutsideLimits);
    }
    PathyDialogCheck check = CheckThreshold(input.threshold);
    if (!check.ok) {
        return check;
    }
    check.from = fromValue;
    check.to = toValue;
    check.window = windowValue;
    return check;
}

PathyDialogCheck CheckWheelDialog(std::string_view from, std::string_view to, int length)
{
    const std::string_view fromField = field(from, kShortField);
    if (!digitsOnly(fromField)) {
        return failure(PathyField::From, core::msg::kInvalidStart);
    }
    const std::string_view toField = field(to, kLongField);
    if (!digitsOnly(toField)) {
        return failure(PathyField::To, core::msg::kInvalidEnd);
    }
    PathyDialogCheck check;
    check.from = core::ParseLeadingInt(fromField);
    check.to = core::ParseLeadingInt(toField);
    if (check.from < 1 || check.to > length || check.to <= check.from) {
        return failure(PathyField::None, core::msg::kWheelOutsideLimits);
    }
    check.ok = true;
    return check;
}

std::string HydropathyExportText(const core::PropertyRecord& record, int from, int to, int window,
                                 std::string_view delimiter)
{
    std::string text = "Hydropathyplot of " + core::OneLineText(record.Name()) + "\r\n\r\n";
    text +=
        "Scale:  " + CurrentScaleName(record) + ";    W = " + std::to_string(window) + "\r\n\r\n";
    text += "Residue / Hydropathyvalue\r\n\r\n";
    const std::vector<double> values = PositionValues(record);
    const ProfileSpan span = ProfileRange(record, from, to, window);
    for (int centre = span.first; centre <= span.last; ++centre) {
        text += std::to_string(centre);
        text += delimiter;
        text += core::FormatSignificant(WindowAverageOf(values, centre, window), 3);
        text += "\r\n";
    }
    return text;
}

std::string HelixListText(const std::vector<Helix>& helices)
{
    std::string text;
    for (const Helix& helix : helices) {
        text += std::to_string(helix.start) + "\t" + std::to_string(helix.end) + "\r\n";
    }
    return text;
}

} // namespace quorin::plots
