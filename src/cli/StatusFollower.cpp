#include "StatusFollower.h"

namespace Cli {
namespace {
/// A Velto that holds its name but never answers is asked at least this often.
constexpr std::chrono::milliseconds kLongestRetry { 2000 };
} // namespace

StatusFollower::StatusFollower(Format format, Fetch fetch, QObject* parent)
    : QObject(parent)
    , m_format(format)
    , m_fetch(std::move(fetch))
{
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &StatusFollower::ask);
}

void StatusFollower::start(bool appOnBus)
{
    if (appOnBus)
        appeared();
    else
        gone();
}

void StatusFollower::appeared()
{
    m_appOnBus = true;
    m_nextRetry = m_firstRetry;
    ask();
}

void StatusFollower::changed(const QVariantMap& properties)
{
    if (!m_status) {
        // Announcing changes, it answers now: no need to wait for the next try.
        if (m_appOnBus)
            ask();
        return;
    }
    m_status->apply(properties);
    print(formatStatus(*m_status, m_format));
}

void StatusFollower::gone()
{
    m_appOnBus = false;
    m_retry.stop();
    m_status.reset();
    print(formatNotRunning(m_format));
}

void StatusFollower::ask()
{
    m_retry.stop();
    if (const std::optional<QVariantMap> properties = m_fetch()) {
        m_status = TimerStatus();
        m_status->apply(*properties);
        print(formatStatus(*m_status, m_format));
        return;
    }
    // Velto takes its name before it serves its timer; until then it counts as not running.
    m_status.reset();
    print(formatNotRunning(m_format));
    if (!m_appOnBus)
        return;
    m_retry.start(m_nextRetry);
    m_nextRetry = std::min(m_nextRetry * 2, kLongestRetry);
}

void StatusFollower::print(const QString& text)
{
    if (m_last == text)
        return;
    m_last = text;
    emit line(text);
}

} // namespace Cli
