#pragma once

#include <optional>

namespace quorin::shell::ui {

/// Which of the three lock keys are on.
struct LockKeys
{
    bool capsLock = false;
    bool numLock = false;
    bool scrollLock = false;
};

/// The lock keys' state as the keyboard indicators show it; nothing where the
/// platform does not tell (only the X11 platform does).
std::optional<LockKeys> QueryLockKeys();

} // namespace quorin::shell::ui
