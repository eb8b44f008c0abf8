#include "batch/BatchAnalysis.h"

#include "batch/BatchThreads.h"
#include "plots/Hydropathy.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
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

constexpr double kWaterMass = 18.02;
constexpr std::string_view kEol = "\r\n";

/// The charged groups in the order the net charge sums them: the positive
/// ones (N-terminus, H, K, R), then the negative ones (C, D, E, Y, C-terminus).
constexpr std::array<int, 9> kChargedSlots = {core::kNTerminus, 7, 9, 15, 2, 3, 4, 20,
                                              core::kCTerminus};
constexpr int kPositiveGroups = 4;

/// The longest text of one number in a results line: a double in fixed form
/// with two decimals (309 integer digits at most), or a 64-bit integer.
constexpr std::size_t kMaxNumberText = 320;

/// "00" to "99", two characters each.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

/// Writes value with Decimals (0 to 2) at out exactly as std::to_chars in
/// fixed form would (the binary value rounded half to even), by integer
/// arithmetic on its mantissa; the general formatter is several times slower
/// and the batch writes some forty numbers per protein. Returns the end of the
/// text, or nullptr for a value it does not take (not finite, too large).
template <int Decimals>
char* writeFixedFast(char* out, double value)
{
    static_assert(Decimals >= 0 && Decimals <= 2);
    constexpr std::uint64_t kPower = Decimals == 0 ? 1 : Decimals == 1 ? 10 : 100;
    if (!std::isfinite(value)) {
        return nullptr;
    }
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const int exponentBits = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    int exponent = 0;
    if (exponentBits == 0) {
        exponent = -1074;
    } else {
        mantissa |= std::uint64_t{1} << 52;
        exponent = exponentBits - 1075;
    }
    // value = mantissa * 2^exponent, and mantissa * 100 < 2^60.
    const std::uint64_t scaled = mantissa * kPower;
    std::uint64_t rounded = 0;
    if (exponent >= 0) {
        if (exponent > 3) {
            return nullptr;
        }
        rounded = scaled << exponent;
    } else if (-exponent <= 60) {
        const int shift = -exponent;
        rounded = scaled >> shift;
        const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        if (rest > half || (rest == half && (rounded & 1) != 0)) {
            ++rounded;
        }
    }
    // else below half of the last place: zero.
    if (negative) {
        *out++ = '-';
    }
    // Nearly every value fits 32 bits, whose division by a constant is a
    // short multiplication.
    std::uint64_t integral =
        rounded <= UINT32_MAX
            ? std::uint64_t{static_cast<std::uint32_t>(rounded) / std::uint32_t{kPower}}
            : rounded / kPower;
    const std::uint64_t fraction = rounded - integral * kPower;
    int digits = 1;
    for (std::uint64_t rest = integral; rest >= 10; rest /= 10) {
        ++digits;
    }
    // The integer part from its back, two digits at a time.
    char* p = out + digits;
    while (integral >= 10) {
        p -= 2;
        std::memcpy(p, &kDigitPairs[2 * (integral % 100)], 2);
        integral /= 100;
    }
    if (p != out) {
        *--p = static_cast<char>('0' + integral);
    }
    out += digits;
    if constexpr (Decimals > 0) {
        *out++ = '.';
        if constexpr (Decimals == 1) {
            *out++ = static_cast<char>('0' + fraction);
        } else {
            std::memcpy(out, &kDigitPairs[2 * fraction], 2);
            out += 2;
        }
    }
    return out;
}

/// Writes value in fixed form with decimals (0 to 2) at out, at most
/// kMaxNumberText characters; returns the end of the text.
char* writeFixed(char* out, double value, int decimals)
{
    char* end = nullptr;
    switch (decimals) {
    case 0:
        end = writeFixedFast<0>(out, value);
        break;
    case 1:
        end = writeFixedFast<1>(out, value);
        break;
    case 2:
        end = writeFixedFast<2>(out, value);
        break;
    default:
        break;
    }
    if (end != nullptr) {
        return end;
    }
    return std::to_chars(out, out + kMaxNumberText, value, std::chars_format::fixed, decimals).ptr;
}

char* writeInteger(char* out, std::int64_t value)
{
    return std::to_chars(out, out + kMaxNumberText, value).ptr;
}

void appendFixed(std::string& out, double value, int decimals)
{
    char buffer[kMaxNumberText];
    out.append(buffer, writeFixed(buffer, value, decimals));
}

std::string asctimeText(std::time_t time)
{
    // The C library's 24-character form with English names, whatever the
    // locale: "Wed Jun 30 21:49:08 1993".
    static constexpr std::array<const char*, 7> kDays = {"Sun", "Mon", "Tue", "Wed",
                                                         "Thu", "Fri", "Sat"};
    static constexpr std::array<const char*, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm parts{};
    ::localtime_r(&time, &parts);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3s %.3s%3d %.2d:%.2d:%.2d %d",
                  kDays[static_cast<std::size_t>(parts.tm_wday) % 7],
                  kMonths[static_cast<std::size_t>(parts.tm_mon) % 12], parts.tm_mday,
                  parts.tm_hour, parts.tm_min, parts.tm_sec, 1900 + parts.tm_year);
    return buffer;
}

} // namespace

IsoelectricGrid::IsoelectricGrid(const core::ResidueTable& pKa)
    : m_denominators(static_cast<std::size_t>(kEnd - kFirst))
{
    for (int k = kFirst; k < kEnd; ++k) {
        const double pH = k * 0.01;
        auto& row = m_denominators[static_cast<std::size_t>(k - kFirst)];
        for (int g = 0; g < kGroups; ++g) {
            const double pK =
                pKa[static_cast<std::size_t>(kChargedSlots[static_cast<std::size_t>(g)])];
            row[static_cast<std::size_t>(g)] =
                g < kPositiveGroups ? 1.0 + std::pow(10.0, pH - pK) : 1.0 + std::pow(10.0, pK - pH);
        }
    }
}

double IsoelectricGrid::netCharge(const std::array<double, kGroups>& n, int k) const
{
    const auto& d = m_denominators[static_cast<std::size_t>(k - kFirst)];
    double z = 0.0;
    for (std::size_t g = 0; g < kPositiveGroups; ++g) {
        z += n[g] / d[g];
    }
    for (std::size_t g = kPositiveGroups; g < kGroups; ++g) {
        z -= n[g] / d[g];
    }
    return z;
}

double
IsoelectricGrid::IsoelectricPoint(const std::array<std::int64_t, core::kResidueSlots>& counts) const
{
    std::array<double, kGroups> n{};
    for (std::size_t g = 0; g < kGroups; ++g) {
        n[g] = static_cast<double>(counts[static_cast<std::size_t>(kChargedSlots[g])]);
    }
    // The bisection for the first grid index whose charge is at most zero (kEnd
    // when none): the charge never rises with the pH. It keeps the charges it
    // computed at the ends it closes in on.
    int low = kFirst;
    int high = kEnd;
    std::optional<double> atHigh;
    std::optional<double> belowLow;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const double z = netCharge(n, middle);
        if (z <= 0.0) {
            high = middle;
            atHigh = z;
        } else {
            low = middle + 1;
            belowLow = z;
        }
    }
    const int crossing = low;
    if (crossing == kFirst) {
        return crossing * 0.01;
    }
    // The last positive charge may stand on a plateau; the grid search keeps
    // its first point.
    const double positive = belowLow ? *belowLow : netCharge(n, crossing - 1);
    int best = crossing - 1;
    if (best > kFirst && netCharge(n, best - 1) <= positive) {
        int first = kFirst;
        int last = best - 1;
        while (first < last) {
            const int middle = first + (last - first) / 2;
            if (netCharge(n, middle) <= positive) {
                last = middle;
            } else {
                first = middle + 1;
            }
        }
        best = first;
    }
    if (crossing < kEnd && std::fabs(atHigh ? *atHigh : netCharge(n, crossing)) < positive) {
        best = crossing;
    }
    return best * 0.01;
}

BatchAnalyzer::BatchAnalyzer(const core::PropertyRecord& record, const BatchOptions& options,
                             int scaleIndex)
    : m_options(options), m_mass(record.residueMass), m_epsDenatured(record.absorptionDenatured),
      m_epsNative(record.absorptionNative), m_grid(record.pKa)
{
    if (options.UsesScale()) {
        m_hydropathy = record.scales.at(static_cast<std::size_t>(scaleIndex)).values;
    }
    for (int c = 0; c < 256; ++c) {
        const auto letter = static_cast<char>(c);
        m_slots[static_cast<std::size_t>(c)] =
            core::IsResidueLetter(letter)
                ? static_cast<std::int8_t>(core::IndexOfLetter(core::UpperCaseResidue(letter)))
                : std::int8_t{-1};
    }
}

void BatchAnalyzer::Analyse(std::string_view body, PROPERTIES& row, AnalysisScratch& scratch) const
{
    row = PROPERTIES{};
    auto& counts = row.absoluteComposition;
    const bool needValues = m_options.UsesScale();
    // Grown to the longest body seen and never shrunk: the loop writes without
    // a capacity check per residue, and nothing is filled twice.
    if (needValues && scratch.prefixSums.size() < body.size() + 1) {
        scratch.values.resize(body.size());
        scratch.prefixSums.resize(body.size() + 1);
    }
    double* const values = scratch.values.data();
    double* const prefixSums = scratch.prefixSums.data();
    std::size_t valueCount = 0;
    // One running sum serves GRAVY (its last value) and the helix windows.
    double valueSum = 0.0;
    if (needValues) {
        prefixSums[0] = 0.0;
    }
    for (const char c : body) {
        const std::int8_t slot = m_slots[static_cast<unsigned char>(c)];
        if (slot < 0) {
            continue;
        }
        ++counts[static_cast<std::size_t>(slot)];
        if (needValues) {
            const double value = m_hydropathy[static_cast<std::size_t>(slot)];
            values[valueCount++] = value;
            valueSum += value;
            prefixSums[valueCount] = valueSum;
        }
    }
    std::int64_t length = 0;
    for (std::size_t i = 1; i <= 20; ++i) {
        length += counts[i];
    }
    row.length = length;
    // The sums run in slot order from the same start values as the property
    // record's, so every value is bit for bit the record's.
    if (m_options.molecularWeight) {
        double sum = kWaterMass;
        for (std::size_t i = 1; i <= 20; ++i) {
            sum += static_cast<double>(counts[i]) * m_mass[i];
        }
        row.molecularWeight = sum;
    }
    if (m_options.epsUrea || m_options.epsNative) {
        double denatured = 0.0;
        double native = 0.0;
        for (std::size_t i = 1; i <= 20; ++i) {
            denatured += static_cast<double>(counts[i]) * m_epsDenatured[i];
            native += static_cast<double>(counts[i]) * m_epsNative[i];
        }
        row.epsDenatured = m_options.epsUrea ? denatured : 0.0;
        row.epsNative = m_options.epsNative ? native : 0.0;
    }
    if (m_options.isoelectricPoint) {
        row.isoelectricPoint = m_grid.IsoelectricPoint(counts);
    }
    // GRAVY and the helices run over every position of the cleaned sequence,
    // X and O included, as the hydropathy plot reads them.
    if (m_options.gravy && valueCount > 0) {
        row.gravy = valueSum / static_cast<double>(valueCount);
    }
    if (m_options.helices) {
        // Bounds the sum of the values' magnitudes from the counts (X and O
        // share the C-terminus slot, which counts one beyond them).
        double absoluteSum = static_cast<double>(counts[core::kCTerminus] - 1) *
                             std::fabs(m_hydropathy[core::kCTerminus]);
        for (std::size_t i = 1; i <= 20; ++i) {
            absoluteSum += static_cast<double>(counts[i]) * std::fabs(m_hydropathy[i]);
        }
        row.helixCount = plots::PredictHelices(std::span<const double>(values, valueCount),
                                               std::span<const double>(prefixSums, valueCount + 1),
                                               absoluteSum, m_options.threshold);
    }
    if (length > 0) {
        for (std::size_t i = 0; i < core::kResidueSlots; ++i) {
            row.relativeComposition[i] =
                static_cast<double>(counts[i]) / static_cast<double>(length);
        }
    }
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

StatisticsRows ColumnTable::Statistics(unsigned jobs) const
{
    const BatchOptions& options = m_options;
    const std::vector<Column>& columns = m_columns;
    StatisticsRows result;
    if (m_rows == 0) {
        return result;
    }
    enum Statistic
    {
        Mean,
        Sd,
        Se,
        Minimum,
        Maximum,
        Median
    };
    const std::array<std::pair<bool, std::string_view>, 6> kinds = {{
        {options.mean, "Mean"},
        {options.standardDeviation, "SD"},
        {options.standardError, "SE"},
        {options.minimum, "Minimum"},
        {options.maximum, "Maximum"},
        {options.median, "Median"},
    }};
    std::array<int, 6> rowOf{};
    for (std::size_t s = 0; s < kinds.size(); ++s) {
        rowOf[s] = -1;
        if (kinds[s].first) {
            rowOf[s] = static_cast<int>(result.rows.size());
            result.rows.emplace_back();
            result.names.push_back(kinds[s].second);
        }
    }
    if (result.rows.empty() || columns.empty()) {
        return result;
    }
    const std::size_t n = m_rows;
    const auto count = static_cast<double>(n);
    std::vector<std::array<double, 6>> statistics(columns.size());

    // kGroup columns go through the rows side by side, a chunk of rows at a
    // time, so that their additions overlap; each column is still summed in
    // row order. A short last group repeats its last column.
    constexpr std::size_t kGroup = 4;
    constexpr std::size_t kChunk = 2048;
    // A sample of kSample values brackets a median; the bracket reaches
    // kMargin sample ranks either side of the middle.
    constexpr std::size_t kSample = 4096;
    constexpr std::size_t kMargin = 128;
    const bool sampled = options.median && n >= 8 * kSample;
    const auto sampleRow = [n](std::size_t k) { return k * n / kSample; };

    const auto summarise = [&](std::size_t first, std::vector<double>& chunk,
                               std::unique_ptr<double[]>& gathered) {
        std::array<std::size_t, kGroup> group{};
        for (std::size_t k = 0; k < kGroup; ++k) {
            group[k] = std::min(first + k, columns.size() - 1);
        }
        const auto readChunk = [&](std::size_t row, std::size_t rows) {
            for (std::size_t k = 0; k < kGroup; ++k) {
                read(group[k], row, rows, chunk.data() + k * kChunk);
            }
        };
        std::array<double, kGroup> sum{};
        std::array<double, kGroup> low{};
        std::array<double, kGroup> high{};
        std::vector<double> samples(sampled ? kGroup * kSample : 0);
        std::size_t nextSample = 0;
        for (std::size_t row = 0; row < n; row += kChunk) {
            const std::size_t rows = std::min(kChunk, n - row);
            readChunk(row, rows);
            if (row == 0) {
                for (std::size_t k = 0; k < kGroup; ++k) {
                    low[k] = high[k] = chunk[k * kChunk];
                }
            }
            for (std::size_t i = 0; i < rows; ++i) {
                for (std::size_t k = 0; k < kGroup; ++k) {
                    const double value = chunk[k * kChunk + i];
                    sum[k] += value;
                    low[k] = value < low[k] ? value : low[k];
                    high[k] = high[k] < value ? value : high[k];
                }
            }
            for (; sampled && nextSample < kSample && sampleRow(nextSample) < row + rows;
                 ++nextSample) {
                for (std::size_t k = 0; k < kGroup; ++k) {
                    samples[k * kSample + nextSample] =
                        chunk[k * kChunk + sampleRow(nextSample) - row];
                }
            }
        }
        std::array<double, kGroup> mean{};
        for (std::size_t k = 0; k < kGroup; ++k) {
            mean[k] = sum[k] / count;
        }

        std::vector<MiddleBracket> brackets;
        if (sampled) {
            if (!gathered) {
                // Only the gathered values are ever touched.
                gathered = std::make_unique_for_overwrite<double[]>(kGroup * n);
            }
            for (std::size_t k = 0; k < kGroup; ++k) {
                const auto sample = samples.begin() + static_cast<std::ptrdiff_t>(k * kSample);
                std::sort(sample, sample + kSample);
                brackets.emplace_back(sample[kSample / 2 - kMargin], sample[kSample / 2 + kMargin],
                                      gathered.get() + k * n);
            }
        }
        std::array<double, kGroup> squares{};
        for (std::size_t row = 0; row < n && (n > 1 || sampled); row += kChunk) {
            const std::size_t rows = std::min(kChunk, n - row);
            readChunk(row, rows);
            for (std::size_t i = 0; i < rows; ++i) {
                for (std::size_t k = 0; k < kGroup; ++k) {
                    const double deviation = mean[k] - chunk[k * kChunk + i];
                    squares[k] += deviation * deviation;
                }
            }
            for (std::size_t k = 0; k < brackets.size(); ++k) {
                brackets[k].Take(std::span<const double>(chunk.data() + k * kChunk, rows));
            }
        }

        for (std::size_t k = 0; k < kGroup && first + k < columns.size(); ++k) {
            std::array<double, 6>& statistic = statistics[first + k];
            statistic[Mean] = mean[k];
            if (n > 1) {
                statistic[Sd] = std::sqrt(squares[k] / (count - 1.0));
            }
            statistic[Se] = statistic[Sd] / std::sqrt(count);
            statistic[Minimum] = low[k];
            statistic[Maximum] = high[k];
            if (!options.median) {
                continue;
            }
            const auto middle = sampled ? brackets[k].MiddleValues(n) : std::nullopt;
            if (middle) {
                statistic[Median] =
                    n % 2 == 0 ? (middle->first + middle->second) / 2.0 : middle->second;
            } else {
                std::vector<double> all(n);
                read(group[k], 0, n, all.data());
                statistic[Median] = medianOfAll(all);
            }
        }
    };

    // Columns are independent, so sharing the groups out among threads
    // changes no value.
    const std::size_t groups = (columns.size() + kGroup - 1) / kGroup;
    std::atomic<std::size_t> nextGroup = 0;
    const auto work = [&] {
        std::vector<double> chunk(kGroup * kChunk);
        std::unique_ptr<double[]> gathered;
        for (std::size_t g = nextGroup++; g < groups; g = nextGroup++) {
            summarise(g * kGroup, chunk, gathered);
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
    for (std::size_t c = 0; c < columns.size(); ++c) {
        for (std::size_t s = 0; s < kinds.size(); ++s) {
            if (rowOf[s] >= 0) {
                columns[c].Store(result.rows[static_cast<std::size_t>(rowOf[s])], statistics[c][s]);
            }
        }
    }
    return result;
}

std::string ResultsHeader(const BatchOptions& options)
{
    std::string header;
    const auto add = [&](bool selected, std::string_view caption) {
        if (selected) {
            header += caption;
            header += '\t';
        }
    };
    add(options.length, "Length");
    add(options.molecularWeight, "MW");
    add(options.isoelectricPoint, "IEP");
    add(options.epsUrea, "eps(urea)");
    add(options.epsNative, "eps(native)");
    add(options.gravy, "GRAVY");
    add(options.helices, "Transmembrane helices");
    for (const auto& [selected, suffix] : {std::pair{options.relativeComposition, "(rel.)"},
                                           std::pair{options.absoluteComposition, "(abs.)"}}) {
        if (!selected) {
            continue;
        }
        header += "Composition ";
        for (const char letter : core::kResidueLetters) {
            header += letter;
            header += suffix;
            header += '\t';
        }
    }
    header += "Name";
    header += kEol;
    return header;
}

void AppendResultLine(std::string& out, const PROPERTIES& row, std::string_view name,
                      const BatchOptions& options)
{
    // The numbers are written into one buffer large enough for the longest of
    // each, then appended at once.
    constexpr std::size_t kMaxNumbers = 7 + 2 * 20;
    std::array<char, kMaxNumbers*(kMaxNumberText + 1)> buffer;
    char* p = buffer.data();
    const auto fixed = [&p](double value, int decimals) {
        p = writeFixed(p, value, decimals);
        *p++ = '\t';
    };
    const auto integer = [&p](std::int64_t value) {
        p = writeInteger(p, value);
        *p++ = '\t';
    };
    if (options.length) {
        integer(row.length);
    }
    if (options.molecularWeight) {
        fixed(row.molecularWeight, 0);
    }
    if (options.isoelectricPoint) {
        fixed(row.isoelectricPoint, 1);
    }
    if (options.epsUrea) {
        fixed(row.epsDenatured, 0);
    }
    if (options.epsNative) {
        fixed(row.epsNative, 0);
    }
    if (options.gravy) {
        fixed(row.gravy, 2);
    }
    if (options.helices) {
        integer(row.helixCount);
    }
    if (options.relativeComposition) {
        for (std::size_t i = 1; i <= 20; ++i) {
            fixed(row.relativeComposition[i], 2);
        }
    }
    if (options.absoluteComposition) {
        for (std::size_t i = 1; i <= 20; ++i) {
            integer(row.absoluteComposition[i]);
        }
    }
    out.append(buffer.data(), p);
    out += name;
    out += kEol;
}

std::string BatchLogText(std::string_view dataPath, std::string_view resultsPath,
                         std::size_t sequenceCount, const BatchOptions& options,
                         std::string_view scaleName, std::time_t time)
{
    std::string log = "Log of Batch Analysis\r\n\r\n";
    log += asctimeText(time) + "\r\n";
    log += "Data file: " + std::string(dataPath) + "\r\n";
    log += "Output: " + std::string(resultsPath) + "\r\n";
    log += "# of Sequences: " + std::to_string(sequenceCount) + "\r\n";
    log += "Options\r\n";
    if (options.UsesScale()) {
        log += "Hydropathy Scale: " + std::string(scaleName) + "\r\n";
    }
    if (options.helices) {
        log += "Threshold for putative transmembrane helices: ";
        appendFixed(log, options.threshold, 2);
        log += "\r\n";
    }
    return log;
}

} // namespace quorin::batch
