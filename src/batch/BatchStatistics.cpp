#include "batch/BatchStatistics.h"

#include "batch/BatchThreads.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <optional>
#include <span>

namespace quorin::batch {

double Column::Read(const PROPERTIES& row) const
{
    switch (kind) {
    case Kind::Length:
        return static_cast<double>(row.length);
    case Kind::MolecularWeight:
        return row.molecularWeight;
    case Kind::IsoelectricPoint:
        return row.isoelectricPoint;
    case Kind::EpsDenatured:
        return row.epsDenatured;
    case Kind::EpsNative:
        return row.epsNative;
    case Kind::Gravy:
        return row.gravy;
    case Kind::Helices:
        return static_cast<double>(row.helixCount);
    case Kind::Relative:
        return row.relativeComposition[slot];
    case Kind::Absolute:
        return static_cast<double>(row.absoluteComposition[slot]);
    }
    return 0.0;
}

void Column::Store(PROPERTIES& row, double value) const
{
    switch (kind) {
    case Kind::Length:
        row.length = static_cast<std::int64_t>(value);
        break;
    case Kind::MolecularWeight:
        row.molecularWeight = value;
        break;
    case Kind::IsoelectricPoint:
        row.isoelectricPoint = value;
        break;
    case Kind::EpsDenatured:
        row.epsDenatured = value;
        break;
    case Kind::EpsNative:
        row.epsNative = value;
        break;
    case Kind::Gravy:
        row.gravy = value;
        break;
    case Kind::Helices:
        row.helixCount = static_cast<std::int64_t>(value);
        break;
    case Kind::Relative:
        row.relativeComposition[slot] = value;
        break;
    case Kind::Absolute:
        row.absoluteComposition[slot] = static_cast<std::int64_t>(value);
        break;
    }
}

std::vector<Column> SelectedColumns(const BatchOptions& options)
{
    using Kind = Column::Kind;
    std::vector<Column> columns;
    const auto add = [&](bool selected, Kind kind) {
        if (selected) {
            columns.push_back({kind, 0});
        }
    };
    add(options.length, Kind::Length);
    add(options.molecularWeight, Kind::MolecularWeight);
    add(options.isoelectricPoint, Kind::IsoelectricPoint);
    add(options.epsUrea, Kind::EpsDenatured);
    add(options.epsNative, Kind::EpsNative);
    add(options.gravy, Kind::Gravy);
    add(options.helices, Kind::Helices);
    for (const auto& [selected, kind] : {std::pair{options.relativeComposition, Kind::Relative},
                                         std::pair{options.absoluteComposition, Kind::Absolute}}) {
        if (selected) {
            for (std::size_t slot = 1; slot <= 20; ++slot) {
                columns.push_back({kind, slot});
            }
        }
    }
    return columns;
}

namespace {

/// Counts and gathers the values of a column around a bracket [low, high]
/// that a sample of them puts about the middle ranks: the values below it and
/// at its ends are only counted, those within gathered, and only these are
/// ordered.
class MiddleBracket
{
public:
    MiddleBracket(double low, double high, double* gathered)
        : m_low(low), m_high(high), m_gathered(gathered)
    {}

    void Take(std::span<const double> values)
    {
        // Kept in locals: the gathered values are doubles like the bracket's
        // ends, which a store through m_gathered would otherwise reload.
        const double low = m_low;
        const double high = m_high;
        double* const gathered = m_gathered;
        std::size_t belowLow = m_belowLow;
        std::size_t upToLow = m_upToLow;
        std::size_t belowHigh = m_belowHigh;
        std::size_t upToHigh = m_upToHigh;
        std::size_t inside = m_inside;
        // Counts of plain comparisons, without a branch: a value lands on
        // either side about half of the time.
        for (const double value : values) {
            belowLow += value < low ? 1 : 0;
            upToLow += value <= low ? 1 : 0;
            belowHigh += value < high ? 1 : 0;
            upToHigh += value <= high ? 1 : 0;
            gathered[inside] = value;
            inside += (low < value) & (value < high) ? 1 : 0;
        }
        m_belowLow = belowLow;
        m_upToLow = upToLow;
        m_belowHigh = belowHigh;
        m_upToHigh = upToHigh;
        m_inside = inside;
    }

    /// The values of rank (n - 1) / 2 and n / 2 of all n taken, in ascending
    /// order; nothing where the bracket missed one of them.
    std::optional<std::pair<double, double>> MiddleValues(std::size_t n)
    {
        std::optional<double> lower = valueOfRank((n - 1) / 2);
        if (!lower || n % 2 != 0) {
            return lower ? std::optional(std::pair(*lower, *lower)) : std::nullopt;
        }
        const std::optional<double> upper = valueOfRank(n / 2);
        return upper ? std::optional(std::pair(*lower, *upper)) : std::nullopt;
    }

private:
    std::optional<double> valueOfRank(std::size_t rank)
    {
        if (rank < m_belowLow) {
            return std::nullopt;
        }
        rank -= m_belowLow;
        const std::size_t atLow = m_upToLow - m_belowLow;
        if (rank < atLow) {
            return m_low;
        }
        rank -= atLow;
        if (rank < m_inside) {
            double* const nth = m_gathered + rank;
            std::nth_element(m_gathered, nth, m_gathered + m_inside);
            return *nth;
        }
        rank -= m_inside;
        // Ends that are equal were counted once, as the low end.
        const std::size_t atHigh = m_low < m_high ? m_upToHigh - m_belowHigh : 0;
        if (rank < atHigh) {
            return m_high;
        }
        return std::nullopt;
    }

    double m_low;
    double m_high;
    double* m_gathered;
    std::size_t m_belowLow = 0;
    std::size_t m_upToLow = 0;
    std::size_t m_belowHigh = 0;
    std::size_t m_upToHigh = 0;
    std::size_t m_inside = 0;
};

/// The median of values by ordering them all (values is reordered).
double medianOfAll(std::span<double> values)
{
    const std::size_t n = values.size();
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(n / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (n % 2 == 0) {
        return (*std::max_element(values.begin(), middle) + *middle) / 2.0;
    }
    return *middle;
}

bool isWhole(Column::Kind kind)
{
    return kind == Column::Kind::Length || kind == Column::Kind::Helices ||
           kind == Column::Kind::Absolute;
}

} // namespace

ColumnTable::ColumnTable(const BatchOptions& options, std::size_t rows, std::uint64_t largestValue)
    : m_options(options), m_columns(SelectedColumns(options)), m_rows(rows)
{
    const bool compact = largestValue <= UINT32_MAX;
    const auto wholeIndex = [&](Column source) {
        const auto found =
            std::find_if(m_wholeSources.begin(), m_wholeSources.end(), [&](const Column& c) {
                return c.kind == source.kind && c.slot == source.slot;
            });
        if (found != m_wholeSources.end()) {
            return static_cast<std::size_t>(found - m_wholeSources.begin());
        }
        m_wholeSources.push_back(source);
        return m_wholeSources.size() - 1;
    };
    for (const Column& column : m_columns) {
        Storage storage;
        if (compact && isWhole(column.kind)) {
            storage = {Storage::Kind::Whole, wholeIndex(column), 0};
        } else if (compact && column.kind == Column::Kind::Relative) {
            storage = {Storage::Kind::Ratio, wholeIndex({Column::Kind::Absolute, column.slot}),
                       wholeIndex({Column::Kind::Length, 0})};
        } else {
            storage = {Storage::Kind::Real, m_realSources.size(), 0};
            m_realSources.push_back(column);
        }
        m_storage.push_back(storage);
    }
    // Every value is set before it is read: no pass that zeroes the table.
    m_whole = std::make_unique_for_overwrite<std::uint32_t[]>(m_wholeSources.size() * rows);
    m_real = std::make_unique_for_overwrite<double[]>(m_realSources.size() * rows);
}

void ColumnTable::Set(std::size_t row, const PROPERTIES& values)
{
    for (std::size_t q = 0; q < m_wholeSources.size(); ++q) {
        m_whole[q * m_rows + row] = static_cast<std::uint32_t>(m_wholeSources[q].Read(values));
    }
    for (std::size_t q = 0; q < m_realSources.size(); ++q) {
        m_real[q * m_rows + row] = m_realSources[q].Read(values);
    }
}

void ColumnTable::read(std::size_t c, std::size_t first, std::size_t count, double* out) const
{
    const Storage& storage = m_storage[c];
    switch (storage.kind) {
    case Storage::Kind::Whole: {
        const std::uint32_t* const whole = m_whole.get() + storage.index * m_rows + first;
        for (std::size_t i = 0; i < count; ++i) {
            out[i] = static_cast<double>(whole[i]);
        }
        break;
    }
    case Storage::Kind::Real:
        std::copy_n(m_real.get() + storage.index * m_rows + first, count, out);
        break;
    case Storage::Kind::Ratio: {
        // As the analysis computes a relative composition: 0 for no residues.
        const std::uint32_t* const counts = m_whole.get() + storage.index * m_rows + first;
        const std::uint32_t* const lengths = m_whole.get() + storage.lengthIndex * m_rows + first;
        for (std::size_t i = 0; i < count; ++i) {
            out[i] = lengths[i] > 0
                         ? static_cast<double>(counts[i]) / static_cast<double>(lengths[i])
                         : 0.0;
        }
        break;
    }
    }
}

namespace {

enum Statistic : std::size_t
{
    Mean,
    Sd,
    Se,
    Minimum,
    Maximum,
    Median,
    kStatisticKinds
};

/// One column's statistics, in Statistic order.
using ColumnStatistics = std::array<double, kStatisticKinds>;

/// Columns go through the rows kGroup side by side, a chunk of rows at a
/// time, so that their additions overlap; each column is still summed in row
/// order.
constexpr std::size_t kGroup = 4;
constexpr std::size_t kChunk = 2048;
/// A sample of kSample values brackets a median; the bracket reaches kMargin
/// sample ranks either side of the middle.
constexpr std::size_t kSample = 4096;
constexpr std::size_t kMargin = 128;

/// Rows [first, first + count) of a column as doubles, into out.
using ColumnReader =
    std::function<void(std::size_t column, std::size_t first, std::size_t count, double* out)>;

/// The statistics of groups of kGroup columns of n rows, one group at a
/// time; one per thread, its buffers kept from group to group.
class GroupSummariser
{
public:
    GroupSummariser(const ColumnReader& read, std::size_t n, bool median)
        : m_read(read), m_n(n), m_count(static_cast<double>(n)), m_median(median),
          m_sampled(median && n >= 8 * kSample), m_chunk(kGroup * kChunk)
    {}

    /// The columns first.. of columns (a short last group repeats its last
    /// column) into out[column].
    void Summarise(std::size_t first, std::size_t columns, std::vector<ColumnStatistics>& out)
    {
        for (std::size_t k = 0; k < kGroup; ++k) {
            m_group[k] = std::min(first + k, columns - 1);
        }
        FirstPass pass = firstPass();
        std::array<double, kGroup> mean{};
        for (std::size_t k = 0; k < kGroup; ++k) {
            mean[k] = pass.sum[k] / m_count;
        }
        std::vector<MiddleBracket> brackets = middleBrackets(pass.samples);
        const std::array<double, kGroup> squares = squaredDeviations(mean, brackets);
        for (std::size_t k = 0; k < kGroup && first + k < columns; ++k) {
            ColumnStatistics& statistic = out[first + k];
            statistic[Mean] = mean[k];
            if (m_n > 1) {
                statistic[Sd] = std::sqrt(squares[k] / (m_count - 1.0));
            }
            statistic[Se] = statistic[Sd] / std::sqrt(m_count);
            statistic[Minimum] = pass.low[k];
            statistic[Maximum] = pass.high[k];
            if (m_median) {
                statistic[Median] = median(k, brackets);
            }
        }
    }

private:
    struct FirstPass
    {
        std::array<double, kGroup> sum{};
        std::array<double, kGroup> low{};
        std::array<double, kGroup> high{};
        /// kSample values per column, at evenly spaced rows, where sampled.
        std::vector<double> samples;
    };

    std::size_t sampleRow(std::size_t k) const { return k * m_n / kSample; }

    void readChunk(std::size_t row, std::size_t rows)
    {
        for (std::size_t k = 0; k < kGroup; ++k) {
            m_read(m_group[k], row, rows, m_chunk.data() + k * kChunk);
        }
    }

    /// Sums, extremes and the median's sample.
    FirstPass firstPass()
    {
        FirstPass pass;
        pass.samples.resize(m_sampled ? kGroup * kSample : 0);
        std::size_t nextSample = 0;
        for (std::size_t row = 0; row < m_n; row += kChunk) {
            const std::size_t rows = std::min(kChunk, m_n - row);
            readChunk(row, rows);
            if (row == 0) {
                for (std::size_t k = 0; k < kGroup; ++k) {
                    pass.low[k] = pass.high[k] = m_chunk[k * kChunk];
                }
            }
            for (std::size_t i = 0; i < rows; ++i) {
                for (std::size_t k = 0; k < kGroup; ++k) {
                    const double value = m_chunk[k * kChunk + i];
                    pass.sum[k] += value;
                    pass.low[k] = value < pass.low[k] ? value : pass.low[k];
                    pass.high[k] = pass.high[k] < value ? value : pass.high[k];
                }
            }
            for (; m_sampled && nextSample < kSample && sampleRow(nextSample) < row + rows;
                 ++nextSample) {
                for (std::size_t k = 0; k < kGroup; ++k) {
                    pass.samples[k * kSample + nextSample] =
                        m_chunk[k * kChunk + sampleRow(nextSample) - row];
                }
            }
        }
        return pass;
    }

    /// One bracket per column around the middle ranks of its sample; none
    /// where the median is not sampled.
    std::vector<MiddleBracket> middleBrackets(std::vector<double>& samples)
    {
        std::vector<MiddleBracket> brackets;
        if (!m_sampled) {
            return brackets;
        }
        if (!m_gathered) {
            // Only the gathered values are ever touched.
            m_gathered = std::make_unique_for_overwrite<double[]>(kGroup * m_n);
        }
        for (std::size_t k = 0; k < kGroup; ++k) {
            const auto sample = samples.begin() + static_cast<std::ptrdiff_t>(k * kSample);
            std::sort(sample, sample + kSample);
            brackets.emplace_back(sample[kSample / 2 - kMargin], sample[kSample / 2 + kMargin],
                                  m_gathered.get() + k * m_n);
        }
        return brackets;
    }

    /// The squared deviations from the means; the brackets take the values
    /// on the same pass.
    std::array<double, kGroup> squaredDeviations(const std::array<double, kGroup>& mean,
                                                 std::vector<MiddleBracket>& brackets)
    {
        std::array<double, kGroup> squares{};
        for (std::size_t row = 0; row < m_n && (m_n > 1 || m_sampled); row += kChunk) {
            const std::size_t rows = std::min(kChunk, m_n - row);
            readChunk(row, rows);
            for (std::size_t i = 0; i < rows; ++i) {
                for (std::size_t k = 0; k < kGroup; ++k) {
                    const double deviation = mean[k] - m_chunk[k * kChunk + i];
                    squares[k] += deviation * deviation;
                }
            }
            for (std::size_t k = 0; k < brackets.size(); ++k) {
                brackets[k].Take(std::span<const double>(m_chunk.data() + k * kChunk, rows));
            }
        }
        return squares;
    }

    /// From the bracket where it caught both middle values, else by ordering
    /// the whole column.
    double median(std::size_t k, std::vector<MiddleBracket>& brackets)
    {
        const auto middle = m_sampled ? brackets[k].MiddleValues(m_n) : std::nullopt;
        if (middle) {
            return m_n % 2 == 0 ? (middle->first + middle->second) / 2.0 : middle->second;
        }
        std::vector<double> all(m_n);
        m_read(m_group[k], 0, m_n, all.data());
        return medianOfAll(all);
    }

    const ColumnReader& m_read;
    std::size_t m_n;
    double m_count;
    bool m_median;
    bool m_sampled;
    std::array<std::size_t, kGroup> m_group{};
    std::vector<double> m_chunk;
    std::unique_ptr<double[]> m_gathered;
};

/// The statistics rows the options select, in file order, and the row of
/// each kind (-1 for one not selected).
StatisticsRows selectedStatisticsRows(const BatchOptions& options,
                                      std::array<int, kStatisticKinds>& rowOf)
{
    const std::array<std::pair<bool, std::string_view>, kStatisticKinds> kinds = {{
        {options.mean, "Mean"},
        {options.standardDeviation, "SD"},
        {options.standardError, "SE"},
        {options.minimum, "Minimum"},
        {options.maximum, "Maximum"},
        {options.median, "Median"},
    }};
    StatisticsRows result;
    for (std::size_t s = 0; s < kinds.size(); ++s) {
        rowOf[s] = -1;
        if (kinds[s].first) {
            rowOf[s] = static_cast<int>(result.rows.size());
            result.rows.emplace_back();
            result.names.push_back(kinds[s].second);
        }
    }
    return result;
}

} // namespace

StatisticsRows ColumnTable::Statistics(unsigned jobs) const
{
    if (m_rows == 0) {
        return {};
    }
    std::array<int, kStatisticKinds> rowOf{};
    StatisticsRows result = selectedStatisticsRows(m_options, rowOf);
    if (result.rows.empty() || m_columns.empty()) {
        return result;
    }
    std::vector<ColumnStatistics> statistics(m_columns.size());
    const ColumnReader read = [this](std::size_t column, std::size_t first, std::size_t count,
                                     double* out) { this->read(column, first, count, out); };
    // Columns are independent, so sharing the groups out among threads
    // changes no value.
    const std::size_t groups = (m_columns.size() + kGroup - 1) / kGroup;
    std::atomic<std::size_t> nextGroup = 0;
    const auto work = [&] {
        GroupSummariser summariser(read, m_rows, m_options.median);
        for (std::size_t g = nextGroup++; g < groups; g = nextGroup++) {
            summariser.Summarise(g * kGroup, m_columns.size(), statistics);
        }
    };
    // Groups go to whichever thread asks next, so this thread takes on what
    // threads that could not be started would have done.
    WorkerThreads threads;
    for (unsigned t = 1; t < std::min<std::size_t>(jobs, groups); ++t) {
        if (!threads.Start(work)) {
            break;
        }
    }
    work();
    threads.JoinAll();
    for (std::size_t c = 0; c < m_columns.size(); ++c) {
        for (std::size_t s = 0; s < kStatisticKinds; ++s) {
            if (rowOf[s] >= 0) {
                m_columns[c].Store(result.rows[static_cast<std::size_t>(rowOf[s])],
                                   statistics[c][s]);
            }
        }
    }
    return result;
}

} // namespace quorin::batch
