#pragma once

#include <QDBusConnection>
#include <optional>

#include "BannerHold.h"

/// `org.freedesktop.Notifications.Inhibit`/`UnInhibit`, where the notification server has
/// them (KDE Plasma). The server lifts the inhibition by itself when Velto's connection ends.
class NotificationInhibitHold final : public BannerHold {
    Q_OBJECT

public:
    explicit NotificationInhibitHold(QDBusConnection bus, QObject* parent = nullptr);

    void hold(Done done) override;
    void release(Done done) override;
    void releaseBeforeQuit() override;

private:
    QDBusMessage unInhibitCall() const;

    QDBusConnection m_bus;
    std::optional<uint> m_cookie;
};
