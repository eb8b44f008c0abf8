#pragma once

#include <string>
#include <string_view>

namespace quorin::shell {

/// The two progress panes of the status bar and what the progress
/// notifications do to them.
class ProgressPanes
{
public:
    /// The notification values with a meaning of their own.
    static constexpr int kDownloadFinished = 111;
    static constexpr int kRepaintOnly = 4;

    /// The texts that size the two panes.
    static constexpr std::string_view kBytesPaneSizeText = "9999999 bytes received.";
    static constexpr std::string_view kPercentPaneSizeText = "100%";

    /// A percentage: 111 (a download finished) sets 100, 4 leaves the value,
    /// anything else becomes the value. Returns true for 111, when the main
    /// window is to take over the downloaded sequence.
    bool OnProgress(int percent);

    /// Bytes received: 4 is ignored, anything else becomes the value.
    void OnBytesReceived(int bytes);

    /// The percentage followed by "%": "100%" at start.
    std::string PercentText() const;

    /// One blank while nothing was received (0 or less), else the number, a
    /// blank and "bytes received": "2048 bytes received".
    std::string BytesText() const;

    int Percent() const { return m_percent; }
    int Bytes() const { return m_bytes; }

private:
    int m_percent = 100;
    int m_bytes = 0;
};

} // namespace quorin::shell
