#pragma once

#include <QString>

#include <functional>

namespace quorin::core::ui {

/// Opens the help topic of a keyword ("QUORIN", "CONTENT", a window's or a
/// dialog's keyword). The main window installs the help window behind it;
/// dialogs of every subsystem call it from their "?" buttons.
void OpenHelpTopic(const QString& keyword);

using HelpHandler = std::function<void(const QString& keyword)>;

/// Installs what OpenHelpTopic does. Returns the handler it replaced.
HelpHandler SetHelpHandler(HelpHandler handler);

} // namespace quorin::core::ui
