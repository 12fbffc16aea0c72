#include "AppPaths.h"

#include <QStandardPaths>

#include "AppIds.h"

namespace AppPaths {

QString preferencesFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/velto/preferences.json");
}

QString historyFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Velto/sessions.json");
}

QString analyticsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/')
        + QLatin1String(AppIds::application);
}

} // namespace AppPaths
