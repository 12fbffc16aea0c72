#include "ManualLifecycleSource.h"

namespace beacon::test {

void ManualLifecycleSource::setHandler(Handler handler)
{
    const std::lock_guard lock(m_lock);
    m_handler = std::move(handler);
}

void ManualLifecycleSource::send(BeaconLifecycleEvent event)
{
    Handler handler;
    {
        const std::lock_guard lock(m_lock);
        handler = m_handler;
    }
    if (handler)
        handler(event);
}

bool ManualLifecycleSource::hasHandler() const
{
    const std::lock_guard lock(m_lock);
    return static_cast<bool>(m_handler);
}

} // namespace beacon::test
