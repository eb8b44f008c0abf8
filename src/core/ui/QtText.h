#pragma once

#include <QFontMetrics>
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

/// The widest a sequence name gets in a dialog's label, in pixels: a whole
/// FASTA header as name would stretch the dialog across the screen.
inline constexpr int kNameLabelWidth = 240;

/// A name as a dialog's label shows it: its beginning and "…" when it is
/// wider than width pixels in font, else the name itself.
inline QString ElidedName(const QString& name, const QFont& font, int width = kNameLabelWidth)
{
    return QFontMetrics(font).elidedText(name, Qt::ElideRight, width);
}

} // namespace quorin::core::ui
