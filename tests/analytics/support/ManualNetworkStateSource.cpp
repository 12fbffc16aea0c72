#include "ManualNetworkStateSource.h"

namespace beacon::test {

std::error_code ManualNetworkStateSource::readFlags(ReachabilityFlags& flags)
{
    const std::lock_guard lock(m_lock);
    ++m_reads;
    if (m_readError)
        return m_readError;
    flags = m_flags;
    return {};
}

std::error_code ManualNetworkStateSource::startWatching(ChangeHandler onChange)
{
    const std::lock_guard lock(m_lock);
    ++m_starts;
    if (m_watchError)
        return m_watchError;
    m_handler = std::move(onChange);
    return {};
}

void ManualNetworkStateSource::stopWatching()
{
    ChangeHandler released;
    const std::lock_guard lock(m_lock);
    ++m_stops;
    released = std::move(m_handler);
    m_handler = nullptr;
}

void ManualNetworkStateSource::change(ReachabilityFlags flags)
{
    ChangeHandler handler;
    {
        const std::lock_guard lock(m_lock);
        m_flags = flags;
        handler = m_handler;
    }
    if (handler)
        handler();
}

void ManualNetworkStateSource::setFlags(ReachabilityFlags flags)
{
    const std::lock_guard lock(m_lock);
    m_flags = flags;
}

void ManualNetworkStateSource::failReads(std::error_code error)
{
    const std::lock_guard lock(m_lock);
    m_readError = error;
}

void ManualNetworkStateSource::failWatching(std::error_code error)
{
    const std::lock_guard lock(m_lock);
    m_watchError = error;
}

bool ManualNetworkStateSource::isWatched() const
{
    const std::lock_guard lock(m_lock);
    return static_cast<bool>(m_handler);
}

int ManualNetworkStateSource::startCount() const
{
    const std::lock_guard lock(m_lock);
    return m_starts;
}

int ManualNetworkStateSource::stopCount() const
{
    const std::lock_guard lock(m_lock);
    return m_stops;
}

int ManualNetworkStateSource::readCount() const
{
    const std::lock_guard lock(m_lock);
    return m_reads;
}

} // namespace beacon::test
