#include "shell/ProgressPanes.h"

namespace quorin::shell {

bool ProgressPanes::OnProgress(int percent)
{
    if (percent == kDownloadFinished) {
        m_percent = 100;
        return true;
    }
    if (percent != kRepaintOnly) {
        m_percent = percent;
    }
    return false;
}

void ProgressPanes::OnBytesReceived(int bytes)
{
    if (bytes != kRepaintOnly) {
        m_bytes = bytes;
    }
}

std::string ProgressPanes::PercentText() const
{
    return std::to_string(m_percent) + "%";
}

std::string ProgressPanes::BytesText() const
{
    if (m_bytes <= 0) {
        return " ";
    }
    return std::to_string(m_bytes) + " bytes received";
}

} // namespace quorin::shell
