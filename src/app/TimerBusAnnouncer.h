#pragma once

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

class QDBusAbstractAdaptor;

/// Tells the bus what changed on an interface: org.freedesktop.DBus.Properties.PropertiesChanged
/// with only the values that changed. A change of state goes out at once, the countdown
/// (TimeRemaining and Progress) at most once a second. The values are the adaptor's own
/// properties, so a property added to the interface is announced without more code here.
class TimerBusAnnouncer : public QObject {
    Q_OBJECT

public:
    /// Announces the properties of `adaptor` as those of the object at `path` on `bus`.
    TimerBusAnnouncer(const QDBusAbstractAdaptor& adaptor, QDBusConnection bus, QString path);

public slots:
    /// Something other than the countdown may have changed.
    void announceSoon();
    /// The countdown may have changed.
    void announceCountdown();

private:
    QVariantMap currentValues() const;
    void announce();

    const QDBusAbstractAdaptor& m_adaptor;
    QDBusConnection m_bus;
    QString m_path;
    QString m_interface;
    /// What the bus was last told (or the values at start).
    QVariantMap m_announced;
    QTimer m_announceTimer;
    QElapsedTimer m_sinceCountdown;
};
