#include "XScreenSaverIdleTime.h"

#include <QString>
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

std::unique_ptr<XScreenSaverIdleTime> XScreenSaverIdleTime::open()
{
    if (qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        return nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return nullptr;
    int eventBase = 0;
    int errorBase = 0;
    if (!XScreenSaverQueryExtension(display, &eventBase, &errorBase)) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::unique_ptr<XScreenSaverIdleTime>(new XScreenSaverIdleTime(display));
}

XScreenSaverIdleTime::XScreenSaverIdleTime(Display* display)
    : m_display(display)
{ }

XScreenSaverIdleTime::~XScreenSaverIdleTime()
{
    XCloseDisplay(m_display);
}

std::optional<std::chrono::milliseconds> XScreenSaverIdleTime::idleTime()
{
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    if (!info)
        return std::nullopt;
    std::optional<std::chrono::milliseconds> idle;
    if (XScreenSaverQueryInfo(m_display, DefaultRootWindow(m_display), info))
        idle = std::chrono::milliseconds(info->idle);
    XFree(info);
    return idle;
}
