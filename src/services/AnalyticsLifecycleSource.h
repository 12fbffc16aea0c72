#pragma once

#include <QObject>
#include <mutex>

#include "beacon/BeaconLifecycleSource.h"

/// Velto's application state for the analytics client, whose sessions start, rotate and
/// time out with it: active while one of Velto's windows has focus, in the background
/// otherwise. Made with std::make_shared (no parent) and kept until the process ends;
/// the application feeds it from QGuiApplication::applicationStateChanged.
class AnalyticsLifecycleSource final : public QObject, public beacon::BeaconLifecycleSource {
    Q_OBJECT

public:
    explicit AnalyticsLifecycleSource(QObject* parent = nullptr);

    /// A new handler first hears the launch (once per source) and, when a window already
    /// has focus, that the application is active.
    void setHandler(Handler handler) override;

public slots:
    /// Passes on changes only; the same state twice in a row is reported once.
    void setActive(bool active);
    /// Only Qt::ApplicationActive counts as active.
    void setApplicationState(Qt::ApplicationState state);

private:
    mutable std::mutex m_lock;
    Handler m_handler; // m_lock
    bool m_active = false; // m_lock
    bool m_launchReported = false; // m_lock
};
