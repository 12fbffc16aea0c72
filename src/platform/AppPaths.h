#pragma once

#include <QString>

/// Where Velto keeps its files (XDG base directories).
namespace AppPaths {

/// $XDG_CONFIG_HOME/velto/preferences.json
QString preferencesFile();
/// $XDG_DATA_HOME/Velto/sessions.json
QString historyFile();

} // namespace AppPaths
