#include "BusObject.h"

#include <algorithm>
#include <cmath>

#include "applicationadaptor.h"
#include "platform/AppIds.h"
#include "timeradaptor.h"

BusObject::BusObject(TimerManager& timer, TagManager& tags, QObject* parent)
    : QObject(parent)
    , m_timer(timer)
    , m_tags(tags)
    , m_timerAdaptor(new TimerAdaptor(this))
    , m_applicationAdaptor(new ApplicationAdaptor(this))
{
    connect(&m_timer, &TimerManager::sessionFinished, this, [this](const SessionRecord& session) {
        const std::string_view kind = rawValue(session.type);
        emit SessionFinished(QString::fromLatin1(kind.data(), qsizetype(kind.size())),
            uint(std::lround(std::clamp(session.duration, 0.0, 4e9))), session.tag.value_or(QString()),
            session.completedFully);
    });
}

BusObject::~BusObject() = default;

bool BusObject::registerOn(QDBusConnection bus)
{
    const QString path = QString::fromLatin1(AppIds::objectPath);
    if (!bus.registerObject(path, this))
        return false;
    m_announcer = std::make_unique<TimerBusAnnouncer>(*m_timerAdaptor, bus, path);
    // State, running, tag and counters go out at once; the countdown at most once a second.
    for (auto signal : { &TimerManager::currentStateChanged, &TimerManager::isRunningChanged,
             &TimerManager::dailySessionsChanged, &TimerManager::totalFocusTimeTodayChanged })
        connect(&m_timer, signal, m_announcer.get(), &TimerBusAnnouncer::announceSoon);
    connect(
        &m_tags, &TagManager::currentSessionTagChanged, m_announcer.get(), &TimerBusAnnouncer::announceSoon);
    for (auto signal : { &TimerManager::timeRemainingChanged, &TimerManager::progressChanged })
        connect(&m_timer, signal, m_announcer.get(), &TimerBusAnnouncer::announceCountdown);
    return true;
}
