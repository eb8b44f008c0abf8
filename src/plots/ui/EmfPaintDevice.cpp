#include "plots/ui/EmfPaintDevice.h"

#include "core/ui/GdiTypes.h"
#include "plots/ui/PageFonts.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPixmap>
#include <QRandomGenerator>
#include <QTextItem>
#include <QTransform>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <vector>

// libEMF brings the Win32 GDI declarations; it comes after Qt so that its
// macros cannot reach Qt's headers.
#include <libEMF/emf.h>
#undef min
#undef max

namespace quorin::plots::ui {
namespace {

/// NUL-terminated UTF-16, as the wide GDI calls take it.
std::vector<WCHAR> wide(const QString& text)
{
    std::vector<WCHAR> out;
    out.reserve(static_cast<std::size_t>(text.size()) + 1);
    for (const QChar c : text) {
        out.push_back(static_cast<WCHAR>(c.unicode()));
    }
    out.push_back(0);
    return out;
}

COLORREF gdiColour(const QColor& colour)
{
    return static_cast<COLORREF>(core::ui::ColorrefFromColor(colour));
}

int rounded(double value)
{
    return static_cast<int>(std::lround(value));
}

/// Writes and closes the metafile; false when libEMF could not write it (it
/// throws then, errno telling why).
bool closeMetafile(HDC dc)
{
    try {
        DeleteEnhMetaFile(CloseEnhMetaFileWithFILE(dc));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

/// "FILE: reason" for a file that could not be written.
QString failure(const QString& file, int error)
{
    return file + QStringLiteral(": ") +
           (error != 0 ? QString::fromLocal8Bit(std::strerror(error))
                       : QStringLiteral("the metafile could not be written in full"));
}

} // namespace

/// Turns QPainter calls into GDI calls on a libEMF metafile context.
class EmfPaintEngine : public QPaintEngine
{
public:
    explicit EmfPaintEngine(HDC dc) : QPaintEngine(features()), m_dc(dc) {}
    ~EmfPaintEngine() override { releaseObjects(); }
    EmfPaintEngine(const EmfPaintEngine&) = delete;
    EmfPaintEngine& operator=(const EmfPaintEngine&) = delete;

    HDC Context() const { return m_dc; }

    /// Deselects and deletes the pen, brush and font this engine made.
    void releaseObjects()
    {
        if (m_dc == 0) {
            return;
        }
        SelectObject(m_dc, GetStockObject(BLACK_PEN));
        SelectObject(m_dc, GetStockObject(NULL_BRUSH));
        for (HGDIOBJ* object : {&m_pen, &m_brush, &m_font}) {
            if (*object != 0) {
                DeleteObject(*object);
                *object = 0;
            }
        }
    }

    bool begin(QPaintDevice*) override
    {
        if (m_dc == 0) {
            return false;
        }
        SetBkMode(m_dc, TRANSPARENT);
        SetTextAlign(m_dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
        m_penDirty = m_brushDirty = m_fontDirty = true;
        return true;
    }

    bool end() override { return true; }

    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& newState) override
    {
        const DirtyFlags flags = newState.state();
        if (flags & DirtyPen) {
            m_qpen = newState.pen();
            m_penDirty = true;
        }
        if (flags & DirtyBrush) {
            m_qbrush = newState.brush();
            m_brushDirty = true;
        }
        if (flags & DirtyFont) {
            m_qfont = newState.font();
            m_fontDirty = true;
        }
        if (flags & DirtyTransform) {
            m_transform = newState.transform();
            m_penDirty = m_fontDirty = true;
        }
    }

    void drawLines(const QLineF* lines, int count) override
    {
        selectPen();
        for (int i = 0; i < count; ++i) {
            const POINT from = map(lines[i].p1());
            const POINT to = map(lines[i].p2());
            MoveToEx(m_dc, from.x, from.y, nullptr);
            LineTo(m_dc, to.x, to.y);
        }
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        std::vector<POINT> mapped;
        mapped.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            mapped.push_back(map(points[i]));
        }
        polygon(mapped, mode);
    }

    void drawRects(const QRectF* rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const QRectF& r = rects[i];
            const QPointF corners[] = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft(),
                                       r.topLeft()};
            drawPolygon(corners, 5, m_qbrush.style() == Qt::NoBrush ? PolylineMode : OddEvenMode);
        }
    }

    void drawPath(const QPainterPath& path) override
    {
        if (m_qbrush.style() != Qt::NoBrush) {
            const QPen pen = m_qpen;
            m_qpen = QPen(Qt::NoPen);
            m_penDirty = true;
            for (const QPolygonF& part : path.toFillPolygons()) {
                drawPolygon(part.constData(), static_cast<int>(part.size()),
                            path.fillRule() == Qt::WindingFill ? WindingMode : OddEvenMode);
            }
            m_qpen = pen;
            m_penDirty = true;
        }
        if (m_qpen.style() != Qt::NoPen) {
            for (const QPolygonF& part : path.toSubpathPolygons()) {
                drawPolygon(part.constData(), static_cast<int>(part.size()), PolylineMode);
            }
        }
    }

    void drawTextItem(const QPointF& p, const QTextItem& textItem) override
    {
        const QString text = textItem.text();
        if (text.isEmpty()) {
            return;
        }
        m_qfont = textItem.font();
        m_fontDirty = true;
        selectFont();
        SetTextColor(m_dc, gdiColour(m_qpen.color()));
        const POINT at = map(p);
        std::vector<WCHAR> chars = wide(text);
        TextOutW(m_dc, at.x, at.y, chars.data(), static_cast<INT>(chars.size() - 1));
    }

    void drawPixmap(const QRectF& r, const QPixmap& pixmap, const QRectF& source) override
    {
        drawImage(r, pixmap.toImage(), source, Qt::AutoColor);
    }

    void drawImage(const QRectF& r, const QImage& image, const QRectF& source,
                   Qt::ImageConversionFlags) override
    {
        // Device-independent bitmaps are stored bottom row first.
        const QImage rows = image.convertToFormat(QImage::Format_RGB32).mirrored();
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = rows.width();
        info.bmiHeader.biHeight = rows.height();
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        const POINT topLeft = map(r.topLeft());
        const POINT bottomRight = map(r.bottomRight());
        StretchDIBits(m_dc, topLeft.x, topLeft.y, bottomRight.x - topLeft.x,
                      bottomRight.y - topLeft.y, rounded(source.x()),
                      rows.height() - rounded(source.y() + source.height()),
                      rounded(source.width()), rounded(source.height()), rows.constBits(), &info,
                      DIB_RGB_COLORS, SRCCOPY);
    }

private:
    static PaintEngineFeatures features()
    {
        // Transforms are applied here; everything else that is not a solid
        // colour is drawn with the colour it starts with.
        return PrimitiveTransform | PainterPaths | PaintOutsidePaintEvent | PixmapTransform;
    }

    POINT map(const QPointF& point) const
    {
        const QPointF mapped = m_transform.map(point);
        return POINT{rounded(mapped.x()), rounded(mapped.y())};
    }

    double transformScale() const { return std::sqrt(std::fabs(m_transform.determinant())); }

    void polygon(std::vector<POINT>& points, PolygonDrawMode mode)
    {
        if (points.empty()) {
            return;
        }
        selectPen();
        if (mode == PolylineMode) {
            Polyline(m_dc, points.data(), static_cast<INT>(points.size()));
            return;
        }
        selectBrush();
        SetPolyFillMode(m_dc, mode == WindingMode ? WINDING : ALTERNATE);
        Polygon(m_dc, points.data(), static_cast<INT>(points.size()));
    }

    void replace(HGDIOBJ& slot, HGDIOBJ object)
    {
        SelectObject(m_dc, object);
        if (slot != 0) {
            DeleteObject(slot);
        }
        slot = object;
    }

    void selectPen()
    {
        if (!m_penDirty) {
            return;
        }
        m_penDirty = false;
        if (m_qpen.style() == Qt::NoPen) {
            SelectObject(m_dc, GetStockObject(NULL_PEN));
            return;
        }
        const double width = m_qpen.isCosmetic() || m_qpen.widthF() <= 0.0
                                 ? 1.0
                                 : m_qpen.widthF() * transformScale();
        DWORD style = PS_GEOMETRIC;
        switch (m_qpen.style()) {
        case Qt::DashLine:
            style |= PS_DASH;
            break;
        case Qt::DotLine:
            style |= PS_DOT;
            break;
        case Qt::DashDotLine:
            style |= PS_DASHDOT;
            break;
        case Qt::DashDotDotLine:
            style |= PS_DASHDOTDOT;
            break;
        default:
            style |= PS_SOLID;
            break;
        }
        style |= m_qpen.capStyle() == Qt::FlatCap     ? PS_ENDCAP_FLAT
                 : m_qpen.capStyle() == Qt::SquareCap ? PS_ENDCAP_SQUARE
                                                      : PS_ENDCAP_ROUND;
        style |= m_qpen.joinStyle() == Qt::MiterJoin   ? PS_JOIN_MITER
                 : m_qpen.joinStyle() == Qt::BevelJoin ? PS_JOIN_BEVEL
                                                       : PS_JOIN_ROUND;
        LOGBRUSH brush{BS_SOLID, gdiColour(m_qpen.color()), 0};
        replace(m_pen, ExtCreatePen(style, static_cast<DWORD>(std::max(1, rounded(width))), &brush,
                                    0, nullptr));
    }

    void selectBrush()
    {
        if (!m_brushDirty) {
            return;
        }
        m_brushDirty = false;
        if (m_qbrush.style() == Qt::NoBrush) {
            SelectObject(m_dc, GetStockObject(NULL_BRUSH));
            return;
        }
        replace(m_brush, CreateSolidBrush(gdiColour(m_qbrush.color())));
    }

    void selectFont()
    {
        if (!m_fontDirty) {
            return;
        }
        m_fontDirty = false;
        LOGFONTW font{};
        const double pixels =
            m_qfont.pixelSize() > 0 ? m_qfont.pixelSize() : m_qfont.pointSizeF() * 96.0 / 72.0;
        // A negative height asks for the character height, which is what a
        // Qt pixel size is.
        font.lfHeight = -std::max(1, rounded(pixels * transformScale()));
        font.lfWeight = m_qfont.weight();
        font.lfItalic = m_qfont.italic() ? 1 : 0;
        font.lfUnderline = m_qfont.underline() ? 1 : 0;
        font.lfStrikeOut = m_qfont.strikeOut() ? 1 : 0;
        font.lfCharSet = DEFAULT_CHARSET;
        font.lfOutPrecision = OUT_TT_PRECIS;
        font.lfQuality = PROOF_QUALITY;
        const QString face = core::ui::StoredFaceName(m_qfont.family()).left(LF_FACESIZE - 1);
        font.lfPitchAndFamily = static_cast<BYTE>(
            QFontInfo(m_qfont).fixedPitch() ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_SWISS);
        for (qsizetype i = 0; i < face.size(); ++i) {
            font.lfFaceName[i] = static_cast<WCHAR>(face[i].unicode());
        }
        replace(m_font, CreateFontIndirectW(&font));
    }

    HDC m_dc = 0;
    HGDIOBJ m_pen = 0;
    HGDIOBJ m_brush = 0;
    HGDIOBJ m_font = 0;
    QPen m_qpen;
    QBrush m_qbrush;
    QFont m_qfont;
    QTransform m_transform;
    bool m_penDirty = true;
    bool m_brushDirty = true;
    bool m_fontDirty = true;
};

EmfPaintDevice::EmfPaintDevice(const QString& path, QSize pageSize, QRect frame,
                               const QString& creator, const QString& title)
    : m_path(path), m_pageSize(pageSize), m_frame(frame)
{
    // A new name beside the target, known to the signal handler before the
    // file is made; libEMF writes it from scratch.
    for (int attempt = 0; attempt < 100 && m_temporary.isEmpty(); ++attempt) {
        const QString name = QFileInfo(path).absoluteFilePath() + QLatin1Char('.') +
                             QString::number(QRandomGenerator::system()->generate64(), 36);
        m_temporaryOnSignal =
            std::make_unique<core::RemovedOnSignal>(QFile::encodeName(name).toStdString());
        QFile file(name);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            m_temporary = name;
        } else {
            m_temporaryOnSignal.reset();
            if (file.exists()) {
                continue;
            }
            m_error = QFileInfo(path).absolutePath() + QStringLiteral(": ") + file.errorString();
            break;
        }
    }
    if (!m_temporary.isEmpty()) {
        // Opened here, not by libEMF, which writes the whole metafile when it
        // is closed and tells nothing of a write that failed.
        m_file = std::fopen(QFile::encodeName(m_temporary).constData(), "wb");
        if (m_file == nullptr) {
            m_error = failure(m_path, errno);
            QFile::remove(m_temporary);
        }
    }
    HDC dc = 0;
    if (m_file != nullptr) {
        const RECT rect{frame.left(), frame.top(), frame.left() + frame.width(),
                        frame.top() + frame.height()};
        // Two NUL-terminated strings and a final NUL: libEMF reads up to the
        // double NUL.
        QByteArray description = creator.toLatin1();
        description.append('\0').append(title.toLatin1()).append('\0').append('\0');
        dc = CreateEnhMetaFileWithFILEA(0, m_file, &rect, description.constData());
    }
    if (dc != 0) {
        // The page's pixels fill the frame, whatever the reference device's
        // resolution is.
        const double pixelsPerHundredthX =
            GetDeviceCaps(dc, HORZRES) / (GetDeviceCaps(dc, HORZSIZE) * 100.0);
        const double pixelsPerHundredthY =
            GetDeviceCaps(dc, VERTRES) / (GetDeviceCaps(dc, VERTSIZE) * 100.0);
        SetMapMode(dc, MM_ANISOTROPIC);
        SetWindowExtEx(dc, pageSize.width(), pageSize.height(), nullptr);
        SetViewportExtEx(dc, rounded(frame.width() * pixelsPerHundredthX),
                         rounded(frame.height() * pixelsPerHundredthY), nullptr);
    }
    m_engine = std::make_unique<EmfPaintEngine>(dc);
}

EmfPaintDevice::~EmfPaintDevice()
{
    if (!m_finished) {
        m_engine->releaseObjects();
        if (m_engine->Context() != 0) {
            closeMetafile(m_engine->Context());
        }
        if (m_file != nullptr) {
            std::fclose(m_file);
            QFile::remove(m_temporary);
        }
    }
}

bool EmfPaintDevice::isValid() const
{
    return m_engine->Context() != 0;
}

bool EmfPaintDevice::finish()
{
    if (m_finished || !isValid()) {
        return false;
    }
    m_finished = true;
    m_engine->releaseObjects();
    // A full disk shows here: in the metafile's writing, the flush or the
    // close of the file.
    errno = 0;
    bool written = closeMetafile(m_engine->Context());
    int error = errno;
    if (written) {
        written = std::fflush(m_file) == 0 && std::ferror(m_file) == 0;
        error = errno;
    }
    if (std::fclose(m_file) != 0 && written) {
        written = false;
        error = errno;
    }
    m_file = nullptr;
    if (!written) {
        m_error = failure(m_path, error);
        QFile::remove(m_temporary);
        return false;
    }
    // The temporary file was private; the metafile gets the permissions of the
    // file it replaces, or those of a new document.
    const QFileInfo target(m_path);
    QFile::setPermissions(m_temporary, target.exists() ? target.permissions()
                                                       : QFile::ReadOwner | QFile::WriteOwner |
                                                             QFile::ReadGroup | QFile::ReadOther);
    std::error_code renamed;
    std::filesystem::rename(QFile::encodeName(m_temporary).toStdString(),
                            QFile::encodeName(m_path).toStdString(), renamed);
    if (renamed) {
        m_error = m_path + QStringLiteral(": ") + QString::fromStdString(renamed.message());
        QFile::remove(m_temporary);
        return false;
    }
    return true;
}

QString EmfPaintDevice::errorString() const
{
    return m_error;
}

QPaintEngine* EmfPaintDevice::paintEngine() const
{
    return m_engine.get();
}

int EmfPaintDevice::metric(PaintDeviceMetric metric) const
{
    const int dpi =
        m_frame.width() > 0
            ? static_cast<int>(std::lround(m_pageSize.width() * 2540.0 / m_frame.width()))
            : 96;
    switch (metric) {
    case PdmWidth:
        return m_pageSize.width();
    case PdmHeight:
        return m_pageSize.height();
    case PdmWidthMM:
        return m_frame.width() / 100;
    case PdmHeightMM:
        return m_frame.height() / 100;
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return dpi;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    default:
        return 0;
    }
}

QRect MetafileFrame(QSize pageSize, QSize screenPixels, QSize screenMillimetres)
{
    const int horizontal =
        screenPixels.width() > 0 ? screenMillimetres.width() * 100 / screenPixels.width() : 26;
    const int vertical =
        screenPixels.height() > 0 ? screenMillimetres.height() * 100 / screenPixels.height() : 26;
    return QRect(0, 0, pageSize.width() * horizontal, pageSize.height() * vertical);
}

QSize NominalScreenPixels()
{
    return QSize(1920, 1080);
}

QSize NominalScreenMillimetres()
{
    return QSize(508, 285);
}

} // namespace quorin::plots::ui
