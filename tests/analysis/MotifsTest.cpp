#include "analysis/Motifs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

namespace quorin::analysis {
namespace {

core::PropertyRecord recordOf(const std::string& sequence)
{
    core::PropertyRecord record;
    record.SetName("motifs");
    record.SetSequence(sequence);
    return record;
}

/// The hits of a comparison of every motif letter at every start, in the
/// order the search leaves them.
std::vector<std::pair<int, int>> comparedAtEveryStart(const std::string& sequence,
                                                      const std::vector<std::string>& motifs)
{
    std::vector<std::pair<int, int>> hits;
    for (std::size_t d = 0; d < sequence.size(); ++d) {
        for (std::size_t k = 0; k < motifs.size(); ++k) {
            const std::string& motif = motifs[k];
            bool match = d + motif.size() <= sequence.size();
            for (std::size_t j = 0; match && j < motif.size(); ++j) {
                match = motif[j] == 'X' || motif[j] == sequence[d + j];
            }
            if (match) {
                hits.emplace_back(static_cast<int>(d + 1), static_cast<int>(k + 1));
            }
        }
    }
    return hits;
}

TEST(MotifSearchTest, FindsWhatAComparisonAtEveryStartFinds)
{
    // Random and periodic sequences (where anchors are frequent and long
    // motifs are matched bit-parallel), motifs across the index's blocks,
    // longer than 64 letters, all "X", or with letters no residue has.
    std::mt19937 random(20261207);
    const auto pick = [&](const std::string& letters, std::size_t length) {
        std::string text;
        for (std::size_t i = 0; i < length; ++i) {
            text += letters[random() % letters.size()];
        }
        return text;
    };
    std::string periodic;
    for (int i = 0; i < 2000; ++i) {
        periodic += "AK";
    }
    std::string longPeriodic;
    for (int i = 0; i < 70; ++i) {
        longPeriodic += "AK";
    }
    const struct
    {
        std::string sequence;
        std::vector<std::string> motifs;
    } rows[] = {
        {pick("ACDEFGHIKLMNPQRSTVWYXO", 3000),
         {"A", "GX", "XXG", "KXXK", "PXXP", "LL", "XAX", "WXXXXXXXXXXW", "X", "O", "XO", "MB"}},
        {pick("AG", 500),
         {"AGA", "GXXXA", "AAAAAAAA", std::string(70, 'A'), "G" + std::string(130, 'X') + "A"}},
        {periodic, {longPeriodic, longPeriodic + "XA", "AKXA", "KXK", std::string(200, 'X') + "K"}},
        {pick("ACDEFGHIKLMNPQRSTVWY", 150000),
         {"W", "WC", "CXW", "MKV", std::string(65, 'X') + "M"}},
        {"MKC", {"MKCX", "XMKC", "MKCMKC", "C", "J"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.sequence.substr(0, 20));
        core::PropertyRecord record = recordOf(row.sequence);
        std::string search;
        for (const std::string& motif : row.motifs) {
            search += motif + ";";
        }
        ASSERT_FALSE(SearchMotifs(record, search).Refused());
        std::vector<std::pair<int, int>> found;
        for (const core::MotifHit& hit : record.motifs.hits) {
            found.emplace_back(hit.position, hit.motif);
        }
        EXPECT_EQ(found, comparedAtEveryStart(row.sequence, row.motifs));
        EXPECT_EQ(record.motifs.hitCount, static_cast<int>(found.size()));
    }
}

TEST(MotifSearchTest, ASearchPastTheCeilingIsRefusedWithTheSitesItWouldFind)
{
    const struct
    {
        std::string sequence;
        std::string search;
        std::uint64_t ceiling;
        std::string refusal;
    } rows[] = {
        {"MKV", "X;X;X", 9, ""},
        {"MKV", "X;X;X", 8,
         "The motif search would find 9 sites, more than the 8 this machine allows."},
        {"KKKKK", "K;KK", 8,
         "The motif search would find 9 sites, more than the 8 this machine allows."},
        {"KKKKK", "X;K", 9,
         "The motif search would find 10 sites, more than the 9 this machine allows."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.search + " " + std::to_string(row.ceiling));
        core::PropertyRecord record = recordOf(row.sequence);
        SearchMotifs(record, "M");
        const MotifSearchResult result = SearchMotifs(record, row.search, row.ceiling);
        EXPECT_EQ(result.refusal, row.refusal);
        if (result.Refused()) {
            EXPECT_TRUE(record.motifs.motifs.empty());
            EXPECT_TRUE(record.motifs.hits.empty());
            EXPECT_EQ(record.motifs.hitCount, 0);
        } else {
            EXPECT_EQ(result.siteCount, record.motifs.hits.size());
        }
    }
}

TEST(MotifSearchTest, ALongAllXMotifOverAMillionResiduesMatchesWithoutComparing)
{
    // Compared letter by letter this took about a minute: 50,001 letters at
    // each of 950,000 starts, 100,000 at each of 900,001.
    std::string sequence;
    for (int i = 0; i < 50000; ++i) {
        sequence += "MKVLAAGICWEDFHNPQRST";
    }
    core::PropertyRecord record = recordOf(sequence);
    const auto start = std::chrono::steady_clock::now();
    const MotifSearchResult result =
        SearchMotifs(record, std::string(50001, 'X') + ";" + std::string(100000, 'X') + ";M" +
                                 std::string(50000, 'X'));
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(result.siteCount, 950000u + 900001u + 47500u);
    EXPECT_EQ(record.motifs.hits.front().position, 1);
    EXPECT_EQ(record.motifs.hits.back().position, 950000);
    EXPECT_LT(seconds.count(), 10.0);
}

} // namespace
} // namespace quorin::analysis
