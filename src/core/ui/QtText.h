#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace quorin::core::ui {

/// Engine text (UTF-8) as a QString.
inline QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// A QString as engine text (UTF-8).
inline std::string ToStdString(const QString& text)
{
    return text.toStdString();
}

} // namespace quorin::core::ui
