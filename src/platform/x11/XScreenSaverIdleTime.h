#pragma once

#include <memory>

#include "platform/IdleTimeReader.h"

typedef struct _XDisplay Display; // NOLINT(bugprone-reserved-identifier): Xlib's own name

/// Idle time from the X server's screensaver extension. Only on X11 sessions: under
/// Wayland, XWayland sees the input of X clients alone.
class XScreenSaverIdleTime final : public IdleTimeReader {
public:
    /// Null on Wayland, without an X display or without the extension.
    static std::unique_ptr<XScreenSaverIdleTime> open();
    ~XScreenSaverIdleTime() override;
    XScreenSaverIdleTime(const XScreenSaverIdleTime&) = delete;
    XScreenSaverIdleTime& operator=(const XScreenSaverIdleTime&) = delete;

    std::optional<std::chrono::milliseconds> idleTime() override;

private:
    explicit XScreenSaverIdleTime(Display* display);
    Display* m_display;
};
