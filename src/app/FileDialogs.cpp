#include "FileDialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStandardPaths>

namespace FileDialogs {
namespace {
bool choseThePortal = false;
}

void preferDesktopPortal()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORMTHEME"))
        return; // the user's choice
    // Tests and screenshots run headless, where no chooser is ever shown.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.startsWith("offscreen") || platform.startsWith("minimal"))
        return;
    const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath)
        + QStringLiteral("/platformthemes/libqxdgdesktopportal.so");
    // A portal the session bus can start has its service file in a data folder.
    const QString portal = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
        QStringLiteral("dbus-1/services/org.freedesktop.portal.Desktop.service"));
    if (QFileInfo::exists(plugin) && !portal.isEmpty())
        choseThePortal = qputenv("QT_QPA_PLATFORMTHEME", "xdgdesktopportal");
}

void forgetPortalChoice()
{
    // The theme is loaded with the application object; programs started later choose their own.
    if (choseThePortal)
        qunsetenv("QT_QPA_PLATFORMTHEME");
    choseThePortal = false;
}

QString askForExportFile(const QString& suggestion)
{
    // The chooser asks before replacing a file.
    return QFileDialog::getSaveFileName(nullptr, QCoreApplication::translate("FileDialogs", "Export History"),
        suggestion, QCoreApplication::translate("FileDialogs", "CSV files (*.csv)"));
}

} // namespace FileDialogs
