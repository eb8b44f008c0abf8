#include "batch/BatchAnalysis.h"

#include "plots/Hydropathy.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
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

/// Writes value with 0 to 2 decimals exactly as std::to_chars in fixed form
/// would (the binary value rounded half to even), by integer arithmetic on
/// its mantissa; the general formatter is several times slower and the batch
/// writes some twenty numbers per protein. Returns false for a value it does
/// not take (not finite, too large, more decimals).
bool appendFixedFast(std::string& out, double value, int decimals)
{
    static constexpr std::array<std::uint64_t, 3> kPowers = {1, 10, 100};
    if (decimals < 0 || decimals > 2 || !std::isfinite(value)) {
        return false;
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
    const std::uint64_t scaled = mantissa * kPowers[static_cast<std::size_t>(decimals)];
    std::uint64_t rounded = 0;
    if (exponent >= 0) {
        if (exponent > 3) {
            return false;
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
    char buffer[32];
    char* end = buffer + sizeof buffer;
    char* p = end;
    for (int d = 0; d < decimals; ++d) {
        *--p = static_cast<char>('0' + rounded % 10);
        rounded /= 10;
    }
    if (decimals > 0) {
        *--p = '.';
    }
    do {
        *--p = static_cast<char>('0' + rounded % 10);
        rounded /= 10;
    } while (rounded != 0);
    if (negative) {
        *--p = '-';
    }
    out.append(p, end);
    return true;
}

void appendFixed(std::string& out, double value, int decimals)
{
    if (appendFixedFast(out, value, decimals)) {
        return;
    }
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    out.append(buffer, result.ptr);
}

void appendInteger(std::string& out, std::int64_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
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

ColumnTable::ColumnTable(const BatchOptions& options, std::size_t rows)
    : m_options(options), m_columns(SelectedColumns(options)), m_rows(rows),
      m_values(m_columns.size() * rows)
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
    if (result.rows.empty()) {
        return result;
    }
    const std::size_t n = m_rows;
    const auto count = static_cast<double>(n);
    // Columns are independent and each is summed in row order, so sharing them
    // out among threads changes no value.
    std::atomic<std::size_t> nextColumn = 0;
    const auto work = [&] {
        std::vector<double> values(n);
        for (std::size_t c = nextColumn++; c < columns.size(); c = nextColumn++) {
            const Column& column = columns[c];
            double sum = 0.0;
            const double* const stored = m_values.data() + c * n;
            for (std::size_t i = 0; i < n; ++i) {
                values[i] = stored[i];
                sum += values[i];
            }
            std::array<double, 6> statistic{};
            statistic[Mean] = sum / count;
            if (n > 1) {
                double squares = 0.0;
                for (const double value : values) {
                    const double deviation = statistic[Mean] - value;
                    squares += deviation * deviation;
                }
                statistic[Sd] = std::sqrt(squares / (count - 1.0));
            }
            statistic[Se] = statistic[Sd] / std::sqrt(count);
            const auto [low, high] = std::minmax_element(values.begin(), values.end());
            statistic[Minimum] = *low;
            statistic[Maximum] = *high;
            const bool integral = column.kind == Column::Kind::Length ||
                                  column.kind == Column::Kind::Helices ||
                                  column.kind == Column::Kind::Absolute;
            if (options.median && integral && *high - *low < double(1 << 22)) {
                // Counts of small whole numbers: the middle values without a sort.
                std::vector<std::size_t> histogram(static_cast<std::size_t>(*high - *low) + 1);
                for (const double value : values) {
                    ++histogram[static_cast<std::size_t>(value - *low)];
                }
                const auto nth = [&](std::size_t rank) {
                    std::size_t seen = 0;
                    for (std::size_t v = 0;; ++v) {
                        seen += histogram[v];
                        if (seen > rank) {
                            return *low + static_cast<double>(v);
                        }
                    }
                };
                statistic[Median] = n % 2 == 0 ? (nth(n / 2 - 1) + nth(n / 2)) / 2.0 : nth(n / 2);
            } else if (options.median) {
                const auto middle = values.begin() + static_cast<std::ptrdiff_t>(n / 2);
                std::nth_element(values.begin(), middle, values.end());
                if (n % 2 == 0) {
                    const double upper = *middle;
                    const double lower = *std::max_element(values.begin(), middle);
                    statistic[Median] = (lower + upper) / 2.0;
                } else {
                    statistic[Median] = *middle;
                }
            }
            for (std::size_t s = 0; s < kinds.size(); ++s) {
                if (rowOf[s] >= 0) {
                    column.Store(result.rows[static_cast<std::size_t>(rowOf[s])], statistic[s]);
                }
            }
        }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < std::min<std::size_t>(jobs, columns.size()); ++t) {
        threads.emplace_back(work);
    }
    work();
    for (std::thread& thread : threads) {
        thread.join();
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
    if (options.length) {
        appendInteger(out, row.length);
        out += '\t';
    }
    if (options.molecularWeight) {
        appendFixed(out, row.molecularWeight, 0);
        out += '\t';
    }
    if (options.isoelectricPoint) {
        appendFixed(out, row.isoelectricPoint, 1);
        out += '\t';
    }
    if (options.epsUrea) {
        appendFixed(out, row.epsDenatured, 0);
        out += '\t';
    }
    if (options.epsNative) {
        appendFixed(out, row.epsNative, 0);
        out += '\t';
    }
    if (options.gravy) {
        appendFixed(out, row.gravy, 2);
        out += '\t';
    }
    if (options.helices) {
        appendInteger(out, row.helixCount);
        out += '\t';
    }
    if (options.relativeComposition) {
        for (std::size_t i = 1; i <= 20; ++i) {
            appendFixed(out, row.relativeComposition[i], 2);
            out += '\t';
        }
    }
    if (options.absoluteComposition) {
        for (std::size_t i = 1; i <= 20; ++i) {
            appendInteger(out, row.absoluteComposition[i]);
            out += '\t';
        }
    }
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
