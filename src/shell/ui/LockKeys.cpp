#include "shell/ui/LockKeys.h"

#include <QGuiApplication>

#if QUORIN_HAVE_X11
#include <X11/XKBlib.h>
#endif

namespace quorin::shell::ui {

std::optional<LockKeys> QueryLockKeys()
{
#if QUORIN_HAVE_X11
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    if (x11 == nullptr || x11->display() == nullptr) {
        return std::nullopt;
    }
    unsigned int indicators = 0;
    if (XkbGetIndicatorState(x11->display(), XkbUseCoreKbd, &indicators) != Success) {
        return std::nullopt;
    }
    // The core keyboard's indicators 0, 1 and 2 are Caps, Num and Scroll Lock.
    return LockKeys{(indicators & 1u) != 0, (indicators & 2u) != 0, (indicators & 4u) != 0};
#else
    return std::nullopt;
#endif
}

} // namespace quorin::shell::ui
