#pragma once

#include <QObject>

#include "Instant.h"

/// Tells when the screen locks and unlocks. Each real change is reported once, with the
/// moment it happened; a lock and unlock that follow each other within a moment settle
/// first, so a flurry of them ends in one report of where it ended (or none).
class ScreenLockWatcher : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool locked READ isLocked NOTIFY lockedChanged)

public:
    using QObject::QObject;

    virtual bool isLocked() const = 0;

signals:
    /// The screen has been locked since `since`.
    void locked(Instant since);
    /// The screen, locked since `since`, is unlocked after `lockedSeconds`.
    void unlocked(Instant since, double lockedSeconds);
    void lockedChanged();
};
