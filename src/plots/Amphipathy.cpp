#include "plots/Amphipathy.h"

#include "core/NumberText.h"
#include "plots/Hydropathy.h"

#include <cmath>

namespace quorin::plots {
namespace {

/// Moments below this are zero up to rounding; printing them would show
/// floating noise such as 6.16E-033.
constexpr double kZeroMoment = 1e-9;

} // namespace

MomentCalculator::MomentCalculator(int length) : length_(length)
{
    sines_.reserve(static_cast<std::size_t>(length));
    cosines_.reserve(static_cast<std::size_t>(length));
    double sumSinSin = 0.0;
    double sumCosCos = 0.0;
    double sumSinCos = 0.0;
    for (int k = 0; k < length; ++k) {
        const double s = std::sin(k * kHelixStep);
        const double c = std::cos(k * kHelixStep);
        sines_.push_back(s);
        cosines_.push_back(c);
        sumSin_ += s;
        sumCos_ += c;
        sumSinSin += s * s;
        sumCosCos += c * c;
        sumSinCos += s * c;
    }
    const double n = length;
    centredSinSin_ = sumSinSin - sumSin_ * sumSin_ / n;
    centredCosCos_ = sumCosCos - sumCos_ * sumCos_ / n;
    centredSinCos_ = sumSinCos - sumSin_ * sumCos_ / n;
    determinant_ = centredSinSin_ * centredCosCos_ - centredSinCos_ * centredSinCos_;
}

double MomentCalculator::Moment(const double* values) const
{
    // Two points always lie on a sine: the fit is undetermined (the
    // determinant is zero up to rounding), so no moment is reported.
    if (length_ < 3) {
        return kInvalidMoment;
    }
    double sumValue = 0.0;
    double sumValueSin = 0.0;
    double sumValueCos = 0.0;
    for (int k = 0; k < length_; ++k) {
        const double h = values[k];
        sumValue += h;
        sumValueSin += h * sines_[static_cast<std::size_t>(k)];
        sumValueCos += h * cosines_[static_cast<std::size_t>(k)];
    }
    const double n = length_;
    const double centredValueSin = sumValueSin - sumSin_ * sumValue / n;
    const double centredValueCos = sumValueCos - sumValue * sumCos_ / n;
    const double a =
        (centredCosCos_ * centredValueSin - centredSinCos_ * centredValueCos) / determinant_;
    const double b =
        (centredSinSin_ * centredValueCos - centredSinCos_ * centredValueSin) / determinant_;
    const double moment = std::sqrt(a * a + b * b) / n;
    if (!std::isfinite(moment)) {
        return kInvalidMoment;
    }
    const double cut = moment - std::fmod(1000.0 * moment, 10.0) / 1000.0;
    return cut < kZeroMoment ? 0.0 : cut;
}

const core::ResidueTable& MomentTable(const core::PropertyRecord& record)
{
    const auto index = static_cast<std::size_t>(record.plots.currentScale);
    return index < record.scales.size() ? record.scales[index].values : record.plots.hydropathy;
}

std::vector<double> MomentValues(const core::PropertyRecord& record)
{
    return PositionValues(record, MomentTable(record));
}

double AmphipathyMoment(const core::PropertyRecord& record, int first, int last)
{
    if (first < 1 || last <= first || last > PositionCount(record)) {
        return kInvalidMoment;
    }
    const std::vector<double> values = MomentValues(record);
    return MomentCalculator(last - first + 1).Moment(values.data() + (first - 1));
}

std::string AmphipathyMomentText(double moment)
{
    return "Amphipathy Moment = " + core::FormatSignificant(moment, 3);
}

} // namespace quorin::plots
