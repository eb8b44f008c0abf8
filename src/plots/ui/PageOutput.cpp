#include "plots/ui/PageOutput.h"

#include "plots/ui/EmfPaintDevice.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace quorin::plots::ui {
namespace {

/// A4 portrait at the resolutions of the printed outputs.
constexpr double kA4WidthMm = 210.0;
constexpr double kA4HeightMm = 297.0;
constexpr int kPrintedPngDpi = 150;
constexpr int kPrintedVectorDpi = 96;
constexpr int kPdfDpi = 1200;

QSize a4Pixels(int dpi)
{
    return QSize(static_cast<int>(kA4WidthMm / 25.4 * dpi),
                 static_cast<int>(kA4HeightMm / 25.4 * dpi));
}

PageLayout layoutFor(const PageSource& page, bool printerLayout, PageTarget screenTarget,
                     int deviceWidth)
{
    return page.layout(printerLayout ? PageTarget::Printer : screenTarget, deviceWidth);
}

bool writePng(const PageSource& page, QIODevice& out, bool printerLayout)
{
    const QSize size = printerLayout ? a4Pixels(kPrintedPngDpi) : page.screenSize;
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (printerLayout) {
        const int dotsPerMetre = static_cast<int>(kPrintedPngDpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
    }
    {
        QPainter painter(&image);
        page.draw(painter, layoutFor(page, printerLayout, PageTarget::Screen, size.width()));
    }
    return image.save(&out, "PNG");
}

bool writeSvg(const PageSource& page, QIODevice& out, bool printerLayout)
{
    const QSize size = printerLayout ? a4Pixels(kPrintedVectorDpi) : page.screenSize;
    QSvgGenerator svg;
    svg.setOutputDevice(&out);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(kPrintedVectorDpi);
    svg.setTitle(page.title);
    svg.setDescription(QString::fromLatin1(kMetafileCreator));
    {
        QPainter painter(&svg);
        if (!painter.isActive()) {
            return false;
        }
        page.draw(painter, layoutFor(page, printerLayout, PageTarget::Screen, size.width()));
    }
    return true;
}

bool writePdf(const PageSource& page, QIODevice& out, bool printerLayout)
{
    {
        QPdfWriter pdf(&out);
        pdf.setTitle(page.title);
        pdf.setCreator(QString::fromLatin1(kMetafileCreator));
        if (printerLayout) {
            pdf.setResolution(kPdfDpi);
            pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(0, 0, 0, 0)));
        } else {
            // One page pixel is one point at 72 per inch: the page keeps its
            // screen proportions and its pixel coordinates.
            pdf.setResolution(72);
            pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(page.screenSize), QPageSize::Point,
                                                    QString(), QPageSize::ExactMatch),
                                          QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        }
        QPainter painter(&pdf);
        if (!painter.isActive()) {
            return false;
        }
        page.draw(painter, layoutFor(page, printerLayout, PageTarget::Screen, pdf.width()));
    }
    return true;
}

bool writeEmf(const PageSource& page, const QString& path, bool printerLayout, QString& failure)
{
    QSize size = page.screenSize;
    QRect frame = MetafileFrame(size, NominalScreenPixels(), NominalScreenMillimetres());
    if (printerLayout) {
        size = a4Pixels(kPrintedVectorDpi);
        frame =
            QRect(0, 0, static_cast<int>(kA4WidthMm * 100), static_cast<int>(kA4HeightMm * 100));
    }
    EmfPaintDevice device(path, size, frame, QString::fromLatin1(kMetafileCreator), page.title);
    if (!device.isValid()) {
        failure = device.errorString();
        return false;
    }
    {
        QPainter painter(&device);
        if (!painter.isActive()) {
            return false;
        }
        page.draw(painter, layoutFor(page, printerLayout, PageTarget::Metafile, size.width()));
    }
    if (!device.finish()) {
        failure = device.errorString();
        return false;
    }
    return true;
}

} // namespace

std::optional<OutputFormat> OutputFormatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg")) {
        return OutputFormat::Svg;
    }
    if (suffix == QLatin1String("pdf")) {
        return OutputFormat::Pdf;
    }
    if (suffix == QLatin1String("png")) {
        return OutputFormat::Png;
    }
    if (suffix == QLatin1String("emf")) {
        return OutputFormat::Emf;
    }
    return std::nullopt;
}

namespace {

/// Writes every format but the metafile into out.
bool writeTo(const PageSource& page, QIODevice& out, OutputFormat format, bool printerLayout)
{
    switch (format) {
    case OutputFormat::Svg:
        return writeSvg(page, out, printerLayout);
    case OutputFormat::Pdf:
        return writePdf(page, out, printerLayout);
    case OutputFormat::Png:
        return writePng(page, out, printerLayout);
    case OutputFormat::Emf:
        break;
    }
    return false;
}

// Pages are drawn into memory and saved as every other file is: atomically,
// through links, written in place where the destination is no regular file.
core::FileStatus writePageBytes(const PageSource& page, const std::filesystem::path& path,
                                OutputFormat format, bool printerLayout)
{
    QString failure;
    const QByteArray bytes = RenderPage(page, format, printerLayout, &failure);
    if (bytes.isEmpty()) {
        return core::FileStatus::Failed(failure.isEmpty() ? "the page could not be drawn"
                                                          : failure.toStdString());
    }
    return core::WriteFileAtomically(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace

bool WritePage(const PageSource& page, const QString& path, OutputFormat format, bool printerLayout)
{
    return writePageBytes(page, std::filesystem::path(QFile::encodeName(path).toStdString()),
                          format, printerLayout);
}

QByteArray RenderPage(const PageSource& page, OutputFormat format, bool printerLayout,
                      QString* failure)
{
    if (format == OutputFormat::Emf) {
        // libEMF writes files only: into a folder of its own that goes with
        // the object, and with the process should a signal end it meanwhile.
        // Where that fails (a full temporary folder), the file and the reason
        // are told.
        QString reason;
        const core::TemporaryFolder folder(QFile::encodeName(QDir::tempPath()).toStdString());
        const int folderError = errno;
        const QString path = QFile::decodeName((folder.Path() / "page.emf").c_str());
        QFile file(path);
        if (folder.Path().empty()) {
            reason = QDir::tempPath() + QStringLiteral(": ") +
                     QString::fromLocal8Bit(std::strerror(folderError));
        } else if (writeEmf(page, path, printerLayout, reason)) {
            if (file.open(QIODevice::ReadOnly)) {
                return file.readAll();
            }
            reason = path + QStringLiteral(": ") + file.errorString();
        }
        if (failure != nullptr) {
            *failure = reason;
        }
        return {};
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return writeTo(page, buffer, format, printerLayout) ? buffer.data() : QByteArray();
}

core::FileStatus WritePageFile(const PageSource& page, const std::string& path, bool printerLayout)
{
    const auto format = OutputFormatOfName(path);
    if (!format) {
        return core::FileStatus::Failed("no page format ends its name");
    }
    return writePageBytes(page, std::filesystem::path(path), *format, printerLayout);
}

std::optional<OutputFormat> OutputFormatOfName(std::string_view path)
{
    return OutputFormatOf(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())));
}

OffscreenGui::OffscreenGui()
{
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        }
    });
    static int argc = 1;
    static char name[] = "quorin";
    static char* argv[] = {name, nullptr};
    m_application = std::make_unique<QGuiApplication>(argc, argv);
}

OffscreenGui::~OffscreenGui() = default;

} // namespace quorin::plots::ui
