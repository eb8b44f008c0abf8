#include "batch/BatchJob.h"
#include "batch/BatchRun.h"
#include "batch/BatchStatistics.h"
#include "batch/BatchTexts.h"
#include "batch/BatchThreads.h"
#include "core/Settings.h"
#include "core/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <utility>
#include <zlib.h>

namespace quorin::batch {
namespace {

core::PropertyRecord analysisRecord()
{
    core::PropertyRecord record;
    record.ResetCurrentTables();
    record.scales = record.builtinScales;
    return record;
}

std::string runResults(std::string_view text, const BatchOptions& options, unsigned jobs = 1,
                       bool rowsOnly = false)
{
    const BatchAnalyzer analyzer(analysisRecord(), options, 0);
    BatchControl control;
    control.jobs = jobs;
    std::string out;
    WriteBatchResults(SplitBatchRecords(text), text.size(), analyzer, options, rowsOnly, control,
                      [&](std::string_view bytes) { out += bytes; });
    return out;
}

TEST(BatchInputTest, RecordsRunFromOneGreaterThanToTheNext)
{
    struct Case
    {
        std::string text;
        std::vector<std::pair<std::string, std::string>> records;
    };
    const std::vector<Case> cases = {
        {">a\r\nMKV\r\n>b\r\nAC\r\n", {{"a", "MKV\r\n"}, {"b", "AC\r\n"}}},
        {">last\nMKVL", {{"last", "MKVL"}}},
        {">x\n\n\r\nAB>y z\nC", {{"x", "AB"}, {"y z", "C"}}},
        {">only a header", {{"only a header", ""}}},
        {"\xEF\xBB\xBF>bom\nM", {{"bom", "M"}}},
        {"\n>blank line first\nMKV\n", {}},
        {">", {}},
        {"MKV\n>a\nM", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::pair<std::string, std::string>> found;
        for (const BatchRecord& r : SplitBatchRecords(c.text)) {
            found.emplace_back(r.name, r.body);
        }
        EXPECT_EQ(found, c.records);
    }
}

// A text large enough to be split in parts on several threads gives the
// records of one pass, wherever the parts begin: among ">" inside names and
// bodies, CR and LF line breaks, empty bodies and blank lines.
TEST(BatchInputTest, PartsOnThreadsGiveTheRecordsOfOnePass)
{
    const std::vector<std::string> pieces = {">name a>b\r\nMKVL>x y\nACD\n",
                                             ">\n\n>e\r\r\nW",
                                             ">h>\nM\r\n",
                                             ">lines\n" + std::string(60, 'A') + "\n" +
                                                 std::string(60, 'C') + "\n",
                                             ">p\nMK\n>>q\n",
                                             "\n>after a blank\nKR>",
                                             ">a" + std::string(100, '>') + "\nMK\n",
                                             ">z\rQ\r>"};
    std::mt19937 random(3);
    std::string text = ">first\n";
    while (text.size() < (std::size_t{13} << 20)) {
        text += pieces[random() % pieces.size()];
    }
    const auto flatten = [](const std::vector<BatchRecord>& records) {
        std::vector<std::tuple<std::string_view, std::string_view, std::size_t>> flat;
        for (const BatchRecord& r : records) {
            flat.emplace_back(r.name, r.body, r.offset);
        }
        return flat;
    };
    const auto one = flatten(SplitBatchRecords(text, 1));
    ASSERT_GT(one.size(), 10000U);
    for (const unsigned jobs : {2U, 3U, 4U}) {
        SCOPED_TRACE(jobs);
        EXPECT_EQ(flatten(SplitBatchRecords(text, jobs)), one);
    }
}

/// Writes text to path as gzip data.
void writeCompressed(const std::filesystem::path& path, const std::string& text)
{
    gzFile file = ::gzopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(::gzwrite(file, text.data(), static_cast<unsigned>(text.size())),
              static_cast<int>(text.size()));
    ASSERT_EQ(::gzclose(file), Z_OK);
}

// A batch input is analysed whole or not at all: compressed data that end
// early or are corrupt, a file that changes while it is read and more text
// than the ceiling are refused with what happened, never taken for their
// readable part.
TEST(BatchInputTest, AnInputReadOnlyInPartIsRefused)
{
    test::TempDir dir;
    std::string text;
    for (int n = 0; text.size() < (std::size_t{9} << 20); ++n) {
        text += ">p" + std::to_string(n) + "\nMKVLAAGRKDEFPQWYHHLLKRSTV\n";
    }
    writeCompressed(dir / "whole.fa.gz", text);
    const std::string packed = test::ReadFile(dir / "whole.fa.gz");
    test::WriteFile(dir / "cut.fa.gz", packed.substr(0, packed.size() / 2));
    std::string garbled = packed;
    for (std::size_t i = packed.size() / 3; i < packed.size() / 3 + 64; ++i) {
        garbled[i] = static_cast<char>(garbled[i] ^ 0x55);
    }
    test::WriteFile(dir / "garbled.fa.gz", garbled);
    std::string badCheck = packed;
    badCheck[packed.size() - 8] = static_cast<char>(badCheck[packed.size() - 8] ^ 1);
    test::WriteFile(dir / "check.fa.gz", badCheck);
    test::WriteFile(dir / "plain.fa", text);

    const auto path = [&](const char* name) { return (dir / name).string(); };
    const std::string corrupt = ": the compressed data are truncated or corrupt";
    const struct
    {
        std::string name;
        std::uint64_t maxBytes;
        /// Done to the file once the first piece is read.
        std::function<void(const std::string& file)> meanwhile;
        std::string refusal;
    } rows[] = {
        {"cut.fa.gz", core::kMaxInputBytes, {}, path("cut.fa.gz") + corrupt},
        {"garbled.fa.gz", core::kMaxInputBytes, {}, path("garbled.fa.gz") + corrupt},
        {"check.fa.gz", core::kMaxInputBytes, {}, path("check.fa.gz") + corrupt},
        {"whole.fa.gz",
         std::uint64_t{1} << 20,
         {},
         "Cannot open " + path("whole.fa.gz") +
             ": It holds more than 1 GiB of text, the most the program reads"},
        {"plain.fa",
         std::uint64_t{1} << 20,
         {},
         "Cannot open " + path("plain.fa") +
             ": It holds more than 1 GiB, the most the program "
             "reads"},
        {"plain.fa", core::kMaxInputBytes,
         [](const std::string& file) { std::filesystem::resize_file(file, 1 << 20); },
         path("plain.fa") + " changed while it was read"},
        {"plain.fa", core::kMaxInputBytes,
         [&](const std::string& file) {
             std::string other = text;
             other[text.size() - 2] = 'W';
             test::WriteFile(file, other);
         },
         path("plain.fa") + " changed while it was read"},
        {"plain.fa", core::kMaxInputBytes,
         [&](const std::string& file) { test::WriteFile(file, text + ">more\nMK\n"); },
         path("plain.fa") + " changed while it was read"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.refusal);
        test::WriteFile(dir / "plain.fa", text);
        BatchReadOptions options;
        options.maxBytes = row.maxBytes;
        bool first = true;
        options.progress = [&](std::uint64_t) {
            if (row.meanwhile && std::exchange(first, false)) {
                row.meanwhile(path(row.name.c_str()));
            }
        };
        core::FileStatus status;
        const BatchText read = BatchText::Read(path(row.name.c_str()), status, options);
        EXPECT_FALSE(status);
        EXPECT_EQ(BatchInputRefusal(path(row.name.c_str()), status), row.refusal);
        EXPECT_TRUE(read.View().empty());
    }
    test::WriteFile(dir / "plain.fa", text);
    core::FileStatus status;
    for (const char* name : {"whole.fa.gz", "plain.fa"}) {
        SCOPED_TRACE(name);
        const BatchText read = BatchText::Read(path(name), status);
        // Not EXPECT_EQ: the report of two texts of megabytes that differ
        // would take more memory than the machine has.
        EXPECT_TRUE(read.View() == text) << read.View().size() << " bytes read";
        EXPECT_TRUE(status) << status.Error();
    }
    EXPECT_EQ(BatchText::Read(path("missing.fa"), status).View(), "");
    EXPECT_EQ(BatchInputRefusal(path("missing.fa"), status), "File not found!");
}

TEST(BatchResultsTest, TwoRecordsWithTheDefaultsAndTheirStatistics)
{
    std::string results = runResults(">a\r\nMKV\r\n>b\r\nAC\r\n", BatchOptions{});
    ASSERT_TRUE(results.ends_with("\r\n"));
    std::vector<std::string> lines;
    for (std::size_t end; (end = results.find("\r\n")) != std::string::npos;
         results.erase(0, end + 2)) {
        lines.push_back(results.substr(0, end));
    }
    ASSERT_EQ(lines.size(), 8U);
    EXPECT_EQ(lines[0].substr(0, 69),
              "Length\tMW\tIEP\tGRAVY\tTransmembrane helices\tComposition A(rel.)\tC(rel.)");
    EXPECT_NE(lines[0].find("\tY(rel.)\tComposition A(abs.)\tC(abs.)\t"), std::string::npos);
    EXPECT_EQ(lines[0].substr(lines[0].size() - 13), "\tY(abs.)\tName");
    // Length, MW, IEP, GRAVY, helices, then the composition of M K V and A C;
    // SE is off by default, integer columns keep the truncated statistic.
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"3\t377\t9.1\t", "\ta"}, {"2\t192\t5.7\t", "\tb"},       {"2\t284\t", "\tMean"},
        {"0\t130\t", "\tSD"},     {"2\t192\t5.7\t", "\tMinimum"}, {"3\t377\t9.1\t", "\tMaximum"},
        {"2\t284\t", "\tMedian"},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(lines[i + 1]);
        EXPECT_EQ(lines[i + 1].substr(0, rows[i].first.size()), rows[i].first);
        EXPECT_EQ(lines[i + 1].substr(lines[i + 1].size() - rows[i].second.size()), rows[i].second);
    }
    EXPECT_NE(lines[1].find("\t0.33\t0.00\t0.33\t"), std::string::npos);
    EXPECT_NE(lines[1].find("\t1\t0\t1\t0\t0\t0\t0\t0\t0\t1\t0\t0\ta"), std::string::npos);

    // A first record without residues, before any scratch space was grown.
    EXPECT_NE(runResults(">e\r\n>a\r\nMKV\r\n", BatchOptions{}).find("\ta\r\n"), std::string::npos);
}

TEST(BatchResultsTest, ColumnsOffLeaveTheNamesAndRowsOnlyDropsHeaderAndStatistics)
{
    BatchOptions none;
    none.length = none.relativeComposition = none.absoluteComposition = none.molecularWeight =
        none.isoelectricPoint = none.gravy = none.helices = none.mean = none.standardDeviation =
            none.minimum = none.maximum = none.median = false;
    EXPECT_EQ(runResults(">a\nMKV\n>b\nAC", none), "Name\r\na\r\nb\r\n");
    none.length = true;
    EXPECT_EQ(runResults(">a\nMKV\n>b\nAC", none, 2, true), "3\ta\r\n2\tb\r\n");
}

// The statistics of a table large enough that its medians are bracketed by a
// sample equal those of plain passes over each column: sums in row order and
// a full sort for the median, for odd and even counts, ties, negative values,
// relative compositions kept as count over length, and a table that keeps
// every value as a double.
TEST(ColumnTableTest, StatisticsOfALargeTableEqualPlainPasses)
{
    BatchOptions options;
    options.epsUrea = options.standardError = true;
    std::mt19937 random(5);
    for (const std::size_t n : {40000U, 40001U}) {
        std::vector<PROPERTIES> rows(n);
        for (std::size_t i = 0; i < n; ++i) {
            PROPERTIES& row = rows[i];
            row.length = 0;
            for (std::size_t slot = 1; slot <= 20; ++slot) {
                // W (slot 19) is mostly absent: a median among ties.
                row.absoluteComposition[slot] =
                    std::uniform_int_distribution<int>(0, slot == 19 ? 1 : 40)(random);
                row.length += row.absoluteComposition[slot];
            }
            for (std::size_t slot = 1; slot <= 20 && row.length > 0; ++slot) {
                row.relativeComposition[slot] = static_cast<double>(row.absoluteComposition[slot]) /
                                                static_cast<double>(row.length);
            }
            row.molecularWeight = std::normal_distribution<double>(40000, 15000)(random);
            row.isoelectricPoint = std::uniform_int_distribution<int>(100, 1299)(random) * 0.01;
            row.gravy = std::normal_distribution<double>(-0.3, 0.5)(random);
            row.epsDenatured = i < n / 2 ? 0.0 : static_cast<double>(i);
            row.helixCount = i % 7 == 0 ? std::uniform_int_distribution<int>(1, 12)(random) : 0;
        }
        for (const std::uint64_t largest : {std::uint64_t{1} << 20, std::uint64_t{1} << 40}) {
            ColumnTable table(options, n, largest);
            for (std::size_t i = 0; i < n; ++i) {
                table.Set(i, rows[i]);
            }
            const StatisticsRows stats = table.Statistics(2);
            ASSERT_EQ(stats.rows.size(), 6U);
            for (const Column& column : SelectedColumns(options)) {
                SCOPED_TRACE(testing::Message()
                             << n << " rows, largest " << largest << ", kind "
                             << static_cast<int>(column.kind) << " slot " << column.slot);
                std::vector<double> values;
                for (const PROPERTIES& row : rows) {
                    values.push_back(column.Read(row));
                }
                const auto count = static_cast<double>(n);
                double sum = 0.0;
                for (const double value : values) {
                    sum += value;
                }
                const double mean = sum / count;
                double squares = 0.0;
                for (const double value : values) {
                    squares += (mean - value) * (mean - value);
                }
                const double sd = std::sqrt(squares / (count - 1.0));
                std::sort(values.begin(), values.end());
                const double median =
                    n % 2 == 0 ? (values[n / 2 - 1] + values[n / 2]) / 2.0 : values[n / 2];
                const std::array<double, 6> expected = {
                    mean, sd, sd / std::sqrt(count), values.front(), values.back(), median};
                for (std::size_t s = 0; s < expected.size(); ++s) {
                    PROPERTIES stored;
                    column.Store(stored, expected[s]);
                    EXPECT_EQ(column.Read(stats.rows[s]), column.Read(stored)) << stats.names[s];
                }
            }
        }
    }
}

TEST(BatchRunTest, EveryThreadCountWritesTheSameBytesAndTerminationStopsTheRun)
{
    std::mt19937 random(11);
    std::string text;
    for (int n = 0; n < 5000; ++n) {
        text += ">p" + std::to_string(n) + "\n";
        const int length = std::uniform_int_distribution<int>(0, 400)(random);
        for (int i = 0; i < length; ++i) {
            text += "ACDEFGHIKLMNPQRSTVWY"[random() % 20];
        }
        text += "\n";
    }
    const std::string one = runResults(text, BatchOptions{}, 1);
    EXPECT_EQ(runResults(text, BatchOptions{}, 2), one);
    EXPECT_EQ(runResults(text, BatchOptions{}, 7), one);

    const BatchAnalyzer analyzer(analysisRecord(), BatchOptions{}, 0);
    std::atomic<bool> terminate = false;
    BatchControl control;
    control.jobs = 2;
    control.terminate = &terminate;
    int lastPercent = -1;
    control.progress = [&](int percent) {
        EXPECT_GE(percent, lastPercent);
        lastPercent = percent;
        terminate = percent >= 40;
    };
    EXPECT_THROW(WriteBatchResults(SplitBatchRecords(text), text.size(), analyzer, BatchOptions{},
                                   false, control, [](std::string_view) {}),
                 BatchTerminated);
    EXPECT_LT(lastPercent, 100);
}

// A system out of threads (a process limit, no address space left for their
// stacks) starts fewer than asked, or none: the run goes on with those it has
// and writes what one thread writes.
TEST(BatchRunTest, ThreadsThatCannotBeStartedLeaveTheOutputAsOneThreadWritesIt)
{
    std::string text;
    for (int n = 0; text.size() < (std::size_t{9} << 20); ++n) {
        text += ">p" + std::to_string(n) + "\nMKVLAAGRKDEFPQWYHHLLKRSTV" + std::to_string(n) + "\n";
    }
    const std::string digestText = text.substr(0, 4000);
    const auto digest = [&](unsigned jobs) {
        BatchControl control;
        control.jobs = jobs;
        std::string out;
        WriteBatchDigest(SplitBatchRecords(digestText), digestText.size(), analysisRecord(),
                         "K!;R!", control, [&](std::string_view bytes) { out += bytes; });
        return out;
    };
    const std::size_t records = SplitBatchRecords(text, 1).size();
    const std::string results = runResults(text, BatchOptions{}, 1);
    const std::string digested = digest(1);
    ASSERT_GT(digested.size(), 1000U);

    for (const int startable : {0, 1, 3}) {
        SCOPED_TRACE(startable);
        int started = 0;
        const ThreadStarter systemStarter = SetThreadStarter([&](std::function<void()> work) {
            if (started >= startable) {
                throw std::system_error(
                    std::make_error_code(std::errc::resource_unavailable_try_again));
            }
            ++started;
            return std::thread(std::move(work));
        });
        EXPECT_EQ(SplitBatchRecords(text, 8).size(), records);
        started = 0;
        EXPECT_EQ(runResults(text, BatchOptions{}, 8), results);
        started = 0;
        EXPECT_EQ(digest(8), digested);
        SetThreadStarter(systemStarter);
    }

    // Under an address-space limit (1 GiB here) four hundred threads would
    // take it all for their stacks, leaving nothing for the work.
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit oneGiB{std::uint64_t{1} << 30, std::uint64_t{1} << 30};
        ::setrlimit(RLIMIT_AS, &oneGiB);
        ::_exit(static_cast<int>(std::min(EffectiveJobs(400), 255U)));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_GE(WEXITSTATUS(status), 1);
    EXPECT_LE(WEXITSTATUS(status), 32);
}

// A batch digest knows every record's fragments and the bytes it writes
// before it makes one: the forecast is the digest file's size (at most, where
// cut positions coincide and empty fragments keep their numbers), and a
// record beyond the ceiling stops the run before a byte is written, named
// with its count, the same for any number of threads.
TEST(BatchDigestTest, TheFragmentsAndBytesAreKnownBeforeTheFirstIsWritten)
{
    const std::string text = ">a\nMKVLAAGRKDEFPQWYHHLLKRSTVK\n>b name\nMRPKKPRXXOKRA\n>c\nK\n>d\n\n"
                             ">e\nAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAKAAAAAAA\n"
                             ">f\nKKKKKKKKKKKK\n";
    const std::vector<BatchRecord> records = SplitBatchRecords(text);
    const struct
    {
        std::string specificity;
        bool exact;
    } rows[] = {
        {"K!;R!", true},
        {"X!", true},
        {"KP;RP", true},
        {"AAAAAAAAAA!", true},
        // Two patterns cutting at the same place make empty fragments.
        {"K!;K!", false},
        {"R!;XR!", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.specificity);
        BatchControl control;
        const BatchDigestForecast forecast =
            ForecastBatchDigest(records, analysisRecord(), row.specificity, 1000000, control);
        std::string written;
        WriteBatchDigest(records, text.size(), analysisRecord(), row.specificity, control,
                         [&](std::string_view bytes) { written += bytes; });
        if (row.exact) {
            EXPECT_EQ(forecast.bytes, written.size());
        } else {
            EXPECT_GT(forecast.bytes, written.size());
            EXPECT_LE(forecast.bytes, written.size() + forecast.fragments);
        }
        EXPECT_EQ(forecast.recordBytes.size(), records.size());
    }

    for (const unsigned jobs : {1U, 3U}) {
        SCOPED_TRACE(jobs);
        BatchControl control;
        control.jobs = jobs;
        // "a" has 5 sites (21 fragments), "b name" 6 (28), "f" 11 (78).
        EXPECT_THROW(
            {
                try {
                    ForecastBatchDigest(records, analysisRecord(), "K!;R!", 27, control);
                } catch (const BatchDigestRefused& refused) {
                    EXPECT_STREQ(refused.what(), "b name: The digest would make 28 fragments, "
                                                 "more than the 27 this machine allows.");
                    throw;
                }
            },
            BatchDigestRefused);
        bool written = false;
        const BatchDigestForecast forecast =
            ForecastBatchDigest(records, analysisRecord(), "K!;R!", 78, control);
        EXPECT_NO_THROW(WriteBatchDigest(
            records, text.size(), analysisRecord(), "K!;R!", control,
            [&](std::string_view) { written = true; }, &forecast));
        EXPECT_TRUE(written);
    }
}

// The job both programs run: which files it hands to the writer, in which
// order, and what the log says of the results; a refused digest hands over
// nothing.
TEST(BatchJobTest, TheWriterGetsTheFilesOfTheJobInOrder)
{
    test::TempDir dir;
    test::WriteFile(dir / "in.fasta", ">a\nMKVLAAGIK\n>b\nMRRWY\n");
    test::WriteFile(dir / "wide.fasta", std::string("\xFF\xFE>\0a\0", 6));
    const BatchInputFile input((dir / "in.fasta").string());
    ASSERT_EQ(input.Failure(), BatchInputFile::Problem::None);
    ASSERT_EQ(input.Records().size(), 2U);
    EXPECT_EQ(BatchInputFile((dir / "none.fasta").string()).Failure(),
              BatchInputFile::Problem::CannotOpen);
    const BatchInputFile wide((dir / "wide.fasta").string());
    EXPECT_EQ(wide.Failure(), BatchInputFile::Problem::Utf16Text);
    EXPECT_TRUE(wide.Records().empty());

    const core::PropertyRecord record = analysisRecord();
    struct Row
    {
        const char* what;
        bool digest;
        bool log;
        bool rowsOnly;
        std::vector<std::string> files;
    };
    const Row rows[] = {
        {"results and log", false, true, false, {"out.txt", "log.txt"}},
        {"rows only", false, false, true, {"out.txt"}},
        {"digest", true, false, false, {"out.txt"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        BatchJob job;
        job.inputPath = "in.fasta";
        job.record = &record;
        job.digest = row.digest;
        job.specificity = "K!;R!";
        job.maxFragments = 1000;
        job.outputPath = (dir / "out.txt").string();
        if (row.log) {
            job.logPath = (dir / "log.txt").string();
        }
        job.rowsOnly = row.rowsOnly;
        std::vector<std::string> names;
        std::vector<std::string> texts;
        const BatchJobResult result = RunBatchJob(
            job, input, BatchControl{}, [&](const std::vector<core::FileToSave>& files) {
                for (const core::FileToSave& file : files) {
                    names.push_back(file.path.filename().string());
                    texts.emplace_back();
                    file.produce([&](std::string_view bytes) { texts.back() += bytes; });
                }
                return core::SaveTogetherStatus{};
            });
        EXPECT_EQ(result.sequenceCount, 2U);
        EXPECT_FALSE(result.failure);
        ASSERT_EQ(names, row.files);
        if (row.digest) {
            EXPECT_TRUE(texts[0].starts_with(">a_0\r\nMK\r\n>a_1\r\nVLAAGIK\r\n")) << texts[0];
        } else {
            EXPECT_EQ(texts[0].starts_with("Length\t"), !row.rowsOnly) << texts[0];
        }
        if (row.log) {
            EXPECT_NE(texts[1].find("Data file: in.fasta\r\nOutput: " + job.outputPath +
                                    "\r\n# of Sequences: 2\r\n"),
                      std::string::npos)
                << texts[1];
        }
    }

    BatchJob refused;
    refused.record = &record;
    refused.digest = true;
    refused.specificity = "K!;R!";
    refused.maxFragments = 2;
    refused.outputPath = (dir / "out.txt").string();
    bool written = false;
    EXPECT_THROW(RunBatchJob(refused, input, BatchControl{},
                             [&](const std::vector<core::FileToSave>&) {
                                 written = true;
                                 return core::SaveTogetherStatus{};
                             }),
                 BatchDigestRefused);
    EXPECT_FALSE(written);

    // A failed write names the file it failed on.
    BatchJob failing;
    failing.record = &record;
    failing.outputPath = (dir / "out.txt").string();
    failing.logPath = (dir / "log.txt").string();
    const BatchJobResult failed =
        RunBatchJob(failing, input, BatchControl{}, [](const std::vector<core::FileToSave>&) {
            return core::SaveTogetherStatus{core::FileStatus::Failed("disk full", ENOSPC), 1};
        });
    ASSERT_TRUE(failed.failure);
    EXPECT_EQ(failed.failure->first, failing.logPath);
}

TEST(BatchOptionsTest, OutputNamesReplaceTheExtension)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"many.txt", "many_results.txt"},     {"dir/many.fa", "dir/many_results.txt"},
        {"many.fa.gz", "many_results.txt"},   {"many", "many_results.txt"},
        {"a.b/many", "a.b/many_results.txt"}, {"dir/.hidden", "dir/.hidden_results.txt"},
    };
    for (const auto& [input, results] : cases) {
        SCOPED_TRACE(input);
        EXPECT_EQ(DefaultResultsPath(input), results);
    }
    EXPECT_EQ(DefaultDigestPath("x/many.fasta"), "x/many_digest.txt");
    EXPECT_EQ(DefaultLogPath("x/many_results.txt"), "x/many_results_log.txt");
}

TEST(BatchOptionsTest, StoredKeysReadAsTheDialogReadsThem)
{
    test::TempDir dir;
    core::ProfileFile settings(dir / "quorin.ini");
    BatchOptions defaults = ReadBatchOptions(settings);
    EXPECT_EQ(defaults.threshold, 1.6);
    EXPECT_TRUE(defaults.median && !defaults.standardError && !defaults.epsUrea);

    BatchOptions changed;
    changed.scaleIndex = 1;
    changed.thresholdText = "1.2.5";
    changed.standardError = true;
    changed.median = false;
    WriteBatchOptions(settings, changed);
    const BatchOptions read = ReadBatchOptions(settings);
    EXPECT_EQ(read.scaleIndex, 1);
    EXPECT_EQ(read.thresholdText, "1.2.5");
    EXPECT_EQ(read.threshold, 1.2);
    EXPECT_TRUE(read.standardError && !read.median);

    settings.WriteString(core::kBatchSection, "Threshold for Helices", "?");
    settings.WriteString(core::kBatchSection, "Hydropathy scale", "-4");
    const BatchOptions unset = ReadBatchOptions(settings);
    EXPECT_EQ(unset.threshold, 1.6);
    EXPECT_EQ(unset.scaleIndex, 0);
    EXPECT_FALSE(ThresholdTextValid("1,6"));
    EXPECT_TRUE(ThresholdTextValid("-1.6.-"));
}

} // namespace
} // namespace quorin::batch
