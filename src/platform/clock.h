#pragma once

#include <cstdint>

// Milliseconds and timers. A started timer fires again and again, every
// `milliseconds`, until it is stopped; the owner hears of it by the id it
// gave (the view: CViewController::Timer).
class CClock {
public:
    virtual ~CClock() = default;

    // A millisecond count that wraps round; only differences mean anything.
    virtual uint32_t Tick() const = 0;
    // Starts the timer, or starts it again with the new interval.
    virtual void StartTimer(int id, int milliseconds) = 0;
    virtual void StopTimer(int id) = 0;
};
