#pragma once

#include <QString>

/// Velto needs an X11 or Wayland display. Where there is none, Qt would abort (and dump
/// core); Velto says so in one line instead and exits with status 1.
namespace DisplayCheck {

/// The line: what is missing and what to do.
QString message();
/// Whether a display is named for the platform Qt will use: always true when the platform
/// is chosen explicitly (QT_QPA_PLATFORM, -platform), else DISPLAY or WAYLAND_DISPLAY must be set.
bool displayNamed(int argc, char** argv);
/// Prints `message()` on standard error; the exit status to return.
int fail();

/// While it lives (around the construction of the application object), Qt failing to
/// open a display ends the process with `message()` and status 1, with Qt's own account
/// of it left out. Other messages pass through once it ends.
class Guard {
public:
    Guard();
    ~Guard();
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
};

} // namespace DisplayCheck
