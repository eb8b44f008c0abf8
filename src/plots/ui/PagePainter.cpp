#include "plots/ui/PagePainter.h"

#include "core/ui/GdiTypes.h"
#include "core/ui/QtText.h"
#include "plots/ui/PageFonts.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QPolygon>

#include <type_traits>

namespace quorin::plots::ui {
namespace {

QPen toQPen(const PagePen& pen)
{
    if (pen.dotted) {
        QPen dotted(core::ui::ColorFromColorref(pen.colour), 1, Qt::DotLine);
        dotted.setCosmetic(true);
        return dotted;
    }
    return QPen(core::ui::ColorFromColorref(pen.colour), pen.width, Qt::SolidLine, Qt::RoundCap,
                Qt::RoundJoin);
}

QPoint toQPoint(const DevicePoint& point)
{
    return QPoint(point.x, point.y);
}

void drawText(QPainter& painter, const PageText& text)
{
    const QFont font = core::ui::FontFromLogFont(text.font);
    const QFontMetrics metrics(font, painter.device());
    const QString content = core::ui::ToQString(text.text);
    int x = text.at.x;
    if (text.anchor == TextAnchor::TopRight) {
        x -= metrics.horizontalAdvance(content);
    } else if (text.anchor == TextAnchor::TopCentre) {
        x -= metrics.horizontalAdvance(content) / 2;
    }
    painter.setFont(font);
    painter.setPen(core::ui::ColorFromColorref(text.colour));
    painter.drawText(QPoint(x, text.at.y + metrics.ascent()), content);
}

} // namespace

void DrawPage(QPainter& painter, const PageDrawing& drawing)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setBrush(Qt::NoBrush);
    for (const PageElement& element : drawing.elements) {
        std::visit(
            [&painter](const auto& item) {
                using Item = std::decay_t<decltype(item)>;
                if constexpr (std::is_same_v<Item, PageLine>) {
                    painter.setPen(toQPen(item.pen));
                    painter.drawLine(toQPoint(item.from), toQPoint(item.to));
                } else if constexpr (std::is_same_v<Item, PagePolyline>) {
                    QPolygon polygon;
                    polygon.reserve(static_cast<qsizetype>(item.points.size()));
                    for (const DevicePoint& point : item.points) {
                        polygon.append(toQPoint(point));
                    }
                    painter.setPen(toQPen(item.pen));
                    painter.drawPolyline(polygon);
                } else if constexpr (std::is_same_v<Item, PageFrame>) {
                    painter.setPen(toQPen(item.pen));
                    if (item.fill) {
                        painter.setBrush(core::ui::ColorFromColorref(*item.fill));
                    }
                    painter.drawRect(item.rect.left, item.rect.top,
                                     item.rect.right - item.rect.left,
                                     item.rect.bottom - item.rect.top);
                    painter.setBrush(Qt::NoBrush);
                } else {
                    drawText(painter, item);
                }
            },
            element);
    }
    painter.restore();
}

void RefreshHydropathyPage(HydropathyPage& page)
{
    page.Refresh(QtTextMeasure());
}

void DrawHydropathyPage(QPainter& painter, const HydropathyPage& page, const PageLayout& layout)
{
    DrawPage(painter, page.Draw(layout, QtTextMeasure()));
}

namespace {

/// The layouts of the frame charts (hydropathy and amphipathy pages).
PageLayout chartLayout(PageTarget target, int deviceWidth)
{
    switch (target) {
    case PageTarget::Printer:
        return HydropathyPrinterLayout(deviceWidth);
    case PageTarget::Metafile:
        return HydropathyMetafileLayout();
    case PageTarget::Screen:
        break;
    }
    return HydropathyScreenLayout();
}

} // namespace

PageSource HydropathyPageSource(const HydropathyPage& page)
{
    PageSource source;
    source.screenSize = QSize(kPathyPageWidth, kPathyPageHeight);
    source.title = core::ui::ToQString(kPathyPageTitle);
    source.layout = chartLayout;
    source.draw = [&page](QPainter& painter, const PageLayout& layout) {
        DrawHydropathyPage(painter, page, layout);
    };
    return source;
}

void DrawAmphipathyPage(QPainter& painter, const AmphipathyPage& page, const PageLayout& layout)
{
    DrawPage(painter, page.Draw(layout, QtTextMeasure()));
}

PageSource AmphipathyPageSource(const AmphipathyPage& page)
{
    PageSource source;
    source.screenSize = QSize(kAmphyPageWidth, kAmphyPageHeight);
    source.title = core::ui::ToQString(kAmphyPageTitle);
    source.layout = chartLayout;
    source.draw = [&page](QPainter& painter, const PageLayout& layout) {
        DrawAmphipathyPage(painter, page, layout);
    };
    return source;
}

PageSource WheelPageSource(const core::PropertyRecord& record, const core::WHEELPLOT& wheel)
{
    PageSource source;
    source.screenSize = QSize(kWheelPageSize, kWheelPageSize);
    source.title = core::ui::ToQString(kWheelPageTitle);
    source.layout = [](PageTarget target, int deviceWidth) {
        switch (target) {
        case PageTarget::Printer:
            return WheelPrinterLayout(deviceWidth);
        case PageTarget::Metafile:
            return WheelMetafileLayout();
        case PageTarget::Screen:
            break;
        }
        // A zooming view shows the page deviceWidth pixels wide.
        return WheelScreenLayout(static_cast<double>(deviceWidth) / kWheelPageSize);
    };
    source.draw = [&record, &wheel](QPainter& painter, const PageLayout& layout) {
        DrawPage(painter, DrawWheelPage(record, wheel, layout, QtTextMeasure()));
    };
    return source;
}

void RefreshSketchPage(SketchPage& page)
{
    page.Refresh(QtTextMeasure());
}

PageSource SketchPageSource(const SketchPage& page)
{
    PageSource source;
    source.screenSize = QSize(page.PageWidth(), page.PageHeight());
    source.title = core::ui::ToQString(kSketchPageTitle);
    source.layout = [](PageTarget target, int deviceWidth) {
        switch (target) {
        case PageTarget::Printer:
            return SketchPrinterLayout(deviceWidth);
        case PageTarget::Metafile:
            return SketchMetafileLayout();
        case PageTarget::Screen:
            break;
        }
        return SketchScreenLayout();
    };
    source.draw = [&page](QPainter& painter, const PageLayout& layout) {
        DrawPage(painter, page.Draw(layout, QtTextMeasure()));
    };
    return source;
}

PageSource TitrationPageSource(const TitrationPage& page)
{
    PageSource source;
    source.screenSize = QSize(kTitrationPageWidth, page.PageHeight());
    source.title = core::ui::ToQString(kTitrationPageTitle);
    source.layout = [](PageTarget target, int deviceWidth) {
        switch (target) {
        case PageTarget::Printer:
            return TitrationPrinterLayout(deviceWidth);
        case PageTarget::Metafile:
            return TitrationMetafileLayout();
        case PageTarget::Screen:
            break;
        }
        return TitrationScreenLayout();
    };
    source.draw = [&page](QPainter& painter, const PageLayout& layout) {
        DrawPage(painter, page.Draw(layout, QtTextMeasure()));
    };
    return source;
}

} // namespace quorin::plots::ui
