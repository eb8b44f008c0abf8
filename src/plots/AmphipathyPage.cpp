#include "plots/AmphipathyPage.h"

#include "core/NumberText.h"
#include "core/SequenceText.h"
#include "plots/Amphipathy.h"

#include <algorithm>
#include <cmath>

namespace quorin::plots {
namespace {

constexpr std::string_view kMeanPrefix = "Mean Amphipathy Moment = ";
constexpr std::string_view kScalePrefix = "Scale: ";
constexpr std::string_view kWindowPrefix = "W = ";

/// The top of the first range widened on the top by this, so that a range of
/// one value still has a height.
constexpr double kRangeHeadroom = 0.01;

bool hasMoment(double moment)
{
    return moment != kInvalidMoment;
}

std::string stretchText(const AmphipathyPlot& plot, const core::PropertyRecord& record)
{
    return std::to_string(plot.from) + "-" + std::to_string(plot.to) + " of " +
           core::OneLineText(record.Name());
}

} // namespace

double AmphipathyProfile::MomentAt(int centre) const
{
    const long long index = static_cast<long long>(centre) - firstCentre;
    if (index < 0 || index >= static_cast<long long>(moments.size())) {
        return kInvalidMoment;
    }
    return moments[static_cast<std::size_t>(index)];
}

AmphipathyProfile ComputeAmphipathyProfile(const core::PropertyRecord& record, int window)
{
    AmphipathyProfile profile;
    profile.window = window;
    if (window < 1) {
        return profile;
    }
    const int half = window / 2;
    profile.firstCentre = half + 1;
    const int lastCentre = PositionCount(record) - half;
    if (lastCentre < profile.firstCentre) {
        return profile;
    }
    const std::vector<double> values = MomentValues(record);
    const MomentCalculator calculator(window);
    profile.moments.reserve(static_cast<std::size_t>(lastCentre - profile.firstCentre + 1));
    for (int centre = profile.firstCentre; centre <= lastCentre; ++centre) {
        profile.moments.push_back(calculator.Moment(values.data() + (centre - half - 1)));
    }

    // The range starts at the first window and takes in every window the
    // curve may draw, the last one included.
    const double first = profile.moments.front();
    if (!hasMoment(first)) {
        return profile;
    }
    profile.range = ValueSpan{first, first + kRangeHeadroom, false};
    for (const double moment : profile.moments) {
        if (hasMoment(moment)) {
            profile.range.min = std::min(profile.range.min, moment);
            profile.range.max = std::max(profile.range.max, moment);
        }
    }
    return profile;
}

VerticalAxis ComputeAmphipathyAxis(const ValueSpan& range)
{
    double low = 0.0;
    double high = 1.0;
    if (!range.empty && std::isfinite(range.min) && std::isfinite(range.max)) {
        low = range.min;
        high = range.max;
    }
    // Moments of a scale with huge values lose the headroom to rounding; the
    // step search needs a height it can tell from zero.
    const double magnitude = std::max({1.0, std::fabs(low), std::fabs(high)});
    const double resolvable = 1e-9 * magnitude;
    if (!(high - low > resolvable) || !std::isfinite(high - low)) {
        high = low + std::max(kRangeHeadroom, 1e-6 * magnitude);
    }
    const double d = (high - low) * 1.6;
    high += 0.125 * d;
    low -= 0.125 * d;
    const double step = RoundStep(TickStep(d));
    return VerticalAxis{low, high, step, AxisTicks(low, high, step)};
}

std::string AmphipathyTickLabel(double value)
{
    std::string text = core::FormatSignificant(value, 4);
    if (text.size() == 1) {
        text += ".00";
    } else if (text.size() == 3) {
        text += "0";
    }
    return text;
}

int AmphipathyTickInterval(int count)
{
    int interval = 0;
    if (count < 100) {
        interval = count / 20 + 1;
    } else if (count < 1000) {
        interval = (count / 200 + 1) * 10;
    } else if (count < 10000) {
        interval = (count / 2000 + 1) * 100;
    } else {
        interval = (count / 20000 + 1) * 1000;
    }
    return RoundResidueInterval(interval);
}

double MeanAmphipathyMoment(const AmphipathyProfile& profile, int from, int to)
{
    double sum = 0.0;
    int count = 0;
    for (int centre = from; centre <= to; ++centre) {
        const double moment = profile.MomentAt(centre);
        if (hasMoment(moment)) {
            sum += moment;
            ++count;
        }
    }
    return count == 0 ? 0.0 : sum / count;
}

PathyDialogCheck CheckAmphyDialog(std::string_view from, std::string_view to,
                                  std::string_view window, int length)
{
    // The amphipathy dialog has no threshold; "0" passes the hydropathy
    // dialog's last check, so the first four decide.
    PathyDialogCheck check = CheckPathyDialog(
        PathyDialogInput{std::string(from), std::string(to), std::string(window), "0"}, length);
    check.threshold = 0.0;
    return check;
}

AmphipathyPage::AmphipathyPage(const core::PropertyRecord& record) : m_record(record)
{}

const AmphipathyProfile& AmphipathyPage::Profile() const
{
    const bool same = m_valid && m_key.window == m_plot.window &&
                      m_key.table == MomentTable(m_record) &&
                      m_key.sequence == m_record.CleanSequence();
    if (!same) {
        m_key = ProfileKey{m_plot.window, MomentTable(m_record), m_record.CleanSequence()};
        m_profile = ComputeAmphipathyProfile(m_record, m_plot.window);
        m_valid = true;
        ++m_computations;
    }
    return m_profile;
}

double AmphipathyPage::Mean() const
{
    return MeanAmphipathyMoment(Profile(), m_plot.from, m_plot.to);
}

std::string AmphipathyPage::Title() const
{
    return "Plot of Amphipathy Moment of Residues " + stretchText(m_plot, m_record);
}

std::string AmphipathyPage::Caption() const
{
    return "Plot of Amphipathy Moment of residues " + stretchText(m_plot, m_record);
}

int AmphipathyPage::ResidueAtX(int x) const
{
    return ChartResidueAt(x, m_plot.from, m_plot.to, kPathyFrameLeft, kPathyFrameWidth);
}

PageDrawing AmphipathyPage::Draw(const PageLayout& layout, const TextMeasure& measure) const
{
    const AmphipathyProfile& profile = Profile();
    const auto D = [&layout](double page) { return layout.Device(page); };
    const ChartFont font = ChartFontFor(layout, measure);
    const int lineHeight = font.metrics.lineHeight;
    const int left = D(layout.left);
    const int top = D(layout.top);

    PageDrawing page;
    const auto text = [&](std::string content, int y) {
        page.elements.push_back(
            PageText{std::move(content), {left, y}, TextAnchor::TopLeft, font.font, kBlack});
    };
    const std::string mean = std::string(kMeanPrefix) + core::FormatSignificant(Mean(), 3);
    const std::string window = std::string(kWindowPrefix) + std::to_string(m_plot.window);
    if (layout.Printing()) {
        const int legendTop = top - 6 * lineHeight;
        DrawPrintedTitle(page, layout, Title(), legendTop, font, measure);
        text(mean, legendTop);
        text(std::string(kScalePrefix) + CurrentScaleName(m_record),
             top - TruncatedUnits(4.5 * lineHeight));
        text(window, top - 3 * lineHeight);
    } else {
        text(mean, lineHeight);
        text(window, 4 * lineHeight);
    }

    ChartAxes axes;
    axes.from = m_plot.from;
    axes.to = m_plot.to;
    axes.vertical = ComputeAmphipathyAxis(profile.range);
    for (const double v : axes.vertical.ticks) {
        axes.labels.push_back(AmphipathyTickLabel(v));
    }
    axes.residueTicks = HorizontalTicks(m_plot.from, m_plot.to,
                                        AmphipathyTickInterval(m_plot.to - m_plot.from + 1));
    DrawChartAxes(page, layout, axes, font, measure);

    // Every window centred in the stretch that has a moment, the last one too.
    const int half = profile.window / 2;
    const int first = std::max(m_plot.from, half + 1);
    const int last = std::min(m_plot.to, PositionCount(m_record) - half);
    const int lineWidth = std::max(1, TruncatedUnits(std::max(1, m_plot.lineWidth) * layout.scale));
    PagePolyline curve{{}, PagePen{kBlack, lineWidth, false}};
    for (int centre = first; centre <= last; ++centre) {
        const double moment = profile.MomentAt(centre);
        if (!hasMoment(moment)) {
            continue;
        }
        curve.points.push_back({D(ChartX(layout, m_plot.from, m_plot.to, centre)),
                                D(ChartY(layout, axes.vertical, moment))});
    }
    curve.points = ThinColumns(curve.points);
    if (curve.points.size() > 1) {
        page.elements.push_back(std::move(curve));
    }
    return page;
}

} // namespace quorin::plots
