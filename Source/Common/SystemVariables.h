#pragma once
// The process-wide numeric system variables: the desktop rectangle and the cursor.
// The frame thread publishes them every frame (start-up publishes them once); every
// script's bare identifiers reach them last, through the frame's script host. Values
// are atomics so that a publisher and the readers need no lock.
#include <array>
#include <atomic>
#include <optional>
#include <string_view>

#include "Source/Interpreter/ScriptHost.h"

namespace Quenta::Common {

class SystemVariables {
public:
    // The names are the interpreter's: it decides which identifiers are variables.
    using Id = Interpreter::SystemVariable;

    static SystemVariables& instance();

    void set(Id id, double value) { values_[index(id)].store(value, std::memory_order_relaxed); }
    double get(Id id) const { return values_[index(id)].load(std::memory_order_relaxed); }

    // Looks a name up case-sensitively ("Left" ... "MouseY").
    static std::optional<Id> find(std::u16string_view name);
    static std::u16string_view name(Id id);

    // Left 0, Top 0, Right = width, Bottom = height, Width, Height.
    void publishDesktop(double width, double height);
    void publishCursor(double x, double y);

private:
    static constexpr size_t index(Id id) { return static_cast<size_t>(id); }
    std::array<std::atomic<double>, static_cast<size_t>(Id::Count)> values_{};
};

}  // namespace Quenta::Common
