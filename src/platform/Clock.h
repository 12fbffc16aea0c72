#pragma once

#include <chrono>

#include "Instant.h"

/// Time as the core sees it: the wall clock for dates and a steady clock for
/// measuring intervals. The steady clock stops while the machine is suspended.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Instant now() const = 0;
    virtual std::chrono::milliseconds steadyTime() const = 0;
};

class SystemClock final : public Clock {
public:
    Instant now() const override;
    std::chrono::milliseconds steadyTime() const override;
};
