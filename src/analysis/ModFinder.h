#pragma once

#include "core/PropertyRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorin::analysis {

/// The first modification of that name (exact comparison), or null.
const core::MODIFICATION* FindModification(const std::vector<core::MODIFICATION>& modifications,
                                           std::string_view name);

/// False when the list is empty or its first modification has no name; the
/// ModFinder command then refuses with "No modifications defined!".
bool ModificationsDefined(const std::vector<core::MODIFICATION>& modifications);

/// The mass of a modification as the dialog and the report show it: n =
/// trunc(log10(mw) + 2) significant digits, so at most one decimal and a
/// trailing zero dropped (79.97 gives "80", 42.01 gives "42"). A mass of 0
/// gives "0".
std::string ModificationMassText(double mw);

/// What the ModFinder dialog's Analyse found wrong, in the order it checks.
enum class ModFinderFault
{
    None,
    NoSelection,        ///< "Select an modification!"
    InvalidWeight,      ///< "Enter a valid number as weight !" on the weight field
    InvalidUncertainty, ///< the same message on the uncertainty field
};

/// A number field as the dialog reads it (its first 49 characters) is valid
/// when it is not empty and holds only the characters "0123456789.".
bool ValidWeightText(std::string_view text);

/// The dialog's checks of Analyse: a selection, then the weight, then the
/// uncertainty text.
ModFinderFault CheckModFinderInput(const std::vector<std::string>& selectedNames,
                                   std::string_view weightText, std::string_view uncertaintyText);

/// The message text of a fault (empty for None).
std::string_view ModFinderFaultMessage(ModFinderFault fault);

/// A number field's value: the leading decimal number of its first 49
/// characters ("1.2.3" reads as 1.2).
double WeightFromText(std::string_view text);

/// Copies the modifications of those names (the first of each name; unknown
/// names are left out) into the record's ModFinder selection, in the order
/// given.
void SelectModifications(core::PropertyRecord& record, const std::vector<std::string>& names);

/// True when an occurrence of one of the attachment sequences of specificity
/// (separated by ","; "X" matches any residue; empty entries skipped)
/// overlaps positions start..end (0-based, inclusive) of sequence: start
/// positions from max(0, start - m + 1) to min(end, N - m) for a pattern of m
/// letters. An empty fragment (end < start) holds none.
bool ContainsAttachmentSite(std::string_view sequence, int start, int end,
                            std::string_view specificity);

/// As above for fragment fragmentIndex of the record's digest (in its current
/// order) and the selected modification modificationIndex.
bool ContainsAttachmentSite(const core::PropertyRecord& record, std::size_t fragmentIndex,
                            std::size_t modificationIndex);

/// The search over the record's digest with the modifications already
/// selected: for each modification in order, every fragment from the
/// heaviest to the lightest (weight order, ties as a stable ascending sort
/// leaves them) whose mass plus the modification's lies within uncertainty
/// of weight, both bounds inclusive. The fragments keep their order: the
/// digest window may show them sorted otherwise.
void FindModifications(core::PropertyRecord& record, double weight, double uncertainty);

/// The ModFinder report of the record's last search, lines ending with CR
/// LF; with completeOnly, matches on fragments with a missed cleavage are
/// left out.
std::string ModReportText(const core::PropertyRecord& record, bool completeOnly);

} // namespace quorin::analysis
