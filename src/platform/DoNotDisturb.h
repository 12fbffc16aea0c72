#pragma once

#include <QObject>
#include <QString>
#include <functional>

/// Holds desktop notification banners back while the user focuses. Requests never block
/// and a desktop that fails to answer only costs a log line: the timer runs on regardless.
class DoNotDisturb : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool available READ available NOTIFY availabilityChanged)
    Q_PROPERTY(QString unavailableReason READ unavailableReason NOTIFY availabilityChanged)
    Q_PROPERTY(bool holding READ holding NOTIFY holdingChanged)

public:
    using QObject::QObject;

    /// True once a way to hold banners back has been found on this desktop.
    virtual bool available() const = 0;
    /// One translated line saying why banners cannot be held back; empty while available
    /// or while the desktop is still being asked.
    virtual QString unavailableReason() const = 0;
    /// True while the desktop holds banners back because Velto asked.
    virtual bool holding() const = 0;

    /// Asks the desktop to hold banners back. Calling it again while held does nothing.
    virtual void hold() = 0;
    /// Lets banners show again. Calling it again while released does nothing.
    virtual void release() = 0;
    /// Runs `action` once banners show again: at once when nothing is held or on its way,
    /// otherwise when the desktop has confirmed the release or failed to (a few seconds at
    /// most). Call it after `release` to post a notification that must not be held back.
    /// Nothing runs when `context` is destroyed first.
    virtual void whenReleased(QObject* context, std::function<void()> action) = 0;

signals:
    void availabilityChanged();
    void holdingChanged();
};
