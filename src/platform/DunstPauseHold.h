#pragma once

#include <QDBusConnection>

#include "BannerHold.h"

class Preferences;

/// dunst's `paused` property on `org.dunstproject.cmd0`, as `dunstctl set-paused` sets it.
/// dunst stays paused when Velto dies, so the pause is noted in the preferences first and
/// the next start lifts it. A dunst the user had paused already is left alone.
class DunstPauseHold final : public BannerHold {
    Q_OBJECT

public:
    /// Preference key: true while Velto has dunst paused.
    static const QString pausedKey;

    DunstPauseHold(Preferences& preferences, QDBusConnection bus, QObject* parent = nullptr);

    void hold(Done done) override;
    void release(Done done) override;
    void releaseBeforeQuit() override;

private:
    void setPaused(bool paused, Done done);
    QDBusMessage setPausedCall(bool paused) const;

    Preferences& m_preferences;
    QDBusConnection m_bus;
};
