#include "core/ui/GdiTypes.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace quorin::core::ui {
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

} // namespace

QFont FontFromLogFont(const LOGFONT& font)
{
    QFont qfont(installedFamily(QString::fromLatin1(font.FaceName().c_str())));
    qfont.setStyleStrategy(QFont::PreferOutline);
    if ((font.lfPitchAndFamily & 0x03) == 1) {
        qfont.setStyleHint(QFont::TypeWriter, QFont::PreferOutline);
    } else if ((font.lfPitchAndFamily & 0xF0) == 0x10) {
        qfont.setStyleHint(QFont::Serif, QFont::PreferOutline);
    } else if ((font.lfPitchAndFamily & 0xF0) == 0x20) {
        qfont.setStyleHint(QFont::SansSerif, QFont::PreferOutline);
    }
    const int weight = font.lfWeight <= 0 ? 400 : std::clamp(font.lfWeight, 1, 1000);
    qfont.setWeight(static_cast<QFont::Weight>(weight));
    qfont.setItalic(font.lfItalic != 0);
    qfont.setUnderline(font.lfUnderline != 0);
    qfont.setStrikeOut(font.lfStrikeOut != 0);
    // Held within the largest height first: INT_MIN has no negation, and a
    // character height of millions of pixels is nothing a font engine draws.
    const int height =
        ClampedFontHeight(font.lfHeight == 0 ? ReportFontA().lfHeight : font.lfHeight);
    if (height < 0) {
        qfont.setPixelSize(-height);
    } else {
        const double pixels = std::round(height * emPerCell(qfont));
        qfont.setPixelSize(static_cast<int>(std::clamp(pixels, 1.0, double{kMaxFontHeight})));
    }
    return qfont;
}

LOGFONT LogFontFromFont(const QFont& font)
{
    LOGFONT stored = ReportFontA();
    const double pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96.0 / 72.0;
    stored.lfHeight =
        -static_cast<int>(std::clamp(std::round(pixels), 1.0, double{kMaxFontHeight}));
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

QColor ColorFromColorref(COLORREF colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

COLORREF ColorrefFromColor(const QColor& colour)
{
    return static_cast<COLORREF>(colour.red()) | (static_cast<COLORREF>(colour.green()) << 8) |
           (static_cast<COLORREF>(colour.blue()) << 16);
}

} // namespace quorin::core::ui
