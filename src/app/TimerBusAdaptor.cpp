#include "TimerBusAdaptor.h"

#include <QDBusMessage>
#include <algorithm>

#include "AppDelegate.h"
#include "data/TagManager.h"
#include "platform/AppIds.h"
#include "timer/TimerManager.h"

namespace {
constexpr qint64 countdownIntervalMs = 1000;

const QString timeRemainingKey = QStringLiteral("TimeRemaining");
const QString progressKey = QStringLiteral("Progress");

bool isBreak(TimerState state) { return state == TimerState::shortBreak || state == TimerState::longBreak; }
} // namespace

TimerBusAdaptor::TimerBusAdaptor(AppDelegate& delegate, TimerManager& timer, TagManager& tags, QDBusConnection bus)
    : QDBusAbstractAdaptor(&delegate), m_delegate(delegate), m_timer(timer), m_tags(tags), m_bus(std::move(bus))
{
    m_announced = currentValues();
    m_announceTimer.setSingleShot(true);
    connect(&m_announceTimer, &QTimer::timeout, this, &TimerBusAdaptor::announce);

    connect(&m_timer, &TimerManager::currentStateChanged, this, &TimerBusAdaptor::announceSoon);
    connect(&m_timer, &TimerManager::isRunningChanged, this, &TimerBusAdaptor::announceSoon);
    connect(&m_timer, &TimerManager::dailySessionsChanged, this, &TimerBusAdaptor::announceSoon);
    connect(&m_timer, &TimerManager::totalFocusTimeTodayChanged, this, &TimerBusAdaptor::announceSoon);
    connect(&m_tags, &TagManager::currentSessionTagChanged, this, &TimerBusAdaptor::announceSoon);
    connect(&m_timer, &TimerManager::timeRemainingChanged, this, &TimerBusAdaptor::announceCountdown);
    connect(&m_timer, &TimerManager::progressChanged, this, &TimerBusAdaptor::announceCountdown);
}

uint TimerBusAdaptor::state() const { return static_cast<uint>(m_timer.currentState()); }
double TimerBusAdaptor::timeRemaining() const { return m_timer.timeRemaining(); }
bool TimerBusAdaptor::isRunning() const { return m_timer.isRunning(); }
double TimerBusAdaptor::progress() const { return m_timer.progress(); }
QString TimerBusAdaptor::currentTag() const { return m_tags.currentSessionTagText(); }
int TimerBusAdaptor::dailySessions() const { return m_timer.dailySessions(); }
double TimerBusAdaptor::focusTimeToday() const { return m_timer.totalFocusTimeToday(); }

void TimerBusAdaptor::Start(bool isBreakWanted)
{
    const TimerState current = m_timer.currentState();
    if (current != TimerState::idle && isBreak(current) != isBreakWanted)
        m_timer.selectTab(!isBreakWanted); // abandons the other kind, as the popover's tab does
    else if (current == TimerState::idle)
        m_timer.setSelectedModeIsFocus(!isBreakWanted);
    if (!m_timer.isRunning())
        m_timer.start(isBreakWanted);
}

void TimerBusAdaptor::Pause()
{
    // pause() would message Calmix even when nothing runs.
    if (m_timer.isRunning())
        m_timer.pause();
}

void TimerBusAdaptor::Toggle() { m_timer.playPause(); }

void TimerBusAdaptor::Skip()
{
    // Idle has no next interval to move on to; the popover disables the button too.
    if (m_timer.currentState() != TimerState::idle)
        m_timer.skip();
}

void TimerBusAdaptor::Reset()
{
    if (m_timer.currentState() != TimerState::idle || m_timer.isRunning())
        m_timer.reset();
}

void TimerBusAdaptor::OpenDashboard(const QString& section) { m_delegate.openDashboard(section); }

QVariantMap TimerBusAdaptor::currentValues() const
{
    return {
        { QStringLiteral("State"), state() },
        { timeRemainingKey, timeRemaining() },
        { QStringLiteral("IsRunning"), isRunning() },
        { progressKey, progress() },
        { QStringLiteral("CurrentTag"), currentTag() },
        { QStringLiteral("DailySessions"), dailySessions() },
        { QStringLiteral("FocusTimeToday"), focusTimeToday() },
    };
}

void TimerBusAdaptor::announceSoon() { m_announceTimer.start(0); }

void TimerBusAdaptor::announceCountdown()
{
    if (m_announceTimer.isActive())
        return; // a pending announcement carries the countdown as well
    const qint64 since = m_sinceCountdown.isValid() ? m_sinceCountdown.elapsed() : countdownIntervalMs;
    m_announceTimer.start(static_cast<int>(std::max<qint64>(0, countdownIntervalMs - since)));
}

void TimerBusAdaptor::announce()
{
    const QVariantMap now = currentValues();
    QVariantMap changed;
    bool onlyCountdown = true;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (m_announced.value(it.key()) == it.value())
            continue;
        changed.insert(it.key(), it.value());
        if (it.key() != timeRemainingKey && it.key() != progressKey)
            onlyCountdown = false;
    }
    if (changed.isEmpty())
        return;
    // A state change can wake this early; the countdown alone keeps its pace.
    if (onlyCountdown && m_sinceCountdown.isValid() && m_sinceCountdown.elapsed() < countdownIntervalMs) {
        m_announceTimer.start(static_cast<int>(countdownIntervalMs - m_sinceCountdown.elapsed()));
        return;
    }
    if (changed.contains(timeRemainingKey) || changed.contains(progressKey))
        m_sinceCountdown.start();
    for (auto it = changed.cbegin(); it != changed.cend(); ++it)
        m_announced.insert(it.key(), it.value());

    QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(AppIds::objectPath),
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(interfaceName) << changed << QStringList();
    m_bus.send(signal);
}
