#include "batch/BatchAnalysis.h"

#include "plots/Hydropathy.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <chrono>
#include <optional>
#include <span>
#include <thread>

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
    // First index in [low, high) whose charge is at most limit (high when none):
    // the charge never rises with the pH.
    const auto firstAtMost = [&](int low, int high, double limit) {
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (netCharge(n, middle) <= limit) {
                high = middle;
            } else {
                low = middle + 1;
            }
        }
        return low;
    };
    const int crossing = firstAtMost(kFirst, kEnd, 0.0);
    int best = crossing;
    if (crossing > kFirst) {
        // The last positive charge may stand on a plateau; the grid search keeps
        // its first point.
        const double positive = netCharge(n, crossing - 1);
        const int plateauStart = firstAtMost(kFirst, crossing - 1, positive);
        best = plateauStart;
        if (crossing < kEnd && std::fabs(netCharge(n, crossing)) < positive) {
            best = crossing;
        }
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
    if (needValues && scratch.values.size() < body.size()) {
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

/// The values of rank (n - 1) / 2 and n / 2 of n values in ascending order:
/// the two middle values of an even count, the middle one twice of an odd
/// count. A sample of the values brackets the middle ranks; one pass counts
/// the values below the bracket and at its ends and gathers those within it,
/// and only these are ordered. Where the bracket misses (values in an unlucky
/// order), a copy of them all is ordered. buffer is working memory.
std::pair<double, double> middleValues(std::span<const double> values, std::vector<double>& buffer)
{
    const std::size_t n = values.size();
    const std::array<std::size_t, 2> ranks = {(n - 1) / 2, n / 2};
    std::array<std::optional<double>, 2> found;
    constexpr std::size_t kSample = 4096;
    constexpr std::size_t kMargin = 128;
    if (n >= 8 * kSample) {
        std::array<double, kSample> sample{};
        for (std::size_t k = 0; k < kSample; ++k) {
            sample[k] = values[k * n / kSample];
        }
        std::sort(sample.begin(), sample.end());
        const double low = sample[kSample / 2 - kMargin];
        const double high = sample[kSample / 2 + kMargin];
        const bool distinct = low != high;
        buffer.resize(n);
        std::size_t below = 0;
        std::size_t atLow = 0;
        std::size_t atHigh = 0;
        std::size_t inside = 0;
        // Without branches: a value lands beyond the bracket about half of the
        // time either way.
        for (const double value : values) {
            below += value < low ? 1 : 0;
            atLow += value == low ? 1 : 0;
            atHigh += distinct && value == high ? 1 : 0;
            buffer[inside] = value;
            inside += low < value && value < high ? 1 : 0;
        }
        for (std::size_t r = 0; r < ranks.size(); ++r) {
            std::size_t rank = ranks[r];
            if (rank < below) {
                continue;
            }
            rank -= below;
            if (rank < atLow) {
                found[r] = low;
                continue;
            }
            rank -= atLow;
            if (rank < inside) {
                const auto nth = buffer.begin() + static_cast<std::ptrdiff_t>(rank);
                std::nth_element(buffer.begin(), nth,
                                 buffer.begin() + static_cast<std::ptrdiff_t>(inside));
                found[r] = *nth;
                continue;
            }
            rank -= inside;
            if (rank < atHigh) {
                found[r] = high;
            }
        }
    }
    if (!found[0] || !found[1]) {
        buffer.assign(values.begin(), values.end());
        const auto middle = buffer.begin() + static_cast<std::ptrdiff_t>(n / 2);
        std::nth_element(buffer.begin(), middle, buffer.end());
        found = {n % 2 == 0 ? *std::max_element(buffer.begin(), middle) : *middle, *middle};
    }
    return {*found[0], *found[1]};
}

} // namespace

ColumnTable::ColumnTable(const BatchOptions& options, std::size_t rows)
    : m_options(options), m_columns(SelectedColumns(options)), m_rows(rows),
      // Every value is set before it is read: no pass that zeroes the table.
      m_values(std::make_unique_for_overwrite<double[]>(m_columns.size() * rows))
{}

void ColumnTable::Set(std::size_t row, const PROPERTIES& values)
{
    for (std::size_t c = 0; c < m_columns.size(); ++c) {
        m_values[c * m_rows + row] = m_columns[c].Read(values);
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
    const auto column = [&](std::size_t c) {
        return std::span<const double>(m_values.get() + c * n, n);
    };

    // The sums of a column run in row order, as a single pass would take them;
    // kGroup columns go through the rows side by side so that their additions
    // overlap. A short last group repeats its last column.
    constexpr std::size_t kGroup = 4;
    const auto moments = [&](std::size_t first) {
        std::array<const double*, kGroup> values{};
        for (std::size_t k = 0; k < kGroup; ++k) {
            values[k] = column(std::min(first + k, columns.size() - 1)).data();
        }
        std::array<double, kGroup> sum{};
        std::array<double, kGroup> low{};
        std::array<double, kGroup> high{};
        for (std::size_t k = 0; k < kGroup; ++k) {
            low[k] = high[k] = values[k][0];
        }
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t k = 0; k < kGroup; ++k) {
                const double value = values[k][i];
                sum[k] += value;
                low[k] = value < low[k] ? value : low[k];
                high[k] = high[k] < value ? value : high[k];
            }
        }
        std::array<double, kGroup> mean{};
        std::array<double, kGroup> squares{};
        for (std::size_t k = 0; k < kGroup; ++k) {
            mean[k] = sum[k] / count;
        }
        if (n > 1) {
            for (std::size_t i = 0; i < n; ++i) {
                for (std::size_t k = 0; k < kGroup; ++k) {
                    const double deviation = mean[k] - values[k][i];
                    squares[k] += deviation * deviation;
                }
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
        }
    };
    const auto median = [&](std::size_t c, std::vector<double>& buffer) {
        const auto [lower, upper] = middleValues(column(c), buffer);
        statistics[c][Median] = n % 2 == 0 ? (lower + upper) / 2.0 : upper;
    };

    // The tasks: the groups' moments, then each column's median; columns are
    // independent, so sharing them out among threads changes no value.
    const std::size_t groups = (columns.size() + kGroup - 1) / kGroup;
    const std::size_t tasks = groups + (options.median ? columns.size() : 0);
    std::atomic<std::size_t> nextTask = 0;
    const auto work = [&] {
        std::vector<double> buffer;
        for (std::size_t t = nextTask++; t < tasks; t = nextTask++) {
            if (t < groups) {
                moments(t * kGroup);
            } else {
                median(t - groups, buffer);
            }

        }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < std::min<std::size_t>(jobs, tasks); ++t) {
        threads.emplace_back(work);
    }
    work();
    for (std::thread& thread : threads) {
        thread.join();
    }
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
