#include "framework/Gui/MenuCommandIds.h"

namespace Arbor::Gui {

MenuCommandIds& MenuCommandIds::instance() {
    static MenuCommandIds* pool = new MenuCommandIds;  // outlives menus destroyed at exit
    return *pool;
}

std::int32_t MenuCommandIds::acquire() {
    std::lock_guard lock(mutex_);
    for (int slot = hint_; slot < count; ++slot) {
        if (!taken_[static_cast<std::size_t>(slot)]) {
            taken_.set(static_cast<std::size_t>(slot));
            hint_ = slot + 1;
            return first + slot;
        }
    }
    hint_ = count;
    return exhausted;
}

void MenuCommandIds::release(std::int32_t id) {
    if (!isPoolValue(id)) return;
    std::lock_guard lock(mutex_);
    const int slot = id - first;
    if (!taken_[static_cast<std::size_t>(slot)]) return;
    taken_.reset(static_cast<std::size_t>(slot));
    if (slot < hint_) hint_ = slot;
}

int MenuCommandIds::inUse() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(taken_.count());
}

}  // namespace Arbor::Gui
