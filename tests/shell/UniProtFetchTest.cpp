#include "shell/UniProtFetch.h"

#include <gtest/gtest.h>

#include <ctime>

namespace quorin::shell {
namespace {

using std::chrono::seconds;

TEST(UniProtFetchTest, entryAddressesEncodeTheAccession)
{
    EXPECT_EQ(UniProtEntryUrl("https://rest.uniprot.org", "P08100"),
              "https://rest.uniprot.org/uniprotkb/P08100.txt");
    EXPECT_EQ(UniProtEntryUrl("http://127.0.0.1:8080/base//", "A B/C&x"),
              "http://127.0.0.1:8080/base/uniprotkb/A%20B%2FC%26x.txt");
}

TEST(UniProtFetchTest, retryAfterReadsSecondsAndTheThreeDateForms)
{
    // Sun, 06 Nov 1994 08:49:37 GMT
    const auto now = std::chrono::system_clock::from_time_t(784111777);
    const struct
    {
        const char* header;
        std::optional<seconds> wait;
    } rows[] = {
        {"5", seconds(5)},
        {" 120 ", seconds(120)},
        {"99999999999999999999", seconds(86400)},
        {"Sun, 06 Nov 1994 08:49:40 GMT", seconds(3)},
        {"Sunday, 06-Nov-94 08:50:37 GMT", seconds(60)},
        {"Sun Nov  6 08:49:47 1994", seconds(10)},
        {"Sun, 06 Nov 1994 08:00:00 GMT", seconds(0)},
        {"Sun, 06 Nov 1994 08:49:40 CET", std::nullopt},
        {"Sun, 06 Foo 1994 08:49:40 GMT", std::nullopt},
        {"Sun, 06 Nov 1994 08:49:40 GMT trailing", std::nullopt},
        {"-1", std::nullopt},
        {"1.5", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.header);
        EXPECT_EQ(RetryAfter(row.header, now), row.wait);
    }
}

TEST(UniProtFetchTest, retryDelaysDoubleAndStayWithinTheBudget)
{
    const struct
    {
        int retry;
        std::optional<seconds> asked;
        seconds waited;
        seconds delay;
    } rows[] = {
        {0, std::nullopt, seconds(0), seconds(1)},   {1, std::nullopt, seconds(1), seconds(2)},
        {2, std::nullopt, seconds(3), seconds(4)},   {0, seconds(7), seconds(0), seconds(7)},
        {0, seconds(3600), seconds(0), seconds(30)}, {1, seconds(20), seconds(20), seconds(10)},
        {2, seconds(5), seconds(30), seconds(0)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.retry);
        EXPECT_EQ(RetryDelay(row.retry, row.asked, row.waited), row.delay);
    }
    EXPECT_TRUE(IsRetryStatus(429));
    EXPECT_TRUE(IsRetryStatus(503));
    EXPECT_FALSE(IsRetryStatus(500));
}

} // namespace
} // namespace quorin::shell
