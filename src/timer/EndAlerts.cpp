#include "EndAlerts.h"

#include <QVariant>

#include "platform/PreferenceValues.h"
#include "platform/Preferences.h"

namespace EndAlerts {
namespace {
bool switchOn(const Preferences& preferences, const char* key)
{
    return PreferenceValues::exactBoolean(preferences.value(QLatin1String(key))).value_or(true);
}
} // namespace

bool soundOn(const Preferences& preferences)
{
    return switchOn(preferences, soundKey);
}

bool notificationOn(const Preferences& preferences)
{
    return switchOn(preferences, notificationKey);
}

void setSoundOn(Preferences& preferences, bool on)
{
    preferences.setValue(QLatin1String(soundKey), on);
}

void setNotificationOn(Preferences& preferences, bool on)
{
    preferences.setValue(QLatin1String(notificationKey), on);
}

} // namespace EndAlerts
