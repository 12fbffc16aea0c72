#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

#include "TimerBusAnnouncer.h"
#include "data/TagManager.h"
#include "timer/TimerManager.h"

class ApplicationAdaptor;
class TimerAdaptor;

/// Velto's object on the session bus. The adaptors generated from
/// data/studio.murv.Velto.Timer.xml and data/org.freedesktop.Application.xml unpack each
/// call and hand it here; every member below is one line that passes it on. What a call
/// does in the current state is the timer's rule, not decided here.
///
/// A new member of an interface is a line in its XML and one forwarding line here.
class BusObject : public QObject {
    Q_OBJECT
    // studio.murv.Velto.Timer's properties: the generated adaptor reads them by these names.
    Q_PROPERTY(uint State READ state)
    Q_PROPERTY(double TimeRemaining READ timeRemaining)
    Q_PROPERTY(bool IsRunning READ isRunning)
    Q_PROPERTY(double Progress READ progress)
    Q_PROPERTY(QString CurrentTag READ currentTag)
    Q_PROPERTY(int DailySessions READ dailySessions)
    Q_PROPERTY(double FocusTimeToday READ focusTimeToday)

public:
    BusObject(TimerManager& timer, TagManager& tags, QObject* parent = nullptr);
    ~BusObject() override;

    /// Puts this object with both interfaces at AppIds::objectPath on `bus` and starts
    /// announcing the timer's changes there; false when the path is taken.
    bool registerOn(QDBusConnection bus);

    uint state() const { return static_cast<uint>(m_timer.currentState()); }
    double timeRemaining() const { return m_timer.timeRemaining(); }
    bool isRunning() const { return m_timer.isRunning(); }
    double progress() const { return m_timer.progress(); }
    QString currentTag() const { return m_tags.currentSessionTagText(); }
    int dailySessions() const { return m_timer.dailySessions(); }
    double focusTimeToday() const { return m_timer.totalFocusTimeToday(); }

    // studio.murv.Velto.Timer
    void Start(bool isBreak) { m_timer.start(isBreak); }
    void Pause() { m_timer.pause(); }
    void Toggle() { m_timer.playPause(); }
    void Skip() { m_timer.skip(); }
    void Reset() { m_timer.reset(); }
    void Extend(uint minutes)
    {
        m_timer.extend(static_cast<int>(std::min<uint>(minutes, TimerManager::maximumExtendMinutes + 1)));
    }
    void OpenDashboard(const QString& section) { emit dashboardRequested(section); }

    // org.freedesktop.Application: every way in is a second start of Velto.
    void Activate(const QVariantMap&) { emit activated(); }
    void Open(const QStringList&, const QVariantMap&) { emit activated(); }
    void ActivateAction(const QString&, const QVariantList&, const QVariantMap&) { emit activated(); }

signals:
    // studio.murv.Velto.Timer's signals: the generated adaptor relays them.
    void SessionFinished(const QString& kind, uint seconds, const QString& tag, bool completedFully);

    /// Open a dashboard window on this section.
    void dashboardRequested(const QString& section);
    void activated();

private:
    TimerManager& m_timer;
    TagManager& m_tags;
    TimerAdaptor* m_timerAdaptor;
    ApplicationAdaptor* m_applicationAdaptor;
    std::unique_ptr<TimerBusAnnouncer> m_announcer;
};
