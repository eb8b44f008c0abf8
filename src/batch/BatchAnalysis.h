#pragma once

#include "batch/BatchOptions.h"
#include "core/PropertyRecord.h"
#include "core/Residue.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::batch {

/// One result row of a batch: a sequence or a statistics row. Values not
/// computed keep these defaults (isoelectric point 7.0, absolute composition 1
/// for the two termini).
struct PROPERTIES
{
    std::int64_t length = 0;
    double molecularWeight = 0.0;
    double epsDenatured = 0.0; ///< 1/(mM*cm)
    double epsNative = 0.0;    ///< 1/(mM*cm)
    double isoelectricPoint = 7.0;
    double gravy = 0.0;
    std::int64_t helixCount = 0;
    /// counts[i] / length, slot order; 0 for an empty sequence.
    std::array<double, core::kResidueSlots> relativeComposition{};
    std::array<std::int64_t, core::kResidueSlots> absoluteComposition{
        1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
};

/// The isoelectric point of PropertyRecord::IsoelectricPoint, found without
/// walking the whole grid. The net charge falls with the pH, so the grid point
/// of the smallest |Z| (the lowest of equals) lies where Z changes sign; a
/// bisection over the grid indices finds it, on charges computed with the very
/// operations of the grid search, from denominators made once per table.
class IsoelectricGrid
{
public:
    explicit IsoelectricGrid(const core::ResidueTable& pKa);

    /// counts in slot order, as PropertyRecord::ResidueCount gives them.
    double IsoelectricPoint(const std::array<std::int64_t, core::kResidueSlots>& counts) const;

private:
    static constexpr int kFirst = 100;
    static constexpr int kEnd = 1300;
    static constexpr int kGroups = 9;

    double netCharge(const std::array<double, kGroups>& n, int k) const;

    /// 1 + 10^(pH - pK) of the positive groups, 1 + 10^(pK - pH) of the
    /// negative ones, per grid index k - kFirst.
    std::vector<std::array<double, kGroups>> m_denominators;
};

/// The working memory of BatchAnalyzer::Analyse, one per thread, kept
/// between calls.
struct AnalysisScratch
{
    std::vector<double> values;
    std::vector<double> prefixSums;
};

/// Computes result rows from the current tables and scale of a record, for
/// many sequences at once: const, so one analyzer serves every thread.
class BatchAnalyzer
{
public:
    /// scaleIndex must name an entry of record.scales when the options use a
    /// scale.
    BatchAnalyzer(const core::PropertyRecord& record, const BatchOptions& options, int scaleIndex);

    /// The row of one record body: its residue letters (IsResidueLetter) as
    /// SetSequence counts them.
    void Analyse(std::string_view body, PROPERTIES& row, AnalysisScratch& scratch) const;

private:
    BatchOptions m_options;
    core::ResidueTable m_mass{};
    core::ResidueTable m_epsDenatured{};
    core::ResidueTable m_epsNative{};
    core::ResidueTable m_hydropathy{};
    IsoelectricGrid m_grid;
    /// Slot of each byte that SetSequence keeps (0..21), -1 for the rest.
    std::array<std::int8_t, 256> m_slots{};
};

/// One column of the results file: how it reads a row and how a statistic
/// is stored back into it.
struct Column
{
    enum class Kind
    {
        Length,
        MolecularWeight,
        IsoelectricPoint,
        EpsDenatured,
        EpsNative,
        Gravy,
        Helices,
        Relative,
        Absolute,
    };
    Kind kind;
    std::size_t slot = 0;

    double Read(const PROPERTIES& row) const;
    /// Integer columns keep a statistic truncated toward zero.
    void Store(PROPERTIES& row, double value) const;
};

/// The selected columns in the order of the results file.
std::vector<Column> SelectedColumns(const BatchOptions& options);

/// The statistics rows with their names.
struct StatisticsRows
{
    std::vector<PROPERTIES> rows;
    std::vector<std::string_view> names;
};

/// The values of the selected columns of every sequence row, for the
/// statistics. Whole numbers are kept in 32 bits and a relative composition as
/// its count over the length, so that a large batch's table stays small.
class ColumnTable
{
public:
    /// largestValue bounds every length and count (the input's size, say);
    /// beyond 32 bits every value is kept as a double.
    ColumnTable(const BatchOptions& options, std::size_t rows, std::uint64_t largestValue);

    void Set(std::size_t row, const PROPERTIES& values);

    /// The statistics rows in the order mean, SD, SE, minimum, maximum,
    /// median, of the selected ones; nothing without rows. Each column is
    /// summed in row order; the columns are shared among jobs threads.
    StatisticsRows Statistics(unsigned jobs = 1) const;

private:
    /// Where a column's values are: whole numbers at index of m_whole, doubles
    /// at index of m_real, or (Ratio) the whole numbers at index over those at
    /// lengthIndex.
    struct Storage
    {
        enum class Kind
        {
            Whole,
            Real,
            Ratio,
        };
        Kind kind = Kind::Real;
        std::size_t index = 0;
        std::size_t lengthIndex = 0;
    };

    /// Rows [first, first + count) of column c as doubles, into out.
    void read(std::size_t c, std::size_t first, std::size_t count, double* out) const;

    BatchOptions m_options;
    std::vector<Column> m_columns;
    std::vector<Storage> m_storage;
    /// The value each array of m_whole and m_real holds.
    std::vector<Column> m_wholeSources;
    std::vector<Column> m_realSources;
    std::size_t m_rows = 0;
    /// Array after array, m_rows values each.
    std::unique_ptr<std::uint32_t[]> m_whole;
    std::unique_ptr<double[]> m_real;
};

/// The header line of the results file, CR LF included.
std::string ResultsHeader(const BatchOptions& options);

/// Appends one data line (the selected values, each followed by a TAB, then
/// the name and CR LF) to out.
void AppendResultLine(std::string& out, const PROPERTIES& row, std::string_view name,
                      const BatchOptions& options);

/// The log of a run, lines ending with CR LF. scaleName is written when GRAVY
/// or the helices were selected; time is the time of writing.
std::string BatchLogText(std::string_view dataPath, std::string_view resultsPath,
                         std::size_t sequenceCount, const BatchOptions& options,
                         std::string_view scaleName, std::time_t time);

} // namespace quorin::batch
