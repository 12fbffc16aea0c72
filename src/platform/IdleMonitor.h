#pragma once

#include <QObject>

#include "Instant.h"

/// Tells when the user has left the keyboard and mouse alone for a while, and when they
/// are back. Reports the moment idleness began, not the moment it was noticed.
class IdleMonitor : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool available READ available NOTIFY availabilityChanged)

public:
    static constexpr int minThresholdMinutes = 1;
    static constexpr int maxThresholdMinutes = 60;

    using QObject::QObject;

    /// True once a way to read idleness has been found on this desktop.
    virtual bool available() const = 0;
    /// Watches for idleness of at least `thresholdMinutes` (held to 1–60); called again,
    /// changes the threshold.
    virtual void watch(int thresholdMinutes) = 0;
    virtual void stop() = 0;

signals:
    /// The user has been idle since `began`, for at least the threshold.
    void idleSince(Instant began);
    /// The user is back after `idleSince`.
    void active();
    void availabilityChanged();
};
