#pragma once

#include "shell/WindowKinds.h"
#include "shell/ui/Launchers.h"

#include <any>
#include <functional>

class QObject;
class QWidget;

namespace quorin::core::ui {
class CommandTarget;
class CPeptideDoc;
} // namespace quorin::core::ui

namespace quorin::shell::ui {

/// What a window factory makes for a new frame.
struct WindowContent
{
    /// The frame's widget; the frame owns it. Null when it could not be made.
    QWidget* view = nullptr;
    /// The first stop of the command route, usually the view itself.
    core::ui::CommandTarget* viewTarget = nullptr;
    /// Plot kinds only: the plot document, which the frame then owns, and its
    /// place on the command route (after the view, before the application).
    QObject* plotDocument = nullptr;
    core::ui::CommandTarget* plotTarget = nullptr;
};

/// Makes the content of a new window of one kind on the sequence document
/// from what the kind's dialog chose (empty when the window opens without
/// one).
using WindowFactory = std::function<WindowContent(core::ui::CPeptideDoc&, const std::any& request)>;

/// The request of type T, or fallback when request holds none.
template <typename T>
T RequestOr(const std::any& request, T fallback = {})
{
    const T* held = std::any_cast<T>(&request);
    return held != nullptr ? *held : fallback;
}

/// The factory of the windows that are one view on the sequence document.
template <typename View>
WindowContent ViewOn(core::ui::CPeptideDoc& document, const std::any&)
{
    auto* view = new View(document);
    return WindowContent{view, view, nullptr, nullptr};
}

/// Registers a window kind: what the main window knows of it
/// (shell::RegisterWindowKind), the launcher of its Analyze command and its
/// factory. A kind lives in its own file, with a function that calls this.
void RegisterWindowKind(const WindowKindInfo& info, Launcher launcher, WindowFactory factory);

/// Registers every window kind of the program, once; the main window does it
/// first, and so does every look-up below.
void RegisterWindowKinds();

/// The factory of a kind, or nullptr while the kind has none: its commands
/// then stay disabled.
const WindowFactory* FindWindowFactory(WindowKind kind);

/// Replaces the factory of a kind (an empty one removes it).
void SetWindowFactory(WindowKind kind, WindowFactory factory);

} // namespace quorin::shell::ui
