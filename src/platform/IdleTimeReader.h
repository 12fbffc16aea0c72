#pragma once

#include <chrono>
#include <optional>

/// Reads how long the user has been idle, at once (the X11 screensaver extension).
class IdleTimeReader {
public:
    virtual ~IdleTimeReader() = default;
    /// Empty when it cannot be read right now.
    virtual std::optional<std::chrono::milliseconds> idleTime() = 0;
};
