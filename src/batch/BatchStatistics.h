#pragma once

#include "batch/BatchAnalyzer.h"
#include "batch/BatchOptions.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace quorin::batch {

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

} // namespace quorin::batch
