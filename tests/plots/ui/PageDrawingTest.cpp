#include "core/ui/GdiTypes.h"
#include "core/ui/QtText.h"
#include "plots/DemoPlot.h"
#include "plots/HydropathyPage.h"
#include "plots/ui/EmfPaintDevice.h"
#include "plots/ui/PageFonts.h"
#include "plots/ui/PageOutput.h"
#include "plots/ui/PagePainter.h"

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <memory>

using namespace quorin;
using namespace quorin::plots;

namespace {

/// The demo plot with a mark at 27.
std::unique_ptr<core::PropertyRecord> demoRecord()
{
    auto record = std::make_unique<core::PropertyRecord>();
    test::FillDemoRecord(*record);
    core::MARK mark;
    mark.position = 27;
    mark.font = core::ReportFontA();
    record->plots.pathy.marks.push_back(mark);
    return record;
}

std::uint32_t le32(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

bool nonWhiteIn(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) != Qt::white) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

class PageDrawingTest : public QObject
{
    Q_OBJECT

private slots:
    void screenPagePaintsWhereTheGeometrySays();
    void fontsAndColoursConvertInOnePlace();
    void metafileHoldsDescriptionFrameAndTexts();
    void metafileThatCannotBeCreatedWritesNothing();
    void everyFormatIsWritten_data();
    void everyFormatIsWritten();
};

void PageDrawingTest::screenPagePaintsWhereTheGeometrySays()
{
    auto record = demoRecord();
    HydropathyPage page(*record);
    ui::RefreshHydropathyPage(page);
    QImage image(kPathyPageWidth, kPathyPageHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        ui::DrawHydropathyPage(painter, page, HydropathyScreenLayout());
    }
    // The frame's edges.
    QCOMPARE(image.pixelColor(40, 200), QColor(Qt::black));
    QCOMPARE(image.pixelColor(630, 200), QColor(Qt::black));
    QCOMPARE(image.pixelColor(300, 90), QColor(Qt::black));
    QCOMPARE(image.pixelColor(300, 290), QColor(Qt::black));
    // The helix bar, from residue 5 to 38, 5 below the frame top.
    const int barX = static_cast<int>(40 + 20 * 590.0 / 49);
    QCOMPARE(image.pixelColor(barX, 95), QColor(Qt::red));
    QCOMPARE(image.pixelColor(barX, 99), QColor(Qt::white));
    // The curve's plateau at 4.5 over the isoleucines, the mark's arrow at 27.
    const VerticalAxis axis = ComputeVerticalAxis(page.Profile().range);
    const int plateau = static_cast<int>(90 + (axis.max - 4.5) * 200 / (axis.max - axis.min));
    QCOMPARE(image.pixelColor(static_cast<int>(40 + 19 * 590.0 / 49), plateau), QColor(Qt::black));
    const int markX = static_cast<int>(40 + 26 * 590.0 / 49);
    QCOMPARE(image.pixelColor(markX, 100), QColor(Qt::black));
    // Texts: the legend, the axis title, the mark's label; nothing right of the
    // frame.
    QVERIFY(nonWhiteIn(image, QRect(40, 14, 200, 16)));
    QVERIFY(nonWhiteIn(image, QRect(280, 326, 110, 18)));
    QVERIFY(nonWhiteIn(image, QRect(markX + 4, 110, 30, 16)));
    QVERIFY(!nonWhiteIn(image, QRect(632, 0, 3, 360)));
    // The refresh measured the legend items with the real fonts.
    QVERIFY(record->plots.pathy.texts[0].width > 150);
    QVERIFY(record->plots.pathy.texts[0].height >= 16);
}

void PageDrawingTest::fontsAndColoursConvertInOnePlace()
{
    const QFont arial = core::ui::FontFromLogFont(core::ReportFontA());
    QCOMPARE(QFontInfo(arial).family(), QStringLiteral("Liberation Sans"));
    // A positive height is the cell: ascent plus descent.
    QVERIFY(qAbs(QFontMetrics(arial).height() - 16) <= 1);
    core::LOGFONT character = core::ReportFontB();
    character.lfHeight = -20;
    character.lfWeight = 700;
    character.lfItalic = 1;
    const QFont courier = core::ui::FontFromLogFont(character);
    QCOMPARE(QFontInfo(courier).family(), QStringLiteral("Liberation Mono"));
    QCOMPARE(courier.pixelSize(), 20);
    QVERIFY(courier.bold());
    QVERIFY(courier.italic());
    // Heights from a file are held within the largest font, whatever their sign.
    for (const std::int32_t height : {INT32_MIN, -core::kMaxFontHeight - 1, INT32_MAX}) {
        core::LOGFONT extreme = core::ReportFontA();
        extreme.lfHeight = height;
        const int pixels = core::ui::FontFromLogFont(extreme).pixelSize();
        QVERIFY2(pixels >= 1 && pixels <= core::kMaxFontHeight,
                 qPrintable(QString::number(height)));
    }
    QCOMPARE(core::ui::StoredFaceName(QStringLiteral("Liberation Mono")),
             QStringLiteral("Courier New"));
    QCOMPARE(core::ui::StoredFaceName(QStringLiteral("DejaVu Sans")),
             QStringLiteral("DejaVu Sans"));

    QCOMPARE(core::ui::ColorFromColorref(0x0000FF), QColor(255, 0, 0));
    QCOMPARE(core::ui::ColorFromColorref(0x123456), QColor(0x56, 0x34, 0x12));
    QCOMPARE(core::ui::ColorrefFromColor(QColor(0x56, 0x34, 0x12)), 0x123456u);
    QCOMPARE(core::ui::ToQString("caf\xc3\xa9"), QStringLiteral("caf\u00e9"));
    QCOMPARE(core::ui::ToQString("caf\xe9"), QStringLiteral("caf\u00e9")); // not UTF-8: Latin-1

    const ui::QtTextMeasure measure;
    const FontMetrics metrics = measure.Metrics(core::ReportFontA());
    QVERIFY(metrics.maxCharWidth >= measure.Extent(core::ReportFontA(), "W").width);
    QVERIFY(metrics.lineHeight >= metrics.height);
    QCOMPARE(measure.Extent(core::ReportFontA(), "").width, 0);
}

void PageDrawingTest::metafileHoldsDescriptionFrameAndTexts()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.emf"));
    QFile::remove(path);
    auto record = demoRecord();
    HydropathyPage page(*record);
    QVERIFY(ui::WritePage(ui::HydropathyPageSource(page), path, ui::OutputFormat::Emf, false));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.size() > 200);
    QCOMPARE(le32(bytes, 0), 1u);                   // EMR_HEADER
    QCOMPARE(bytes.mid(40, 4), QByteArray(" EMF")); // signature
    QCOMPARE(le32(bytes, 48), static_cast<std::uint32_t>(bytes.size()));
    // The frame in hundredths of a millimetre: the page's pixels at 26 each.
    QCOMPARE(le32(bytes, 24), 0u);
    QCOMPARE(le32(bytes, 32), 635u * 26);
    QCOMPARE(le32(bytes, 36), 360u * 26);
    // Two NUL-terminated strings and a final NUL, in UTF-16.
    const std::uint32_t count = le32(bytes, 60);
    const std::uint32_t offset = le32(bytes, 64);
    const QString description =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + offset), count);
    QCOMPARE(description, QStringLiteral("Quorin/Vestrin") + QChar(0) +
                              QStringLiteral("Hydropathy Plot") + QChar(0) + QChar(0));
    // Texts go in as wide text records, the fonts under their stored names.
    const auto utf16 = [](const QString& text) {
        return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    };
    QVERIFY(bytes.contains(utf16(QStringLiteral("Residue Number"))));
    QVERIFY(bytes.contains(utf16(QStringLiteral("I27"))));
    QVERIFY(bytes.contains(utf16(QStringLiteral("Arial"))));
    QVERIFY(!bytes.contains(utf16(QStringLiteral("Liberation"))));
    // The last record ends the file.
    QCOMPARE(le32(bytes, static_cast<int>(bytes.size()) - 20), 14u); // EMR_EOF
    QVERIFY((QFile::permissions(path) & QFile::ReadOther) != 0);
}

void PageDrawingTest::metafileThatCannotBeCreatedWritesNothing()
{
    QTemporaryDir dir;
    auto record = demoRecord();
    HydropathyPage page(*record);
    const QString missing = dir.filePath(QStringLiteral("no/such/dir/page.emf"));
    QVERIFY(!ui::WritePage(ui::HydropathyPageSource(page), missing, ui::OutputFormat::Emf, false));
    QVERIFY(!QFile::exists(missing));
    {
        const ui::EmfPaintDevice device(missing, QSize(10, 10), QRect(0, 0, 260, 260),
                                        QStringLiteral("a"), QStringLiteral("b"));
        QVERIFY(!device.isValid());
        QVERIFY2(device.errorString().startsWith(dir.filePath(QStringLiteral("no/such/dir: "))),
                 qPrintable(device.errorString()));
    }

    // A device that is never painted leaves the existing file untouched and
    // no temporary file behind.
    const QString existing = dir.filePath(QStringLiteral("old.emf"));
    {
        QFile file(existing);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    {
        ui::EmfPaintDevice device(existing, QSize(10, 10), QRect(0, 0, 260, 260),
                                  QStringLiteral("a"), QStringLiteral("b"));
        QVERIFY(device.isValid());
    }
    QFile file(existing);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

void PageDrawingTest::everyFormatIsWritten_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("printer");
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("svg") << "page.svg" << false << QByteArray("<?xml");
    QTest::newRow("svg printed") << "page.SVG" << true << QByteArray("<?xml");
    QTest::newRow("pdf") << "page.pdf" << false << QByteArray("%PDF");
    QTest::newRow("pdf printed") << "page.pdf" << true << QByteArray("%PDF");
    QTest::newRow("png") << "page.png" << false << QByteArray("\x89PNG");
    QTest::newRow("png printed") << "page.png" << true << QByteArray("\x89PNG");
    QTest::newRow("emf printed") << "page.emf" << true << QByteArray("\x01\0\0\0", 4);
}

void PageDrawingTest::everyFormatIsWritten()
{
    QFETCH(QString, name);
    QFETCH(bool, printer);
    QFETCH(QByteArray, start);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    auto record = demoRecord();
    HydropathyPage page(*record);
    const auto format = ui::OutputFormatOf(path);
    QVERIFY(format.has_value());
    QVERIFY(ui::WritePage(ui::HydropathyPageSource(page), path, *format, printer));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith(start));
    if (*format == ui::OutputFormat::Svg) {
        QVERIFY(bytes.contains("Residue Number"));
        QCOMPARE(bytes.contains("Hydropathy Plot of Residues 1-50 of demo"), printer);
    }
    if (*format == ui::OutputFormat::Png) {
        const QImage image(path);
        QCOMPARE(image.size(), printer ? QSize(1240, 1753) : QSize(635, 360));
    }
    QVERIFY(!ui::OutputFormatOf(QStringLiteral("page.jpg")).has_value());
}

QTEST_MAIN(PageDrawingTest)
#include "PageDrawingTest.moc"
