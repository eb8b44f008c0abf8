#pragma once

#include "shell/WindowKinds.h"

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

/// The factory of a kind, or nullptr while the kind has none: its commands
/// then stay disabled. Each window kind is registered in WindowFactories.cpp.
const WindowFactory* FindWindowFactory(WindowKind kind);

/// Replaces the factory of a kind (an empty one removes it).
void SetWindowFactory(WindowKind kind, WindowFactory factory);

} // namespace quorin::shell::ui
