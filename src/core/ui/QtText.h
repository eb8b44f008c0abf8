#pragma once

#include <QString>
#include <QStringDecoder>

#include <string>
#include <string_view>

namespace quorin::core::ui {

/// Engine text as a QString: UTF-8, or Latin-1 when it is not valid UTF-8
/// (names and remarks of older sequence files).
inline QString ToQString(std::string_view text)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (!utf8.hasError()) {
        return decoded;
    }
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

/// A QString as engine text (UTF-8).
inline std::string ToStdString(const QString& text)
{
    return text.toStdString();
}

} // namespace quorin::core::ui
