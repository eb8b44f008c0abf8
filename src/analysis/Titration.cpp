#include "analysis/Titration.h"

#include "core/NumberText.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace quorin::analysis {
namespace {

// Group order of ChargeGroups: N-terminus, H, K, R, C, D, E, Y, C-terminus.
constexpr std::size_t kNGroup = 0;
constexpr std::size_t kCGroup = 8;

using GroupPKs = core::GroupValues;

// The published sets, in group order.
constexpr GroupPKs kEmbossPKs = {7.5, 6.5, 10.8, 12.5, 8.5, 3.9, 4.1, 10.1, 3.6};
constexpr GroupPKs kBjellqvistPKs = {7.5, 5.98, 10.0, 12.0, 9.0, 4.05, 4.45, 10.0, 3.55};
constexpr GroupPKs kLehningerPKs = {9.69, 6.0, 10.5, 12.4, 8.33, 3.86, 4.25, 10.0, 2.34};

// Bjellqvist's N-terminal pK by the first residue and C-terminal pK by the
// last; residues not listed keep the set's terminal value.
struct TerminalPK
{
    char residue;
    double pK;
};
constexpr std::array<TerminalPK, 7> kBjellqvistNTerminal = {
    {{'A', 7.59}, {'M', 7.0}, {'S', 6.93}, {'P', 8.36}, {'T', 6.82}, {'V', 7.44}, {'E', 7.7}}};
constexpr std::array<TerminalPK, 2> kBjellqvistCTerminal = {{{'D', 4.55}, {'E', 4.75}}};

template <std::size_t N>
void applyTerminal(const std::array<TerminalPK, N>& table, char residue, double& pK)
{
    for (const TerminalPK& entry : table) {
        if (entry.residue == residue) {
            pK = entry.pK;
        }
    }
}

} // namespace

std::optional<PKaSet> PKaSetByName(std::string_view name)
{
    for (const PKaSet set : kPKaSets) {
        const std::string_view known = PKaSetName(set);
        if (known.size() == name.size() &&
            std::equal(known.begin(), known.end(), name.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            })) {
            return set;
        }
    }
    return std::nullopt;
}

std::string_view PKaSetName(PKaSet set)
{
    switch (set) {
    case PKaSet::Emboss:
        return "EMBOSS";
    case PKaSet::Bjellqvist:
        return "Bjellqvist";
    case PKaSet::Lehninger:
        return "Lehninger";
    case PKaSet::Settings:
        break;
    }
    return "settings";
}

ChargeGroups ChargeGroupsOf(const core::PropertyRecord& record, PKaSet set)
{
    ChargeGroups groups = core::CountedChargeGroups(record.Counts(), record.pKa);
    if (set == PKaSet::Settings) {
        return groups;
    }
    // A named set charges one C-terminus: an X or O is no carboxyl group.
    groups.count[kCGroup] = 1.0;
    switch (set) {
    case PKaSet::Emboss:
        groups.pK = kEmbossPKs;
        break;
    case PKaSet::Bjellqvist:
        groups.pK = kBjellqvistPKs;
        break;
    default:
        groups.pK = kLehningerPKs;
        break;
    }
    const std::string& residues = record.CleanSequence();
    if (set == PKaSet::Bjellqvist && !residues.empty()) {
        applyTerminal(kBjellqvistNTerminal, residues.front(), groups.pK[kNGroup]);
        applyTerminal(kBjellqvistCTerminal, residues.back(), groups.pK[kCGroup]);
    }
    return groups;
}

double IsoelectricPointByBisection(const ChargeGroups& groups)
{
    double low = 0.0;
    double high = 14.0;
    while (high - low > 1e-7) {
        const double middle = 0.5 * (low + high);
        if (groups.NetCharge(middle) > 0.0) {
            low = middle;
        } else {
            high = middle;
        }
    }
    return 0.5 * (low + high);
}

std::string TitrationText(const ChargeGroups& groups, double from, double to, double step)
{
    std::string out = "pH\tCharge\r\n";
    // Each pH is from + i * step, so that no rounding error accumulates, and
    // the last one is kept when it misses to by a rounding error only.
    const double tolerance = step * 1e-9;
    for (long i = 0;; ++i) {
        const double pH = from + static_cast<double>(i) * step;
        if (pH > to + tolerance) {
            break;
        }
        out += FixedText(pH, 2);
        out += '\t';
        out += FixedText(groups.NetCharge(pH), 2);
        out += "\r\n";
    }
    out += IsoelectricPointLine(IsoelectricPointByBisection(groups));
    out += "\r\n";
    return out;
}

std::string FixedText(double value, int decimals)
{
    char buffer[core::kFixedMaxChars];
    std::string_view text(buffer, core::WriteFixed(buffer, value, decimals));
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string_view::npos) {
        text.remove_prefix(1);
    }
    return std::string(text);
}

std::string IsoelectricPointLine(double pI)
{
    return "Isoelectric Point = " + FixedText(pI, 4);
}

} // namespace quorin::analysis
