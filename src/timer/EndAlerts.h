#pragma once

class Preferences;

/// The two switches for what marks the end of an interval: the sound and the
/// desktop notification. Both are on until the user turns them off.
namespace EndAlerts {

inline constexpr const char* soundKey = "veltoEndSound";
inline constexpr const char* notificationKey = "veltoEndNotification";

/// The stored Boolean; absent or not a Boolean reads as on.
bool soundOn(const Preferences& preferences);
bool notificationOn(const Preferences& preferences);
void setSoundOn(Preferences& preferences, bool on);
void setNotificationOn(Preferences& preferences, bool on);

} // namespace EndAlerts
