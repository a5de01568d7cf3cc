#pragma once
// The millisecond tick count, the system timer resolution and local time.
#include <cstdint>
#include <memory>

namespace Arbor::Platform {

// Local calendar time, field by field as the system reports it.
struct LocalTime {
    int year = 1970;
    int month = 1;      // 1 ... 12
    int dayOfWeek = 4;  // 0 Sunday ... 6 Saturday
    int day = 1;        // 1 ... 31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

class ClockService {
public:
    virtual ~ClockService() = default;
    // Milliseconds since an arbitrary start; wraps after 2^32 (callers subtract in
    // unsigned 32-bit arithmetic).
    virtual std::uint32_t tickCount() = 0;
    // Raise and restore the system timer resolution; calls come in pairs with the same value.
    virtual bool beginTimerResolution(std::uint32_t milliseconds) = 0;
    virtual bool endTimerResolution(std::uint32_t milliseconds) = 0;
    virtual LocalTime localTime() = 0;
};

ClockService& clockService();

}  // namespace Arbor::Platform
