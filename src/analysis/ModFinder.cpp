#include "analysis/ModFinder.h"

#include "analysis/Digest.h"
#include "core/MessageTexts.h"
#include "core/NumberText.h"
#include "core/SequenceText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quorin::analysis {
namespace {

using core::FRAGM;
using core::MODFRAG;

constexpr std::string_view kEol = "\r\n";
/// The dialog reads its number fields into 50-character buffers.
constexpr std::size_t kFieldChars = 49;

std::string padRight(std::string text, std::size_t width)
{
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

/// The rank of each match's fragment in the weight order of fragments (a
/// stable ascending sort): the fragments of a lower key, plus those of the
/// same key that stand before it.
void rankMatches(const std::vector<FRAGM>& fragments, const std::vector<std::size_t>& positions,
                 std::vector<MODFRAG>& matches)
{
    std::vector<std::uint64_t> keys;
    keys.reserve(matches.size());
    for (const std::size_t position : positions) {
        keys.push_back(FragmentWeightKey(fragments[position].mw));
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    std::vector<std::int64_t> lighter(keys.size() + 1, 0);
    std::vector<std::vector<std::size_t>> equal(keys.size());
    for (std::size_t j = 0; j < fragments.size(); ++j) {
        const std::uint64_t key = FragmentWeightKey(fragments[j].mw);
        const auto slot = static_cast<std::size_t>(std::lower_bound(keys.begin(), keys.end(), key) -
                                                   keys.begin());
        if (slot < keys.size() && keys[slot] == key) {
            equal[slot].push_back(j);
            ++lighter[slot + 1];
        } else {
            ++lighter[slot];
        }
    }
    for (std::size_t k = 1; k < lighter.size(); ++k) {
        lighter[k] += lighter[k - 1];
    }
    for (std::size_t m = 0; m < matches.size(); ++m) {
        const std::uint64_t key = FragmentWeightKey(fragments[positions[m]].mw);
        const auto slot = static_cast<std::size_t>(std::lower_bound(keys.begin(), keys.end(), key) -
                                                   keys.begin());
        const auto& same = equal[slot];
        const auto before = std::lower_bound(same.begin(), same.end(), positions[m]) - same.begin();
        matches[m].fragment = static_cast<std::int32_t>(lighter[slot] + before);
    }
}

} // namespace

const core::MODIFICATION* FindModification(const std::vector<core::MODIFICATION>& modifications,
                                           std::string_view name)
{
    for (const core::MODIFICATION& modification : modifications) {
        if (modification.name == name) {
            return &modification;
        }
    }
    return nullptr;
}

bool ModificationsDefined(const std::vector<core::MODIFICATION>& modifications)
{
    return !modifications.empty() && !modifications.front().name.empty();
}

std::string ModificationMassText(double mw)
{
    // log10 of 0 (a modification stored without a mass) has no digit count.
    if (!(mw > 0.0) || !std::isfinite(mw)) {
        return core::FormatSignificant(mw, 1);
    }
    return core::FormatSignificant(mw, static_cast<int>(std::trunc(std::log10(mw) + 2)));
}

bool ValidWeightText(std::string_view text)
{
    text = text.substr(0, kFieldChars);
    return !text.empty() && text.find_first_not_of("0123456789.") == std::string_view::npos;
}

ModFinderFault CheckModFinderInput(const std::vector<std::string>& selectedNames,
                                   std::string_view weightText, std::string_view uncertaintyText)
{
    if (selectedNames.empty()) {
        return ModFinderFault::NoSelection;
    }
    if (!ValidWeightText(weightText)) {
        return ModFinderFault::InvalidWeight;
    }
    if (!ValidWeightText(uncertaintyText)) {
        return ModFinderFault::InvalidUncertainty;
    }
    return ModFinderFault::None;
}

std::string_view ModFinderFaultMessage(ModFinderFault fault)
{
    switch (fault) {
    case ModFinderFault::NoSelection:
        return core::msg::kSelectAModification;
    case ModFinderFault::InvalidWeight:
    case ModFinderFault::InvalidUncertainty:
        return core::msg::kInvalidWeight;
    case ModFinderFault::None:
        break;
    }
    return {};
}

double WeightFromText(std::string_view text)
{
    return core::ParseLeadingDouble(text.substr(0, kFieldChars));
}

void SelectModifications(core::PropertyRecord& record, const std::vector<std::string>& names)
{
    std::vector<core::MODIFICATION> selected;
    for (const std::string& name : names) {
        if (const core::MODIFICATION* modification = FindModification(record.modifications, name)) {
            selected.push_back(*modification);
        }
    }
    record.modFinder.selected = std::move(selected);
}

bool ContainsAttachmentSite(std::string_view sequence, int start, int end,
                            std::string_view specificity)
{
    const auto length = static_cast<std::int64_t>(sequence.size());
    if (end < start || length == 0) {
        return false;
    }
    const std::int64_t first = std::max<std::int64_t>(start, 0);
    const std::int64_t last = std::min<std::int64_t>(end, length - 1);
    while (true) {
        const auto separator = specificity.find(',');
        const std::string_view pattern = specificity.substr(0, separator);
        const auto m = static_cast<std::int64_t>(pattern.size());
        // An occurrence counts when it overlaps the fragment and lies wholly
        // inside the sequence.
        if (m > 0 && m <= length) {
            for (std::int64_t d = std::max<std::int64_t>(0, first - m + 1);
                 d <= std::min(last, length - m); ++d) {
                std::int64_t j = 0;
                while (j < m && (pattern[static_cast<std::size_t>(j)] == 'X' ||
                                 pattern[static_cast<std::size_t>(j)] ==
                                     sequence[static_cast<std::size_t>(d + j)])) {
                    ++j;
                }
                if (j == m) {
                    return true;
                }
            }
        }
        if (separator == std::string_view::npos) {
            return false;
        }
        specificity.remove_prefix(separator + 1);
    }
}

bool ContainsAttachmentSite(const core::PropertyRecord& record, std::size_t fragmentIndex,
                            std::size_t modificationIndex)
{
    const FRAGM& fragment = record.digest.fragments.at(fragmentIndex);
    return ContainsAttachmentSite(record.CleanSequence(), fragment.start, fragment.end,
                                  record.modFinder.selected.at(modificationIndex).specificity);
}

void FindModifications(core::PropertyRecord& record, double weight, double uncertainty)
{
    core::ModFinderState& state = record.modFinder;
    state.weight = weight;
    state.uncertainty = uncertainty;
    state.matches.clear();
    const std::vector<FRAGM>& fragments = record.digest.fragments;
    const std::string& sequence = record.CleanSequence();
    // The digest window may show the fragments in another order; they are
    // searched in weight order without being moved.
    const bool byWeight =
        std::is_sorted(fragments.begin(), fragments.end(), [](const FRAGM& a, const FRAGM& b) {
            return FragmentWeightKey(a.mw) < FragmentWeightKey(b.mw);
        });

    std::vector<std::size_t> positions;
    for (std::size_t k = 0; k < state.selected.size(); ++k) {
        const double modMass = state.selected[k].mw;
        const std::size_t groupBegin = positions.size();
        std::size_t top = fragments.size();
        if (byWeight && !fragments.empty() && !std::isnan(fragments.front().mw) &&
            !std::isnan(fragments.back().mw)) {
            // Sums keep the weight order, so the fragments too heavy form
            // the top of the list: skip them at once.
            top = static_cast<std::size_t>(
                std::partition_point(
                    fragments.begin(), fragments.end(),
                    [&](const FRAGM& f) { return !(f.mw + modMass - weight > uncertainty); }) -
                fragments.begin());
        }
        for (std::size_t i = top; i-- > 0;) {
            const double diff = fragments[i].mw + modMass - weight;
            if (diff < -uncertainty) {
                if (byWeight) {
                    // All lighter fragments fall short as well.
                    break;
                }
                continue;
            }
            if (diff <= uncertainty) {
                positions.push_back(i);
            }
        }
        if (!byWeight) {
            // Heaviest first; equal weights in the order a stable sort by
            // weight would give, read from its top: the later one first.
            std::stable_sort(positions.begin() + static_cast<std::ptrdiff_t>(groupBegin),
                             positions.end(), [&](std::size_t a, std::size_t b) {
                                 return FragmentWeightKey(fragments[a].mw) >
                                        FragmentWeightKey(fragments[b].mw);
                             });
        }
        for (std::size_t m = groupBegin; m < positions.size(); ++m) {
            const FRAGM& fragment = fragments[positions[m]];
            const bool site = ContainsAttachmentSite(sequence, fragment.start, fragment.end,
                                                     state.selected[k].specificity);
            state.matches.push_back({static_cast<std::int32_t>(positions[m]),
                                     static_cast<std::int32_t>(k), static_cast<std::uint8_t>(site),
                                     fragment.start, fragment.end, fragment.mw, fragment.complete});
        }
    }
    if (!byWeight) {
        rankMatches(fragments, positions, state.matches);
    }
}

std::string ModReportText(const core::PropertyRecord& record, bool completeOnly)
{
    const core::ModFinderState& state = record.modFinder;
    std::string text;
    const auto line = [&](std::string_view content) {
        text += content;
        text += kEol;
    };
    const std::string title = "Search for modifications of " + core::OneLineText(record.Name());
    line(title);
    line(std::string(title.size(), '*'));
    line("");
    // A digest made with options (bounds, monoisotopic masses) says so here
    // too: the matches are among its fragments and with its masses.
    for (const std::string& option : record.digest.reportOptionLines) {
        line(option);
    }
    line("");
    line("Selected modifications (specificity; MW)");
    line(std::string(40, '-'));
    for (const core::MODIFICATION& modification : state.selected) {
        line(padRight(modification.name, 20) + "(" + modification.specificity + "; " +
             ModificationMassText(modification.mw) + ")");
    }
    line("");
    line("MW of unknown fragment (Uncertainty)");
    line(std::string(36, '-'));
    line(core::FormatOneDecimal(state.weight) + " (" + core::FormatOneDecimal(state.uncertainty) +
         ")");
    line("");
    line("");
    line("List of potentially modified fragments");
    line(std::string(38, '-'));
    line("(+/-: Fragment does/ does not contain potential attachment sequences)");
    line("");
    line(" Start  |  End   | MW (theoret.)| +/- | Modification");
    line(std::string(52, '-'));
    for (const MODFRAG& match : state.matches) {
        if (completeOnly && match.complete == 0) {
            continue;
        }
        const core::MODIFICATION& modification =
            state.selected[static_cast<std::size_t>(match.modification)];
        line(" " + padRight(std::to_string(std::int64_t{match.start} + 1), 7) + "|  " +
             padRight(std::to_string(std::int64_t{match.end} + 1), 6) + "|  " +
             padRight(core::FormatOneDecimal(match.mw + modification.mw), 12) + "|  " +
             (match.site != 0 ? "+" : "-") + "  |  " + modification.name);
    }
    return text;
}

} // namespace quorin::analysis
