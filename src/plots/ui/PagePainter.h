#pragma once

#include "plots/AmphipathyPage.h"
#include "plots/HydropathyPage.h"
#include "plots/Page.h"
#include "plots/SketchPage.h"
#include "plots/TitrationPage.h"
#include "plots/Wheel.h"
#include "plots/ui/PageOutput.h"

class QPainter;

namespace quorin::plots::ui {

/// Maps what a page draws onto a painter: device units are the painter's
/// logical units, texts go with a transparent background. Lines and frames are
/// drawn without antialiasing, as the pages were laid out in whole pixels.
void DrawPage(QPainter& painter, const PageDrawing& drawing);

/// Refreshes the page (HydropathyPage::Refresh) with the fonts it is drawn
/// with; the step after every change of the plot or its sequence.
void RefreshHydropathyPage(HydropathyPage& page);

/// The hydropathy page for one target: screen widget, printer, PDF, SVG, PNG
/// and metafile all come through here.
void DrawHydropathyPage(QPainter& painter, const HydropathyPage& page, const PageLayout& layout);

/// The hydropathy page for the file outputs; page must outlive the source.
PageSource HydropathyPageSource(const HydropathyPage& page);

/// The amphipathy page for one target.
void DrawAmphipathyPage(QPainter& painter, const AmphipathyPage& page, const PageLayout& layout);

/// The amphipathy page for the file outputs; page must outlive the source.
PageSource AmphipathyPageSource(const AmphipathyPage& page);
/// The helical wheel of a record for the file outputs, drawn unzoomed; record
/// and wheel must outlive the source.
PageSource WheelPageSource(const core::PropertyRecord& record, const core::WHEELPLOT& wheel);
/// Refreshes the sketch (SketchPage::Refresh) with the fonts it is drawn with.
void RefreshSketchPage(SketchPage& page);

/// The domain sketch for the file outputs, the window, the printer and the
/// metafile; page must outlive the source.
PageSource SketchPageSource(const SketchPage& page);

/// The titration curve for the file outputs, the window, the printer and the
/// metafile; page must outlive the source.
PageSource TitrationPageSource(const TitrationPage& page);

} // namespace quorin::plots::ui
