#pragma once

#include <QObject>
#include <functional>

/// One way of holding notification banners back, on one kind of notification server.
/// Each request ends by calling its `done` exactly once, also on errors and timeouts.
class BannerHold : public QObject {
    Q_OBJECT

public:
    using Done = std::function<void(bool ok)>;
    using QObject::QObject;

    virtual void hold(Done done) = 0;
    virtual void release(Done done) = 0;
    /// Releases without the event loop, for the way out of the process; waits briefly at most.
    virtual void releaseBeforeQuit() = 0;
};
