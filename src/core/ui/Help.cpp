#include "core/ui/Help.h"

#include <utility>

namespace quorin::core::ui {
namespace {

HelpHandler& handlerSlot()
{
    static HelpHandler handler;
    return handler;
}

} // namespace

void OpenHelpTopic(const QString& keyword)
{
    if (handlerSlot()) {
        handlerSlot()(keyword);
    }
}

HelpHandler SetHelpHandler(HelpHandler handler)
{
    return std::exchange(handlerSlot(), std::move(handler));
}

} // namespace quorin::core::ui
