#pragma once

#include "core/FileIo.h"
#include "plots/Page.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class QGuiApplication;
class QPainter;

namespace quorin::plots::ui {

/// What a page kind tells the outputs: its screen size in page units, its
/// title (metafile description, print job) and how it draws for a layout.
struct PageSource
{
    QSize screenSize;
    QString title;
    /// The layout for a target; deviceWidth is the printable width in device
    /// units (only the printer layout uses it).
    std::function<PageLayout(PageTarget target, int deviceWidth)> layout;
    std::function<void(QPainter& painter, const PageLayout& layout)> draw;
};

enum class OutputFormat
{
    Svg,
    Pdf,
    Png,
    Emf,
};

/// The format named by a file name's ending (case ignored), if any.
std::optional<OutputFormat> OutputFormatOf(const QString& path);

/// Writes the page to path. The screen layout gives a picture of the page's
/// screen size; the printer layout an A4 portrait sheet. Returns false when the
/// file could not be written.
bool WritePage(const PageSource& page, const QString& path, OutputFormat format,
               bool printerLayout);

/// The page's file bytes in a format, for the clipboard; empty on failure,
/// and then failure (where given) names the file at fault and the reason
/// when one is known.
QByteArray RenderPage(const PageSource& page, OutputFormat format, bool printerLayout,
                      QString* failure = nullptr);

/// WritePage for callers without Qt types (the command line): the format
/// comes from the ending of path (UTF-8).
/// Fails with a reason when the file could not be written.
core::FileStatus WritePageFile(const PageSource& page, const std::string& path, bool printerLayout);
std::optional<OutputFormat> OutputFormatOfName(std::string_view path);

/// Keeps a QGuiApplication on the offscreen platform (unless QT_QPA_PLATFORM
/// names another) while pages are drawn outside the desktop program. Qt's
/// notes about the environment are dropped, its errors go to standard error.
/// Does nothing when an application object exists.
class OffscreenGui
{
public:
    OffscreenGui();
    ~OffscreenGui();
    OffscreenGui(const OffscreenGui&) = delete;
    OffscreenGui& operator=(const OffscreenGui&) = delete;

private:
    std::unique_ptr<QGuiApplication> m_application;
};

/// The creator string of the metafile description.
inline constexpr const char* kMetafileCreator = "Quorin/Vestrin";

} // namespace quorin::plots::ui
