#pragma once

#include "core/PropertyRecord.h"

#include <vector>

namespace quorin::plots {

/// Radians from one residue of an alpha helix to the next (close to -100
/// degrees). Moments and wheels use this stored value, not -100 degrees
/// converted with pi, so that their digits stay the same everywhere.
inline constexpr double kHelixStep = -1.745293222222222;

/// What AmphipathyMoment returns for a stretch it cannot measure.
inline constexpr double kInvalidMoment = -100.0;

/// The helical moment of windows of one length. The sine and cosine of every
/// offset and their centred sums depend on the length alone, so a profile
/// makes them once and then needs only the three sums over the values of each
/// window. Every sum is accumulated in offset order, as a one-off evaluation
/// would, so the results are the same to the last digit.
class MomentCalculator
{
public:
    /// length is the window's residue count, at least 1.
    explicit MomentCalculator(int length);

    int Length() const { return length_; }

    /// The moment of values[0 .. Length() - 1], cut to two decimals (not
    /// rounded); a moment below 1e-9 is 0. Stretches of fewer than three
    /// residues have no determined fit and give kInvalidMoment.
    double Moment(const double* values) const;

private:
    int length_;
    std::vector<double> sines_;
    std::vector<double> cosines_;
    double sumSin_ = 0.0;
    double sumCos_ = 0.0;
    double centredSinSin_ = 0.0;
    double centredCosCos_ = 0.0;
    double centredSinCos_ = 0.0;
    double determinant_ = 0.0;
};

/// The values the moment reads: those of the scale list entry at the current
/// index (the current table, its copy, may be older or not yet made), or the
/// current table when the index names no entry.
const core::ResidueTable& MomentTable(const core::PropertyRecord& record);

/// MomentTable's value of every position, in order (element 0 is position 1).
std::vector<double> MomentValues(const core::PropertyRecord& record);

/// The moment of positions first..last (1-based, inclusive) of the cleaned
/// sequence in the current scale (MomentTable); kInvalidMoment when first < 1, last <= first
/// or last is past the sequence.
double AmphipathyMoment(const core::PropertyRecord& record, int first, int last);

/// "Amphipathy Moment = " and the moment with three significant digits, as the
/// helical wheel reports it.
std::string AmphipathyMomentText(double moment);

} // namespace quorin::plots
