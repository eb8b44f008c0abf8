#include "cli/Commands.h"
#include "cli/PlotOptions.h"
#include "core/NumberText.h"
#include "plots/AmphipathyPage.h"
#include "plots/HydropathyPage.h"
#include "plots/SketchPage.h"
#include "plots/TitrationPage.h"
#include "plots/Wheel.h"
#include "plots/ui/PageOutput.h"
#include "plots/ui/PagePainter.h"

#include <algorithm>
#include <limits>

namespace quorin::cli {
namespace {

/// Writes a page to output (its ending names the format); a failure is
/// refused with the file's name.
void writePage(const plots::ui::PageSource& source, const std::string& output, bool printLayout)
{
    const core::FileStatus written = plots::ui::WritePageFile(source, output, printLayout);
    if (!written) {
        throw InputRefused("Cannot write " + output + ": " + written.Error());
    }
}

core::MARK markAt(const std::string& position, int length)
{
    const int value = ParseIntOption("--mark", position);
    if (value < 1 || value > length || value > 0xFFFF) {
        throw UsageError("--mark needs a position from 1 to " + std::to_string(length));
    }
    core::MARK mark;
    mark.position = static_cast<std::uint16_t>(value);
    mark.font = core::ReportFontA();
    return mark;
}

/// "X,Y,TEXT": a text item at screen page coordinates; "\n" in TEXT breaks
/// the line.
core::TEXTITEM textItem(const std::string& option)
{
    const auto first = option.find(',');
    const auto second = first == std::string::npos ? first : option.find(',', first + 1);
    if (second == std::string::npos) {
        throw UsageError("--text needs X,Y,TEXT");
    }
    core::TEXTITEM item;
    item.x = ParseIntOption("--text", option.substr(0, first));
    item.y = ParseIntOption("--text", option.substr(first + 1, second - first - 1));
    std::string text = option.substr(second + 1);
    for (auto at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at + 2)) {
        text.replace(at, 2, "\r\n");
    }
    item.text = text;
    item.font = core::ReportFontA();
    return item;
}

/// The amphipathy page: stretch and window checked as its dialog checks them
/// (defaults 1, the last position and 19), the scale as --scale names it.
void renderAmphipathy(Session& session, const HydropathyOptions& options, const std::string& output,
                      bool printLayout)
{
    SelectScaleOption(session.record, options.scale);
    const int length = plots::PositionCount(session.record);
    const plots::PathyDialogCheck check = plots::CheckAmphyDialog(
        options.from.value_or("1"), options.to.value_or(std::to_string(length)),
        options.window.value_or(std::to_string(plots::kDefaultAmphyWindow)), length);
    if (!check.ok) {
        throw InputRefused(check.message);
    }
    const plots::ui::OffscreenGui gui;
    plots::AmphipathyPage page(session.record);
    page.Plot() =
        plots::AmphipathyPlot{check.from, check.to, check.window, session.app.plotLineWidth};
    writePage(plots::ui::AmphipathyPageSource(page), output, printLayout);
}

/// The helical wheel of --from..--to, with the wheel options of the settings
/// as a newly opened wheel takes them.
void renderWheel(Session& session, const HydropathyOptions& options, const std::string& output,
                 bool printLayout)
{
    const plots::PathyDialogCheck check =
        plots::CheckWheelDialog(*options.from, *options.to, plots::PositionCount(session.record));
    if (!check.ok) {
        throw InputRefused(check.message);
    }
    plots::TakeWheelOptions(session.record, session.app);
    const int index = plots::AddWheel(session.record, check.from, check.to);
    const plots::ui::OffscreenGui gui;
    writePage(plots::ui::WheelPageSource(
                  session.record, session.record.plots.wheels[static_cast<std::size_t>(index)]),
              output, printLayout);
}

/// The domain sketch a .pep file carries, as its window draws it.
int renderDomains(Session& session, const std::string& path, const std::string& output,
                  bool printLayout)
{
    const core::PepLoadResult loaded = LoadSequence(session, path);
    if (!loaded.hasSketch) {
        throw InputRefused(path + " holds no sketch of domains");
    }
    session.record.sketch.lineWidth = static_cast<std::uint16_t>(
        std::clamp(session.app.plotLineWidth, 0, int{std::numeric_limits<std::uint16_t>::max()}));
    const plots::ui::OffscreenGui gui;
    plots::SketchPage page(session.record);
    plots::ui::RefreshSketchPage(page);
    writePage(plots::ui::SketchPageSource(page), output, printLayout);
    return 0;
}

/// The titration curve under the set --pka-set names (default "settings").
void renderTitration(Session& session, const std::optional<std::string>& setName,
                     const std::string& output, bool printLayout)
{
    const analysis::PKaSet set = ParsePKaSet(setName);
    const plots::ui::OffscreenGui gui;
    const plots::TitrationPage page(session.record, set, session.app.plotLineWidth);
    writePage(plots::ui::TitrationPageSource(page), output, printLayout);
}

} // namespace

int RunRender(Arguments& args)
{
    const auto settings = args.TakeValue("--settings");
    const auto output = args.TakeValue("-o");
    const bool printLayout = args.TakeFlag("--print-layout");
    const HydropathyOptions options = TakeHydropathyOptions(args);
    const auto marks = args.TakeValues("--mark");
    const auto texts = args.TakeValues("--text");
    const auto setName = args.TakeValue("--pka-set");
    const auto positional = args.Positional(2);
    const bool amphipathy = positional[0] == "amphipathy";
    const bool titration = positional[0] == "titration";
    if (positional[0] != "hydropathy" && !amphipathy && positional[0] != "wheel" &&
        positional[0] != "domains" && !titration) {
        throw UsageError("cannot render \"" + positional[0] +
                         "\": the pages are: hydropathy, amphipathy, wheel, domains, titration");
    }
    if (titration && (options.from || options.to || options.window || options.scale ||
                      options.threshold || !marks.empty() || !texts.empty())) {
        throw UsageError("the titration page takes --pka-set only");
    }
    if (setName && !titration) {
        throw UsageError("--pka-set belongs to the titration page");
    }
    if (amphipathy && (options.threshold || !marks.empty() || !texts.empty())) {
        throw UsageError("--threshold, --mark and --text belong to the hydropathy page");
    }
    if (!output) {
        throw UsageError("render needs -o OUT");
    }
    if (!plots::ui::OutputFormatOfName(*output)) {
        throw UsageError("OUT must end in .svg, .pdf, .png or .emf");
    }

    if (positional[0] == "wheel") {
        if (!options.from || !options.to) {
            throw UsageError("render wheel needs --from and --to");
        }
        if (options.window || options.threshold || options.scale || !marks.empty() ||
            !texts.empty()) {
            throw UsageError("the wheel page takes --from and --to only");
        }
    }

    Session session(settings);
    if (positional[0] == "domains") {
        // The sketch comes from the file; the hydropathy page's options mean nothing here.
        if (options.from || options.to || options.window || options.scale || options.threshold ||
            !marks.empty() || !texts.empty()) {
            throw UsageError("render domains takes no plot options: the file holds the sketch");
        }
        return renderDomains(session, positional[1], *output, printLayout);
    }
    LoadSequence(session, positional[1]);
    if (titration) {
        renderTitration(session, setName, *output, printLayout);
        return 0;
    }
    if (amphipathy) {
        renderAmphipathy(session, options, *output, printLayout);
        return 0;
    }
    if (positional[0] == "wheel") {
        renderWheel(session, options, *output, printLayout);
        return 0;
    }
    plots::StartHydropathyPlot(session.record, ApplyHydropathyOptions(session.record, options),
                               session.app.plotLineWidth);
    core::HydropathyPlotSettings& plot = session.record.plots.pathy;
    for (const std::string& position : marks) {
        plot.marks.push_back(markAt(position, plots::PositionCount(session.record)));
    }
    for (const std::string& option : texts) {
        plot.texts.push_back(textItem(option));
    }

    const plots::ui::OffscreenGui gui;
    plots::HydropathyPage page(session.record);
    plots::ui::RefreshHydropathyPage(page);
    writePage(plots::ui::HydropathyPageSource(page), *output, printLayout);
    return 0;
}

} // namespace quorin::cli
