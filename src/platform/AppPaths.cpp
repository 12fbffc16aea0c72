#include "AppPaths.h"

#include <QStandardPaths>

namespace AppPaths {

QString preferencesFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/velto/preferences.json");
}

QString historyFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Velto/sessions.json");
}

} // namespace AppPaths
