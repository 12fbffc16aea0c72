#include "AnalyticsLifecycleSource.h"

#include <utility>

using beacon::BeaconLifecycleEvent;

AnalyticsLifecycleSource::AnalyticsLifecycleSource(QObject* parent)
    : QObject(parent)
{ }

void AnalyticsLifecycleSource::setHandler(Handler handler)
{
    bool launch = false;
    bool active = false;
    {
        const std::lock_guard lock(m_lock);
        m_handler = handler;
        if (!handler)
            return;
        launch = !std::exchange(m_launchReported, true);
        active = m_active;
    }
    // Outside the lock: the handler's listeners may capture events.
    if (launch)
        handler(BeaconLifecycleEvent::didFinishLaunching);
    if (active)
        handler(BeaconLifecycleEvent::didBecomeActive);
}

void AnalyticsLifecycleSource::setActive(bool active)
{
    Handler handler;
    {
        const std::lock_guard lock(m_lock);
        if (m_active == active)
            return;
        m_active = active;
        handler = m_handler;
    }
    if (handler)
        handler(active ? BeaconLifecycleEvent::didBecomeActive : BeaconLifecycleEvent::didResignActive);
}

void AnalyticsLifecycleSource::setApplicationState(Qt::ApplicationState state)
{
    setActive(state == Qt::ApplicationActive);
}
