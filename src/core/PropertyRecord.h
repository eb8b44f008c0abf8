#pragma once

#include "core/DigestState.h"
#include "core/LogFont.h"
#include "core/ModFinderState.h"
#include "core/MotifState.h"
#include "core/PageItems.h"
#include "core/PlotSettings.h"
#include "core/Quantities.h"
#include "core/Residue.h"
#include "core/UniProt.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::core {

/// One cleaving agent: a name and a specificity list of site patterns
/// separated by ";" (at most 19 characters each as edited).
struct ENZYME
{
    std::string name;
    std::string specificity;
};

/// One modification: a name, its attachment sequences separated by "," and
/// the mass it adds in dalton (never negative).
struct MODIFICATION
{
    std::string name;
    std::string specificity;
    double mw = 0.0;
};

/// The analyses' view of one sequence: its name and text, residue counts,
/// per-residue tables, the agent, modification and scale lists, and the
/// cached results. One per sequence document and one for the batch run.
///
/// The table members are plain data: the settings reader and the preference
/// pages fill and edit them in place.
class PropertyRecord
{
public:
    /// Fills the default tables (SetDefaultTables); the current tables stay
    /// zero until ResetCurrentTables or a settings read.
    PropertyRecord();

    /// Default pKa, mass and absorption tables, colour table, the display
    /// flags and the two built-in hydropathy scales.
    void SetDefaultTables();

    /// current := default for the pKa, mass and both absorption tables.
    void ResetCurrentTables();

    /// Stores the name with every leading ">" removed.
    void SetName(std::string_view name);
    const std::string& Name() const { return m_name; }

    /// Resets the counts and caches and counts text. The text is upper-cased
    /// (codes above 0x60 lose 0x20) and kept as the raw sequence; its ASCII
    /// letters other than B, J, U, Z form the cleaned sequence. Residues count
    /// in their slots, X and O in slot 21; every other character is dropped
    /// and counted nowhere.
    void SetSequence(std::string_view text);

    /// The text as last handed to SetSequence, upper-cased.
    const std::string& RawSequence() const { return m_raw; }
    /// The residue letters of the raw text, X and O included.
    const std::string& CleanSequence() const { return m_clean; }

    /// Forgets the cached pI, weight and absorptions, so that the next call
    /// computes them with the tables as they are now (after a table changed).
    void ForgetCachedResults();

    /// The grid pI (IsoelectricGrid) of the counts under the current pKa
    /// table. Cached until the next SetSequence.
    double IsoelectricPoint();
    /// 18.02 plus the masses of the twenty residues, in dalton. Cached.
    double MolecularWeight();
    /// 18.02 plus the masses of positions first..last (0-based into the cleaned
    /// sequence, both inclusive); 18.02 when first > last. Not cached.
    double StretchWeight(int first, int last) const;
    /// Molar absorption at 280 nm in 1/(mM*cm). Cached; one pass gives both.
    double AbsorptionDenatured();
    double AbsorptionNative();

    /// Count of a slot: 1 for the N-terminus, residues 1..20, and for slot 21
    /// one C-terminus plus every X and O.
    std::int64_t ResidueCount(int index) const { return m_counts[static_cast<std::size_t>(index)]; }
    /// Number of the twenty standard residues in the sequence.
    int ResidueLength() const { return m_residueLength; }
    /// Every slot's ResidueCount.
    const ResidueCounts& Counts() const { return m_counts; }

    ResidueTable pKa{};
    ResidueTable defaultPKa{};
    ResidueTable residueMass{};
    ResidueTable defaultResidueMass{};
    ResidueTable absorptionDenatured{};
    ResidueTable defaultAbsorptionDenatured{};
    ResidueTable absorptionNative{};
    ResidueTable defaultAbsorptionNative{};
    std::array<COLORREF, kResidueSlots> colours{};

    int plotLineWidth = 0;
    int outputFontSize = 0;
    int wheelLineWidth = 0;
    int wheelColorCode = 0;
    int wheelNumbers = 0;
    /// The wheel labels' font: report font A until a wheel takes the settings'.
    LOGFONT wheelFont = ReportFontA();

    std::vector<HYDROPATHYSCALE> scales;
    std::vector<HYDROPATHYSCALE> builtinScales;
    std::vector<ENZYME> agents;
    std::vector<MODIFICATION> modifications;

    /// Free-text remarks stored with the sequence.
    std::string remarks;
    SketchData sketch;
    /// The features of the UniProt entry the sequence was read from; empty
    /// for any other file. Never stored: a saved file keeps them as domains.
    std::vector<SequenceFeature> features;
    DigestState digest;
    MotifState motifs;
    ModFinderState modFinder;
    PlotSettings plots;

private:
    void computeAbsorption();

    std::string m_name;
    std::string m_raw;
    std::string m_clean;
    int m_residueLength = 0;
    ResidueCounts m_counts{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    bool m_pIStale = true;
    double m_pI = 0.0;
    double m_mw = 0.0;
    double m_absorptionDenatured = 0.0;
    double m_absorptionNative = 0.0;
};

/// The record the settings reader and the preference pages work on: the one
/// of the sequence document constructed last, or the batch run's.
PropertyRecord* ActiveRecord();
void SetActiveRecord(PropertyRecord* record);

} // namespace quorin::core
