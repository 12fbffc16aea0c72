#pragma once

#include <QString>

/// Sends play/pause messages to the companion music app.
class CompanionMessenger {
public:
    virtual ~CompanionMessenger() = default;
    /// `action` is "play" or "pause". Fire and forget: failures are not reported.
    virtual void postAction(const QString& action) = 0;
};
