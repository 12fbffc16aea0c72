#include "SaveRetry.h"

SaveRetry::SaveRetry(std::function<void()> retry)
{
    m_timer.setInterval(std::chrono::minutes(1));
    QObject::connect(&m_timer, &QTimer::timeout, std::move(retry));
}

bool SaveRetry::record(bool saved, const QString& error)
{
    const bool changed = m_pending == saved || m_error != error;
    m_pending = !saved;
    m_error = error;
    if (saved)
        m_timer.stop();
    else if (!m_timer.isActive())
        m_timer.start();
    return changed;
}
