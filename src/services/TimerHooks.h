#pragma once

#include <QObject>
#include <functional>

#include "HookEvent.h"
#include "timer/TimerManager.h"

class Clock;
class TagManager;

/// Turns the timer's moments into the events the user's commands follow, in the order
/// they happen, each with the timer as it is after the event:
///
/// | timer                                        | events                                   |
/// |----------------------------------------------|------------------------------------------|
/// | an interval runs for the first time          | "focus-started" or "break-started"       |
/// | pause / resume                               | "paused" / "resumed"                     |
/// | an interval runs to its end                  | "focus-ended" or "break-ended", then     |
/// |                                              | "interval-completed" (then, with         |
/// |                                              | auto-start, the next one's "…-started")  |
/// | skip, reset, a tab switch, the other kind    | "focus-ended" or "break-ended" only      |
///
/// A long break counts as a break. An interval that never ran (armed by a skip and skipped
/// again) has neither start nor end.
class TimerHooks : public QObject {
    Q_OBJECT

public:
    struct Dependencies {
        const TimerManager& timer;
        const TagManager& tags;
        const Clock& clock;
        /// Where each event goes: the hook runner, in the app.
        std::function<void(const HookPayload&)> send;
    };

    explicit TimerHooks(Dependencies dependencies, QObject* parent = nullptr);

private:
    void send(HookEvent event);

    Dependencies m_deps;
};
