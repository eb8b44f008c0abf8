#pragma once

#include "core/PropertyRecord.h"
#include "core/Quantities.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quorin::analysis {

/// The pK tables a titration can use: the settings' own table, one of the
/// published sets built in, or one of the two sets fitted to measured
/// isoelectric points of peptides and of proteins (tools/fit_pka.py).
enum class PKaSet
{
    Settings,
    Emboss,
    Bjellqvist,
    Lehninger,
    Grimsley,
    Rodwell,
    Solomon,
    Sillero,
    Dawson,
    FittedPeptide,
    FittedProtein
};

/// Every set, in the order lists offer them.
inline constexpr std::array kPKaSets = {
    PKaSet::Settings, PKaSet::Emboss,        PKaSet::Bjellqvist,   PKaSet::Lehninger,
    PKaSet::Grimsley, PKaSet::Rodwell,       PKaSet::Solomon,      PKaSet::Sillero,
    PKaSet::Dawson,   PKaSet::FittedPeptide, PKaSet::FittedProtein};

/// The set of a name (PKaSetName of one of kPKaSets, in any case); nothing
/// for an unknown name.
std::optional<PKaSet> PKaSetByName(std::string_view name);
/// The name of a set as PKaSetByName takes it.
std::string_view PKaSetName(PKaSet set);

/// The names of every set joined with ", " and a final " or ", for messages
/// that list what a set name may be.
std::string PKaSetNameList();

/// The charged groups of one sequence under one pK set, in the order
/// N-terminus, H, K, R (positive), C, D, E, Y, C-terminus (negative).
using core::ChargeGroups;

/// The groups of the record's sequence under set. The settings set takes the
/// record's counts and current table as the properties report does (X and O
/// count as C-termini there); the named sets count one terminus each and the
/// residues alone, and Bjellqvist's terminal pKs follow the first and last
/// residue.
ChargeGroups ChargeGroupsOf(const core::PropertyRecord& record, PKaSet set);

/// The pH of zero net charge, by bisection over pH 0 to 14 to within 1e-7.
/// The charge falls with the pH; a charge that keeps its sign over the whole
/// range gives the end of the range it approaches.
double IsoelectricPointByBisection(const ChargeGroups& groups);

/// value with decimals (0 to 4), as the titration texts write numbers in any
/// locale: one that rounds to zero has no sign.
std::string FixedText(double value, int decimals);

/// "Isoelectric Point = " and the pI with 4 decimals.
std::string IsoelectricPointLine(double pI);

/// The titration table as the command line writes it: "pH<TAB>Charge", one
/// line per step from..to (both with 2 decimals), then "Isoelectric Point = "
/// with 4 decimals; lines end with CR LF. step must be positive.
std::string TitrationText(const ChargeGroups& groups, double from, double to, double step);

} // namespace quorin::analysis
