#pragma once

#include <QString>

/// The desktop's file chooser for Velto's windows.
namespace FileDialogs {

/// Lets Qt's file dialogs go through the XDG desktop portal (the desktop's own chooser, also
/// inside a sandbox) when the user has not chosen a platform theme, the portal's theme plugin is
/// installed and a portal can be started. Call before the application object exists, and
/// `forgetPortalChoice` once it does, so the user's commands do not inherit the choice.
void preferDesktopPortal();
void forgetPortalChoice();

/// Asks where to write the history as CSV, starting at `suggestion`; empty when cancelled.
QString askForExportFile(const QString& suggestion);

} // namespace FileDialogs
