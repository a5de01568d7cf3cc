#pragma once
// The process-wide pool of menu command identifiers: 4000 values from 40960 (0xA000)
// to 44959. The lowest free value is handed out first and a released value can be
// handed out again. When all are taken, the pool answers 40959 (0x9FFF), which is
// never handed out otherwise, so it can be told apart from every live identifier.
#include <bitset>
#include <cstdint>
#include <mutex>

namespace Arbor::Gui {

class MenuCommandIds {
public:
    static constexpr std::int32_t first = 0xA000;
    static constexpr std::int32_t count = 4000;
    static constexpr std::int32_t exhausted = 0x9FFF;

    static MenuCommandIds& instance();

    std::int32_t acquire();
    // Ignores values outside the pool (40959 included) and values not handed out.
    void release(std::int32_t id);
    static bool isPoolValue(std::int32_t id) { return id >= first && id < first + count; }
    int inUse() const;

private:
    mutable std::mutex mutex_;
    std::bitset<count> taken_;
    int hint_ = 0;  // at or below the lowest free slot
};

}  // namespace Arbor::Gui
