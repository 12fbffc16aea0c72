#include "HookEvent.h"

#include <nlohmann/json.hpp>

#include "platform/Calendar.h"
#include "platform/IsoDateTime.h"
#include "timer/TimerState.h"

QString hookEventName(HookEvent event)
{
    switch (event) {
    case HookEvent::focusStarted:
        return QStringLiteral("focus-started");
    case HookEvent::focusEnded:
        return QStringLiteral("focus-ended");
    case HookEvent::breakStarted:
        return QStringLiteral("break-started");
    case HookEvent::breakEnded:
        return QStringLiteral("break-ended");
    case HookEvent::paused:
        return QStringLiteral("paused");
    case HookEvent::resumed:
        return QStringLiteral("resumed");
    case HookEvent::intervalCompleted:
        return QStringLiteral("interval-completed");
    }
    return {};
}

HookPayload HookPayload::sample(HookEvent event, Instant now)
{
    HookPayload payload;
    payload.event = event;
    payload.timestamp = now;
    const bool isBreak = event == HookEvent::breakStarted || event == HookEvent::breakEnded;
    payload.state = Velto::rawValue(isBreak ? TimerState::shortBreak : TimerState::work);
    const qint64 length = isBreak ? 5 * 60 : 25 * 60;
    switch (event) {
    case HookEvent::focusStarted:
    case HookEvent::breakStarted:
        payload.remainingSeconds = length;
        break;
    case HookEvent::paused:
    case HookEvent::resumed:
        payload.remainingSeconds = length - 5LL * 60;
        break;
    case HookEvent::focusEnded:
    case HookEvent::breakEnded:
    case HookEvent::intervalCompleted:
        payload.state = Velto::rawValue(TimerState::idle); // as after an interval without auto-start
        payload.remainingSeconds = 0;
        break;
    }
    return payload;
}

QByteArray HookPayload::json(const Calendar& calendar) const
{
    nlohmann::ordered_json object;
    object["event"] = hookEventName(event).toStdString();
    object["state"] = state.toStdString();
    object["remaining"] = remainingSeconds;
    object["tag"] = tag ? nlohmann::ordered_json(tag->toStdString()) : nlohmann::ordered_json(nullptr);
    object["sessionsToday"] = sessionsToday;
    object["timestamp"] = IsoDateTime::format(timestamp, calendar);
    std::string text = object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    text.push_back('\n');
    return QByteArray::fromStdString(text);
}

QProcessEnvironment HookPayload::environment(const Calendar& calendar, QProcessEnvironment base) const
{
    base.insert(QStringLiteral("VELTO_EVENT"), hookEventName(event));
    base.insert(QStringLiteral("VELTO_STATE"), state);
    base.insert(QStringLiteral("VELTO_REMAINING"), QString::number(remainingSeconds));
    base.insert(QStringLiteral("VELTO_TAG"), tag.value_or(QString()));
    base.insert(QStringLiteral("VELTO_SESSIONS_TODAY"), QString::number(sessionsToday));
    base.insert(
        QStringLiteral("VELTO_TIMESTAMP"), QString::fromStdString(IsoDateTime::format(timestamp, calendar)));
    return base;
}
