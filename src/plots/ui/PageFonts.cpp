#include "plots/ui/PageFonts.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <mutex>

namespace quorin::plots::ui {
namespace {

struct FaceTwin
{
    const char* stored;
    const char* installed;
};

constexpr FaceTwin kTwins[] = {
    {"Arial", "Liberation Sans"},
    {"Courier New", "Liberation Mono"},
    {"Times New Roman", "Liberation Serif"},
};

QString installedFamily(const QString& face)
{
    for (const FaceTwin& twin : kTwins) {
        if (face.compare(QLatin1String(twin.stored), Qt::CaseInsensitive) == 0) {
            return QString::fromLatin1(twin.installed);
        }
    }
    return face;
}

/// Character height per cell height of a family: a positive LOGFONT height
/// asks for the cell, Qt's pixel size is the character height.
double emPerCell(const QFont& font)
{
    static std::mutex mutex;
    static QHash<QString, double> cache;
    const std::lock_guard lock(mutex);
    const QString key = font.family() + QLatin1Char('/') + QString::number(font.weight()) +
                        (font.italic() ? QLatin1String("i") : QLatin1String(""));
    const auto found = cache.constFind(key);
    if (found != cache.constEnd()) {
        return found.value();
    }
    QFont probe = font;
    probe.setPixelSize(1000);
    const QFontMetricsF metrics(probe);
    const double cell = metrics.ascent() + metrics.descent();
    const double ratio = cell > 0.0 ? 1000.0 / cell : 1.0;
    cache.insert(key, ratio);
    return ratio;
}

/// The widest character of the 8-bit range, as GDI reports for a font with
/// an 8-bit character set.
int maxCharWidth(const QFontMetrics& metrics)
{
    int widest = 0;
    for (int code = 0x20; code <= 0xFF; ++code) {
        if (code >= 0x7F && code < 0xA0) {
            continue;
        }
        widest = std::max(widest, metrics.horizontalAdvance(QChar(code)));
    }
    return widest;
}

} // namespace

QFont ToQFont(const core::LOGFONT& font)
{
    QFont qfont(installedFamily(QString::fromLatin1(font.FaceName().c_str())));
    qfont.setStyleStrategy(QFont::PreferOutline);
    const int weight = font.lfWeight <= 0 ? 400 : std::clamp(font.lfWeight, 1, 1000);
    qfont.setWeight(static_cast<QFont::Weight>(weight));
    qfont.setItalic(font.lfItalic != 0);
    qfont.setUnderline(font.lfUnderline != 0);
    qfont.setStrikeOut(font.lfStrikeOut != 0);
    const int height = font.lfHeight == 0 ? DefaultPageFont().lfHeight : font.lfHeight;
    if (height < 0) {
        qfont.setPixelSize(-height);
    } else {
        qfont.setPixelSize(std::max(1, static_cast<int>(std::lround(height * emPerCell(qfont)))));
    }
    return qfont;
}

core::LOGFONT FromQFont(const QFont& font)
{
    core::LOGFONT stored = DefaultPageFont();
    const double pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96.0 / 72.0;
    stored.lfHeight = -std::max(1, static_cast<int>(std::lround(pixels)));
    stored.lfWeight = font.weight();
    stored.lfItalic = font.italic() ? 1 : 0;
    stored.lfUnderline = font.underline() ? 1 : 0;
    stored.lfStrikeOut = font.strikeOut() ? 1 : 0;
    stored.lfPitchAndFamily = QFontInfo(font).fixedPitch() ? 0x31 : 0x22;
    stored.SetFaceName(StoredFaceName(font.family()).toLatin1().toStdString());
    return stored;
}

QString StoredFaceName(const QString& family)
{
    for (const FaceTwin& twin : kTwins) {
        if (family.compare(QLatin1String(twin.installed), Qt::CaseInsensitive) == 0) {
            return QString::fromLatin1(twin.stored);
        }
    }
    return family;
}

QColor ToQColor(core::COLORREF colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

core::COLORREF ToColorRef(const QColor& colour)
{
    return static_cast<core::COLORREF>(colour.red()) |
           static_cast<core::COLORREF>(colour.green()) << 8 |
           static_cast<core::COLORREF>(colour.blue()) << 16;
}

QString ToQString(std::string_view text)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (!utf8.hasError()) {
        return decoded;
    }
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

FontMetrics QtTextMeasure::Metrics(const core::LOGFONT& font) const
{
    const QFontMetrics metrics(ToQFont(font));
    return FontMetrics{maxCharWidth(metrics), metrics.height(),
                       metrics.height() + std::max(0, metrics.leading())};
}

TextExtent QtTextMeasure::Extent(const core::LOGFONT& font, std::string_view text) const
{
    const QFontMetrics metrics(ToQFont(font));
    return TextExtent{metrics.horizontalAdvance(ToQString(text)), metrics.height()};
}

} // namespace quorin::plots::ui
