#include "plots/SketchPage.h"

#include "analysis/Topology.h"
#include "core/MessageTexts.h"
#include "core/NumberText.h"
#include "plots/Hydropathy.h"
#include "plots/HydropathyPage.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace quorin::plots {
namespace {

/// A scale no wider page than this follows: a typed scale of 999999999 would
/// otherwise ask for a picture millions of pixels wide.
constexpr int kMaxPageWidth = 16000;
/// The printer's width in page units that the factor maps the page onto.
constexpr double kPrintedPageWidth = 630.0;
/// The gap between a mark's shaft and its label, in page units.
constexpr int kMarkLabelGap = 2;
/// The gap between the boxes and a name placed under them, and between the
/// lines of such names, in page units.
constexpr int kNameGap = 2;
/// The least room between two names on one line, in page units: a blank's
/// worth, so that they do not read as one.
constexpr int kNameSpacing = 6;

constexpr std::uint16_t clampExtent(int value)
{
    return static_cast<std::uint16_t>(
        std::clamp(value, 0, static_cast<int>(std::numeric_limits<std::uint16_t>::max())));
}

/// A scale that places residues: a file may hold 0, a negative number or no
/// number at all, and such a sketch draws no domain and no mark.
bool usableScale(double scale)
{
    return std::isfinite(scale) && scale > 0.0;
}

bool allDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

/// A position field as the domain dialog reads it; -1 when refused.
int positionOf(std::string_view typed, int positionCount)
{
    const std::string_view field = typed.substr(0, 9);
    if (!allDigits(field)) {
        return -1;
    }
    const int position = core::ParseLeadingInt(field);
    if (position > positionCount || position > kLastStoredPosition) {
        return -1;
    }
    return position;
}

PageLayout printedLayout(PageTarget target, int deviceWidth)
{
    const int factor = std::max(1, TruncatedUnits(0.8 * deviceWidth / kPrintedPageWidth));
    return PageLayout{target,
                      static_cast<double>(factor),
                      kSketchPrintedLeft,
                      kSketchPrintedTop,
                      kSketchPageWidth,
                      kSketchPageHeight};
}

/// A mark as a layout places it.
struct PlacedMark
{
    int index = 0;
    double x = 0.0; ///< page units
    DeviceRect arrow;
    std::string label; ///< empty without label
    core::LOGFONT labelFont;
    DevicePoint labelAt;
    DeviceRect labelBox;
};

/// The marks that stand on a residue of the sequence, in list order.
std::vector<PlacedMark> placeMarks(const core::PropertyRecord& record, const PageLayout& layout,
                                   const TextMeasure& measure)
{
    const core::SketchData& sketch = record.sketch;
    std::vector<PlacedMark> placed;
    if (!usableScale(sketch.scale)) {
        return placed;
    }
    const std::string& sequence = record.CleanSequence();
    const auto D = [&layout](double page) { return layout.Device(page); };
    const double tip = layout.top - 4.0;
    for (std::size_t k = 0; k < sketch.marks.size(); ++k) {
        const core::MARK& mark = sketch.marks[k];
        if (mark.position < 1 || static_cast<std::size_t>(mark.position) > sequence.size()) {
            continue;
        }
        PlacedMark one;
        one.index = static_cast<int>(k);
        one.x = layout.left + mark.position * sketch.scale;
        one.arrow = {D(one.x - 3), D(tip - 16), D(one.x + 3), D(tip)};
        if (sketch.labelMarks != 0) {
            one.labelFont = ScaledFont(UsableFont(mark.font), layout.scale);
            one.label = sequence[mark.position - 1u] + std::to_string(mark.position);
            const TextExtent extent = measure.Extent(one.labelFont, one.label);
            one.labelAt = {D(one.x) - extent.width / 2,
                           D(tip - 16 - kMarkLabelGap) - extent.height};
            one.labelBox = {one.labelAt.x, one.labelAt.y, one.labelAt.x + extent.width,
                            one.labelAt.y + extent.height};
        }
        placed.push_back(std::move(one));
    }
    return placed;
}

bool overlap(const DeviceRect& a, const DeviceRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

/// A domain's name as a layout places it.
struct PlacedName
{
    int index = 0;
    core::LOGFONT font;
    DeviceRect rect;
};

/// Places the names to be shown so that none overprints another: centred in
/// its box when it fits there, shrunk to three quarters of its height at the
/// least, clear of the boxes painted over its own; else under the boxes,
/// centred under its box's middle, on the first line where it meets no name
/// placed before. The names of the boxes on top go first: theirs is the
/// least room. Returned in list order.
std::vector<PlacedName> placeNames(const core::SketchData& sketch, const PageLayout& layout,
                                   const std::vector<DeviceRect>& boxes,
                                   const std::vector<int>& order, const TextMeasure& measure)
{
    const auto D = [&layout](double page) { return layout.Device(page); };
    const int gap = std::max(1, D(kNameGap) - D(0));
    const int spacing = std::max(1, D(kNameSpacing) - D(0));
    std::vector<PlacedName> placed;
    const auto meets = [spacing](const DeviceRect& rect, const PlacedName& name) {
        const DeviceRect wider{name.rect.left - spacing, name.rect.top, name.rect.right + spacing,
                               name.rect.bottom};
        return overlap(rect, wider);
    };
    const auto meetsPlaced = [&](const DeviceRect& rect) {
        return std::any_of(placed.begin(), placed.end(),
                           [&](const PlacedName& name) { return meets(rect, name); });
    };
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const core::DOMAINE& domain = sketch.domains[static_cast<std::size_t>(*it)];
        if (domain.displayName == 0) {
            continue;
        }
        const DeviceRect& box = boxes[static_cast<std::size_t>(*it)];
        const int middleX = D(layout.left + domain.start * sketch.scale +
                              (domain.end - domain.start) * sketch.scale / 2);
        const int middleY = D(layout.top + kDomainHeight / 2.0);
        const auto centredOn = [&](int x, int y, const TextExtent& extent) {
            return DeviceRect{x - extent.width / 2, y - extent.height / 2,
                              x - extent.width / 2 + extent.width,
                              y - extent.height / 2 + extent.height};
        };
        const auto clearInside = [&](const DeviceRect& rect) {
            if (rect.left <= box.left || rect.right >= box.right || rect.top < box.top ||
                rect.bottom > box.bottom || meetsPlaced(rect)) {
                return false;
            }
            // it.base() is one past this box in the drawing order: the
            // boxes painted over it.
            return std::none_of(it.base(), order.end(), [&](int above) {
                return overlap(rect, boxes[static_cast<std::size_t>(above)]);
            });
        };

        PlacedName name{*it, ScaledFont(UsableFont(domain.font), layout.scale), {}};
        const int height = std::abs(name.font.lfHeight);
        const int smallest = std::max(1, (3 * height + 3) / 4);
        bool inside = false;
        for (int h = height; h >= smallest && !inside; --h) {
            core::LOGFONT font = name.font;
            font.lfHeight = name.font.lfHeight < 0 ? -h : h;
            const DeviceRect rect = centredOn(middleX, middleY, measure.Extent(font, domain.name));
            if (clearInside(rect)) {
                name.font = font;
                name.rect = rect;
                inside = true;
            }
        }
        if (!inside) {
            const TextExtent extent = measure.Extent(name.font, domain.name);
            const int left = std::max(0, middleX - extent.width / 2);
            DeviceRect rect{left, box.bottom + gap, left + extent.width,
                            box.bottom + gap + extent.height};
            for (bool moved = true; moved;) {
                moved = false;
                for (const PlacedName& other : placed) {
                    if (meets(rect, other)) {
                        rect.top = other.rect.bottom + gap;
                        rect.bottom = rect.top + extent.height;
                        moved = true;
                    }
                }
            }
            name.rect = rect;
        }
        placed.push_back(name);
    }
    std::sort(placed.begin(), placed.end(),
              [](const PlacedName& a, const PlacedName& b) { return a.index < b.index; });
    return placed;
}

} // namespace

PageLayout SketchScreenLayout()
{
    return PageLayout{PageTarget::Screen, 1.0,
                      kSketchScreenLeft,  kSketchScreenTop,
                      kSketchPageWidth,   kSketchPageHeight};
}

PageLayout SketchPrinterLayout(int deviceWidth)
{
    return printedLayout(PageTarget::Printer, deviceWidth);
}

PageLayout SketchMetafileLayout()
{
    PageLayout layout = printedLayout(PageTarget::Metafile, 0);
    layout.scale = 1.0;
    return layout;
}

void StartDomainSketch(core::PropertyRecord& record)
{
    core::SketchData& sketch = record.sketch;
    const int length = PositionCount(record);
    sketch.domains.clear();
    sketch.scale = 0.0;
    if (length <= 0) {
        return;
    }
    core::DOMAINE whole;
    whole.start = 1;
    whole.end = static_cast<std::uint16_t>(std::min(length, kLastStoredPosition));
    whole.name = record.Name();
    whole.font = core::ReportFontA();
    whole.displayName = 0;
    whole.colour = kDefaultDomainColour;
    sketch.domains.push_back(std::move(whole));
    sketch.scale = kSketchDefaultWidth / length;
}

core::DOMAINE ShownDomain(int start, int end, std::string name, core::COLORREF fill)
{
    core::DOMAINE domain;
    domain.start = static_cast<std::uint16_t>(std::clamp(start, 0, kLastStoredPosition));
    domain.end = static_cast<std::uint16_t>(std::clamp(end, 0, kLastStoredPosition));
    name.resize(std::min<std::size_t>(name.size(), kDomainNameLength));
    domain.name = std::move(name);
    domain.font = core::ReportFontA();
    domain.displayName = 1;
    domain.labelColour = kBlack;
    domain.colour = fill;
    return domain;
}

std::vector<core::DOMAINE> PredictedTopologyDomains(std::string_view sequence,
                                                    const std::vector<core::DOMAINE>& existing)
{
    std::vector<core::DOMAINE> added;
    const auto taken = [&](const std::string& name) {
        return std::any_of(existing.begin(), existing.end(),
                           [&](const core::DOMAINE& d) { return d.name == name; });
    };
    int helices = 0;
    for (const analysis::TopologySegment& segment :
         analysis::TopologySegments(analysis::PredictTopology(sequence))) {
        std::string name;
        core::COLORREF fill = 0;
        if (segment.label == analysis::kTopologyHelix) {
            name = "TM " + std::to_string(++helices);
            fill = kTopologyHelixColour;
        } else if (segment.label == analysis::kTopologySignal) {
            name = "Signal peptide";
            fill = kTopologySignalColour;
        } else {
            continue;
        }
        if (taken(name) || segment.end > kLastStoredPosition) {
            continue;
        }
        added.push_back(ShownDomain(segment.start, segment.end, std::move(name), fill));
    }
    return added;
}

bool SameSketchContent(const core::SketchData& a, const core::SketchData& b)
{
    const auto sameMark = [](core::MARK x, core::MARK y) {
        x.selected = y.selected = 0;
        return x == y;
    };
    const auto sameText = [](core::TEXTITEM x, core::TEXTITEM y) {
        x.selected = y.selected = 0;
        x.width = y.width = 0;
        x.height = y.height = 0;
        return x == y;
    };
    // A file may hold a scale that is no number; it stays the same scale.
    const bool sameScale = a.scale == b.scale || (std::isnan(a.scale) && std::isnan(b.scale));
    return a.domains == b.domains && sameScale && a.labelMarks == b.labelMarks &&
           std::equal(a.marks.begin(), a.marks.end(), b.marks.begin(), b.marks.end(), sameMark) &&
           std::equal(a.texts.begin(), a.texts.end(), b.texts.begin(), b.texts.end(), sameText);
}

std::vector<int> DrawingOrder(const std::vector<core::DOMAINE>& domains)
{
    const auto length = [&domains](int index) {
        const core::DOMAINE& domain = domains[static_cast<std::size_t>(index)];
        return static_cast<int>(domain.end) - static_cast<int>(domain.start);
    };
    std::vector<int> order;
    order.reserve(domains.size());
    for (int i = 0; i < static_cast<int>(domains.size()); ++i) {
        auto at = order.end();
        while (at != order.begin() && length(i) > length(*(at - 1))) {
            --at;
        }
        order.insert(at, i);
    }
    return order;
}

std::string ScaleText(double scale)
{
    if (!std::isfinite(scale)) {
        return "0";
    }
    std::string text = core::FormatSignificant(scale, 3);
    if (text.find_first_of("Ee") == std::string::npos) {
        return text;
    }
    // Beyond the range of positional notation with 3 digits: a scale of 1000
    // and more is a whole number, a tiny one keeps its first 3 digits.
    char buffer[64];
    if (std::fabs(scale) >= 1.0) {
        std::snprintf(buffer, sizeof buffer, "%.0f", scale);
    } else {
        const int decimals = 2 - static_cast<int>(std::floor(std::log10(std::fabs(scale))));
        std::snprintf(buffer, sizeof buffer, "%.*f", std::min(decimals, 30), scale);
    }
    return buffer;
}

ScaleCheck CheckScaleText(std::string_view typed)
{
    const std::string_view field = typed.substr(0, 9);
    const bool valid = std::all_of(field.begin(), field.end(),
                                   [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
    if (!valid) {
        return ScaleCheck{false, 0.0, std::string(core::msg::kInvalidScale)};
    }
    return ScaleCheck{true, core::ParseLeadingDouble(field), {}};
}

DomainCheck CheckDomain(std::string_view name, std::string_view start, std::string_view end,
                        const std::vector<core::DOMAINE>& domains, int editing, int positionCount)
{
    DomainCheck check;
    if (name.empty()) {
        return check;
    }
    for (std::size_t k = 0; k < domains.size(); ++k) {
        if (static_cast<int>(k) != editing && domains[k].name == name) {
            check.message = core::msg::kNameInUse;
            return check;
        }
    }
    const int first = positionOf(start, positionCount);
    if (first < 0) {
        check.field = DomainField::Start;
        check.message = core::msg::kInvalidPosition;
        return check;
    }
    const int last = positionOf(end, positionCount);
    if (last < 0) {
        check.field = DomainField::End;
        check.message = core::msg::kInvalidPosition;
        return check;
    }
    if (first >= last) {
        check.field = DomainField::Start;
        check.message = core::msg::kStartNotBelowEnd;
        return check;
    }
    check.ok = true;
    check.start = static_cast<std::uint16_t>(first);
    check.end = static_cast<std::uint16_t>(last);
    return check;
}

SketchPage::SketchPage(core::PropertyRecord& record) : m_record(record)
{}

void SketchPage::SetSelectedDomain(int index)
{
    const bool inList = index >= 0 && static_cast<std::size_t>(index) < Sketch().domains.size();
    m_selectedDomain = inList ? index : -1;
}

void SketchPage::Refresh(const TextMeasure& measure)
{
    SetSelectedDomain(m_selectedDomain);
    const PageLayout screen = SketchScreenLayout();
    for (core::TEXTITEM& item : Sketch().texts) {
        const TextItemBlock block =
            LayoutTextItem(item, ScaledFont(UsableFont(item.font), screen.scale), 0, measure);
        item.width = clampExtent(block.width);
        item.height = clampExtent(block.height);
    }
    m_markPlaces.clear();
    for (const PlacedMark& placed : placeMarks(m_record, screen, measure)) {
        m_markPlaces.push_back(MarkPlace{placed.index, placed.arrow, placed.labelBox});
    }
}

PageDrawing SketchPage::Draw(const PageLayout& layout, const TextMeasure& measure) const
{
    const core::SketchData& sketch = Sketch();
    const double L = layout.left;
    const double T = layout.top;
    const auto D = [&layout](double page) { return layout.Device(page); };
    const bool onScreen = layout.target == PageTarget::Screen;
    // A line width of 0 (a first start's setting) is the thinnest pen, one
    // page unit, as on the hydropathy page.
    const int lineWidth =
        std::max(1, TruncatedUnits(std::max(1, int{sketch.lineWidth}) * layout.scale));
    const PagePen outline{kBlack, lineWidth, false};

    PageDrawing page;
    auto& out = page.elements;
    const auto text = [&out](std::string content, DevicePoint at, const core::LOGFONT& font,
                             core::COLORREF colour) {
        out.push_back(PageText{std::move(content), at, TextAnchor::TopLeft, font, colour});
    };

    if (layout.Printing()) {
        const core::LOGFONT font = ScaledFont(core::ReportFontA(), layout.scale);
        const FontMetrics metrics = measure.Metrics(font);
        const int width = D(L + kSketchDefaultWidth) - D(L);
        const TitleBlock title = WrapTitle(Caption(), font, width, 3, measure);
        DrawTitleBlock(out, title, {D(L), metrics.lineHeight}, font, metrics.lineHeight);
    }

    if (usableScale(sketch.scale)) {
        std::vector<DeviceRect> boxes;
        boxes.reserve(sketch.domains.size());
        for (const core::DOMAINE& domain : sketch.domains) {
            boxes.push_back(DeviceRect{D(L + domain.start * sketch.scale), D(T),
                                       D(L + domain.end * sketch.scale), D(T + kDomainHeight)});
        }
        const std::vector<int> order = DrawingOrder(sketch.domains);
        for (const int index : order) {
            const core::DOMAINE& domain = sketch.domains[static_cast<std::size_t>(index)];
            out.push_back(
                PageFrame{boxes[static_cast<std::size_t>(index)], outline, domain.colour});
        }
        for (const PlacedName& name : placeNames(sketch, layout, boxes, order, measure)) {
            const core::DOMAINE& domain = sketch.domains[static_cast<std::size_t>(name.index)];
            text(domain.name, {name.rect.left, name.rect.top}, name.font, domain.labelColour);
        }
        if (onScreen && m_selectedDomain >= 0) {
            const DeviceRect& box = boxes[static_cast<std::size_t>(m_selectedDomain)];
            out.push_back(PageFrame{{box.left - 2, box.top - 2, box.right + 2, box.bottom + 2},
                                    PagePen{kBlack, 1, true}});
        }
    }

    DrawTextItems(out, sketch.texts, layout, L - kSketchScreenLeft, T - kSketchScreenTop, measure);

    const double tip = T - 4.0;
    for (const PlacedMark& placed : placeMarks(m_record, layout, measure)) {
        const core::MARK& mark = sketch.marks[static_cast<std::size_t>(placed.index)];
        const PagePen pen{mark.lineColour, lineWidth, false};
        const int x = D(placed.x);
        const DevicePoint tipPoint{x, D(tip)};
        out.push_back(PageLine{{x, D(tip - 16)}, tipPoint, pen});
        out.push_back(PageLine{tipPoint, {D(placed.x - 2), D(tip - 7)}, pen});
        out.push_back(PageLine{tipPoint, {D(placed.x + 2), D(tip - 7)}, pen});
        if (!placed.label.empty()) {
            text(placed.label, placed.labelAt, placed.labelFont, mark.labelColour);
        }
        if (onScreen && mark.selected != 0) {
            DeviceRect box = placed.arrow;
            if (!placed.labelBox.Empty()) {
                box.left = std::min(box.left, placed.labelBox.left);
                box.top = std::min(box.top, placed.labelBox.top);
                box.right = std::max(box.right, placed.labelBox.right);
            }
            out.push_back(PageFrame{{box.left - 1, box.top - 1, box.right + 1, box.bottom + 1},
                                    PagePen{kBlack, 1, true}});
        }
    }
    return page;
}

int SketchPage::PageWidth() const
{
    const core::SketchData& sketch = Sketch();
    if (!usableScale(sketch.scale)) {
        return kSketchPageWidth;
    }
    int last = 0;
    for (const core::DOMAINE& domain : sketch.domains) {
        last = std::max({last, int{domain.start}, int{domain.end}});
    }
    for (const core::MARK& mark : sketch.marks) {
        last = std::max(last, int{mark.position});
    }
    // Room for the printed origin and a margin as wide as the screen's.
    const double right = kSketchPrintedLeft + last * sketch.scale + kSketchScreenLeft;
    return static_cast<int>(
        std::clamp(std::ceil(right), double{kSketchPageWidth}, double{kMaxPageWidth}));
}

std::string SketchPage::Caption() const
{
    return "Sketch of domains of " + m_record.Name();
}

int SketchPage::TextItemAt(DevicePoint point) const
{
    return plots::TextItemAt(Sketch().texts, point);
}

int SketchPage::DomainAt(DevicePoint point) const
{
    const core::SketchData& sketch = Sketch();
    if (!usableScale(sketch.scale) || point.y < kSketchScreenTop ||
        point.y > kSketchScreenTop + kDomainHeight) {
        return -1;
    }
    const std::vector<int> order = DrawingOrder(sketch.domains);
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const core::DOMAINE& domain = sketch.domains[static_cast<std::size_t>(*it)];
        if (kSketchScreenLeft + domain.start * sketch.scale <= point.x &&
            point.x <= kSketchScreenLeft + domain.end * sketch.scale) {
            return *it;
        }
    }
    return -1;
}

int SketchPage::MarkAt(DevicePoint point) const
{
    for (const MarkPlace& place : m_markPlaces) {
        if (place.arrow.Contains(point) || place.labelBox.Contains(point)) {
            return place.index;
        }
    }
    return -1;
}

} // namespace quorin::plots
