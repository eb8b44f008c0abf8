#include "batch/BatchTexts.h"

#include "core/NumberText.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace quorin::batch {
namespace {

constexpr std::string_view kEol = "\r\n";

char* writeInteger(char* out, std::int64_t value)
{
    return std::to_chars(out, out + core::kFixedMaxChars, value).ptr;
}

void appendFixed(std::string& out, double value, int decimals)
{
    char buffer[core::kFixedMaxChars];
    out.append(buffer, core::WriteFixed(buffer, value, decimals));
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
    std::array<char, kMaxNumbers*(core::kFixedMaxChars + 1)> buffer;
    char* p = buffer.data();
    const auto fixed = [&p](double value, int decimals) {
        p = core::WriteFixed(p, value, decimals);
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
