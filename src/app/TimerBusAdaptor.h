#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QTimer>
#include <QVariantMap>

class AppDelegate;
class TagManager;
class TimerManager;

/// studio.murv.Velto.Timer on Velto's object: the timer for scripts and the command line.
/// data/studio.murv.Velto.Timer.xml is the installed copy of the interface below; a test keeps them equal.
///
/// Calls that make no sense in the current state do nothing: Start of the kind that already
/// runs, Pause while nothing runs, Skip and Reset while idle. Start of the other kind than
/// the armed one abandons that one, as choosing the other tab in the popover does.
///
/// Changes go out as org.freedesktop.DBus.Properties.PropertiesChanged with only the values
/// that changed: state, running, tag and counters at once, the countdown alone at most once a second.
class TimerBusAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "studio.murv.Velto.Timer")
    Q_CLASSINFO("D-Bus Introspection", ""
        "  <interface name=\"studio.murv.Velto.Timer\">\n"
        "    <method name=\"Start\">\n"
        "      <arg name=\"isBreak\" type=\"b\" direction=\"in\"/>\n"
        "    </method>\n"
        "    <method name=\"Pause\"/>\n"
        "    <method name=\"Toggle\"/>\n"
        "    <method name=\"Skip\"/>\n"
        "    <method name=\"Reset\"/>\n"
        "    <method name=\"OpenDashboard\">\n"
        "      <arg name=\"section\" type=\"s\" direction=\"in\"/>\n"
        "    </method>\n"
        "    <property name=\"State\" type=\"u\" access=\"read\"/>\n"
        "    <property name=\"TimeRemaining\" type=\"d\" access=\"read\"/>\n"
        "    <property name=\"IsRunning\" type=\"b\" access=\"read\"/>\n"
        "    <property name=\"Progress\" type=\"d\" access=\"read\"/>\n"
        "    <property name=\"CurrentTag\" type=\"s\" access=\"read\"/>\n"
        "    <property name=\"DailySessions\" type=\"i\" access=\"read\"/>\n"
        "    <property name=\"FocusTimeToday\" type=\"d\" access=\"read\"/>\n"
        "  </interface>\n")
    Q_PROPERTY(uint State READ state)
    Q_PROPERTY(double TimeRemaining READ timeRemaining)
    Q_PROPERTY(bool IsRunning READ isRunning)
    Q_PROPERTY(double Progress READ progress)
    Q_PROPERTY(QString CurrentTag READ currentTag)
    Q_PROPERTY(int DailySessions READ dailySessions)
    Q_PROPERTY(double FocusTimeToday READ focusTimeToday)

public:
    static constexpr const char* interfaceName = "studio.murv.Velto.Timer";

    /// Attaches itself to `delegate`, the object registered at AppIds::objectPath on `bus`.
    TimerBusAdaptor(AppDelegate& delegate, TimerManager& timer, TagManager& tags, QDBusConnection bus);

    uint state() const;
    double timeRemaining() const;
    bool isRunning() const;
    double progress() const;
    QString currentTag() const;
    int dailySessions() const;
    double focusTimeToday() const;

public slots:
    void Start(bool isBreak);
    void Pause();
    void Toggle();
    void Skip();
    void Reset();
    void OpenDashboard(const QString& section);

private:
    QVariantMap currentValues() const;
    void announceSoon();
    void announceCountdown();
    void announce();

    AppDelegate& m_delegate;
    TimerManager& m_timer;
    TagManager& m_tags;
    QDBusConnection m_bus;
    /// What the bus was last told (or the values at start).
    QVariantMap m_announced;
    QTimer m_announceTimer;
    QElapsedTimer m_sinceCountdown;
};
