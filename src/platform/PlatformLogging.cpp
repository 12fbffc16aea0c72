#include "PlatformLogging.h"

Q_LOGGING_CATEGORY(lcPreferences, "velto.preferences")
Q_LOGGING_CATEGORY(lcDesktop, "velto.desktop")
