#include "TimerHooks.h"

#include <cmath>

#include "data/TagManager.h"
#include "platform/Clock.h"

TimerHooks::TimerHooks(Dependencies dependencies, QObject* parent)
    : QObject(parent)
    , m_deps(std::move(dependencies))
{
    const TimerManager* timer = &m_deps.timer;
    connect(timer, &TimerManager::intervalStarted, this, [this](TimerState state) {
        send(Velto::isBreak(state) ? HookEvent::breakStarted : HookEvent::focusStarted);
    });
    connect(timer, &TimerManager::intervalPaused, this, [this] { send(HookEvent::paused); });
    connect(timer, &TimerManager::intervalResumed, this, [this] { send(HookEvent::resumed); });
    connect(timer, &TimerManager::intervalEnded, this, [this](TimerState state) {
        send(Velto::isBreak(state) ? HookEvent::breakEnded : HookEvent::focusEnded);
    });
    connect(timer, &TimerManager::sessionFinished, this, [this](const SessionRecord& session) {
        if (session.completedFully)
            send(HookEvent::intervalCompleted);
    });
}

void TimerHooks::send(HookEvent event)
{
    HookPayload payload;
    payload.event = event;
    payload.state = Velto::rawValue(m_deps.timer.currentState());
    payload.remainingSeconds = static_cast<qint64>(std::max(0.0, std::floor(m_deps.timer.timeRemaining())));
    payload.tag = m_deps.tags.currentSessionTag();
    payload.sessionsToday = m_deps.timer.dailySessions();
    payload.timestamp = m_deps.clock.now();
    m_deps.send(payload);
}
