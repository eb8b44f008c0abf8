#include "shell/WindowKinds.h"

#include <algorithm>
#include <deque>
#include <vector>

namespace quorin::shell {
namespace {

std::vector<WindowKindInfo>& kinds()
{
    static std::vector<WindowKindInfo> registered;
    return registered;
}

} // namespace

void RegisterWindowKind(const WindowKindInfo& info)
{
    auto& all = kinds();
    const auto same = std::find_if(all.begin(), all.end(), [&info](const WindowKindInfo& known) {
        return known.kind == info.kind;
    });
    if (same != all.end()) {
        *same = info;
    } else {
        all.push_back(info);
    }
}

std::span<const WindowKindInfo> AllWindowKinds()
{
    return kinds();
}

const WindowKindInfo& InfoOf(WindowKind kind)
{
    for (const WindowKindInfo& info : kinds()) {
        if (info.kind == kind) {
            return info;
        }
    }
    // Unregistered kinds are few (tests of the engine alone): one bare row
    // each, kept for the life of the program.
    static std::deque<WindowKindInfo> bare;
    for (const WindowKindInfo& info : bare) {
        if (info.kind == kind) {
            return info;
        }
    }
    WindowKindInfo& row = bare.emplace_back();
    row.kind = kind;
    return row;
}

const WindowKindInfo* KindOfAnalyzeCommand(int id)
{
    for (const WindowKindInfo& info : kinds()) {
        if (id != 0 && info.analyze.command.id == id) {
            return &info;
        }
    }
    return nullptr;
}

} // namespace quorin::shell
