#include "shell/ProgressPanes.h"

#include <gtest/gtest.h>

namespace quorin::shell {
namespace {

TEST(ProgressPanesTest, PercentagesFollowTheNotificationValues)
{
    ProgressPanes panes;
    EXPECT_EQ(panes.PercentText(), "100%");
    EXPECT_FALSE(panes.OnProgress(37));
    EXPECT_EQ(panes.PercentText(), "37%");
    EXPECT_FALSE(panes.OnProgress(4)); // repaint only
    EXPECT_EQ(panes.PercentText(), "37%");
    EXPECT_FALSE(panes.OnProgress(0));
    EXPECT_EQ(panes.PercentText(), "0%");
    EXPECT_TRUE(panes.OnProgress(111)); // a finished download
    EXPECT_EQ(panes.PercentText(), "100%");
}

TEST(ProgressPanesTest, BytesShowABlankUntilSomethingArrived)
{
    ProgressPanes panes;
    EXPECT_EQ(panes.BytesText(), " ");
    panes.OnBytesReceived(2048);
    EXPECT_EQ(panes.BytesText(), "2048 bytes received");
    panes.OnBytesReceived(4); // ignored
    EXPECT_EQ(panes.BytesText(), "2048 bytes received");
    panes.OnBytesReceived(0);
    EXPECT_EQ(panes.BytesText(), " ");
    panes.OnBytesReceived(-7);
    EXPECT_EQ(panes.BytesText(), " ");
    panes.OnBytesReceived(5);
    EXPECT_EQ(panes.BytesText(), "5 bytes received");
}

} // namespace
} // namespace quorin::shell
