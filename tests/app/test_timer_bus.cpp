// The timer's D-Bus interface on the real application, driven with the desktop's own
// tools (gdbus, busctl, dbus-monitor) and with `velto <command>`, on a private bus.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

const QString dest = QStringLiteral("studio.murv.Velto");
const QString path = QStringLiteral("/studio/murv/Velto");
const QString timer = QStringLiteral("studio.murv.Velto.Timer");

struct Finished {
    int exitCode = -1;
    QString out;
    QString err;
};

/// Element names and attributes in document order, without comments or layout.
QStringList canonicalInterface(const QString& xml)
{
    QXmlStreamReader reader(xml);
    QStringList items;
    bool inside = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("interface"))
            inside = reader.attributes().value(QLatin1String("name")) == timer;
        if (!inside)
            continue;
        if (reader.isStartElement()) {
            QStringList attributes;
            for (const QXmlStreamAttribute& attribute : reader.attributes())
                attributes << attribute.name().toString() + QLatin1Char('=') + attribute.value().toString();
            attributes.sort();
            items << QLatin1Char('<') + reader.name().toString() + QLatin1Char(' ')
                    + attributes.join(QLatin1Char(' '));
        } else if (reader.isEndElement()) {
            items << QStringLiteral("</") + reader.name().toString();
            if (reader.name() == QLatin1String("interface"))
                inside = false;
        }
    }
    return items;
}

class TimerBusTest : public ::testing::Test {
protected:
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("DO_NOT_TRACK"), QStringLiteral("1"));
        env.insert(QStringLiteral("VELTO_ANALYTICS_HOST"), QStringLiteral("http://127.0.0.1:9"));
        return env;
    }
    Finished run(const QString& program, const QStringList& arguments, int timeoutMs = 10000) const
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(program, arguments);
        Finished result;
        if (!process.waitForFinished(timeoutMs)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << program.toStdString() << " " << arguments.join(' ').toStdString()
                          << " timed out";
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }
    Finished velto(const QStringList& arguments) const
    {
        return run(QStringLiteral(VELTO_EXECUTABLE), arguments);
    }
    Finished gdbusCall(const QString& method, const QStringList& arguments = {}) const
    {
        return run(QStringLiteral("gdbus"),
            QStringList { "call", "--session", "-d", dest, "-o", path, "-m", method } + arguments);
    }
    /// The property's value as gdbus prints it, e.g. "<uint32 1>".
    QString property(const QString& name) const
    {
        const Finished result
            = gdbusCall(QStringLiteral("org.freedesktop.DBus.Properties.Get"), { timer, name });
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        return result.out.trimmed().remove(QRegularExpression(QStringLiteral("^\\(|,\\)$")));
    }
    QString busctlProperty(const QString& name) const
    {
        const Finished result
            = run(QStringLiteral("busctl"), { "--user", "get-property", dest, path, timer, name });
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        return result.out.trimmed();
    }
    QJsonObject statusJson(const char* format = "json") const
    {
        const Finished result = velto({ "status", "--format", QString::fromLatin1(format) });
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        return QJsonDocument::fromJson(result.out.toUtf8()).object();
    }

    /// Writes the preferences file the app will read.
    void writePreferences(const QJsonObject& preferences) const
    {
        QDir().mkpath(home.filePath(QStringLiteral("config/velto")));
        QFile file(home.filePath(QStringLiteral("config/velto/preferences.json")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(preferences).toJson());
    }
    /// Starts dbus-monitor on `rule` and waits until it listens.
    void startMonitor(QProcess& monitor, const QString& rule) const
    {
        monitor.setProcessEnvironment(environment());
        monitor.start(QStringLiteral("dbus-monitor"), { "--session", rule });
        ASSERT_TRUE(monitor.waitForStarted(5000));
        QString seen;
        for (int i = 0; i < 50 && !seen.contains(QStringLiteral("NameAcquired")); ++i) {
            monitor.waitForReadyRead(100);
            seen += QString::fromUtf8(monitor.readAllStandardOutput());
        }
        QTest::qWait(200);
        monitor.readAllStandardOutput();
    }

    void startApp()
    {
        app.setProcessEnvironment(environment());
        app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        app.start(QStringLiteral(VELTO_EXECUTABLE), {});
        ASSERT_TRUE(app.waitForStarted(10000));
        for (int i = 0; i < 100; ++i) {
            if (run(QStringLiteral("busctl"), { "--user", "get-property", dest, path, timer, "State" })
                    .exitCode
                == 0)
                return;
            QTest::qWait(100);
        }
        FAIL() << "Velto did not show up on the bus";
    }
    void TearDown() override
    {
        if (app.state() != QProcess::NotRunning) {
            app.terminate();
            if (!app.waitForFinished(5000)) {
                app.kill();
                app.waitForFinished();
            }
        }
    }

    QTemporaryDir home;
    QProcess app;
};

TEST_F(TimerBusTest, WithoutTheAppTheCommandLineSaysSoOnceAndAFollowerWaits)
{
    for (const QStringList& arguments : { QStringList { "status" }, QStringList { "start" } }) {
        const Finished result = velto(arguments);
        EXPECT_EQ(result.exitCode, 1) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err.trimmed().count(QLatin1Char('\n')), 0) << result.err.toStdString();
        EXPECT_FALSE(result.err.trimmed().isEmpty());
    }
    // Following says so once on its output, then waits for Velto instead of failing.
    QProcess follow;
    follow.setProcessEnvironment(environment());
    follow.start(QStringLiteral(VELTO_EXECUTABLE), { "status", "--follow" });
    ASSERT_TRUE(follow.waitForReadyRead(5000));
    QTest::qWait(500);
    EXPECT_EQ(follow.state(), QProcess::Running);
    EXPECT_EQ(QString::fromUtf8(follow.readAllStandardOutput()), QStringLiteral("Velto is not running.\n"));
    follow.terminate();
    ASSERT_TRUE(follow.waitForFinished(5000));
    EXPECT_EQ(follow.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(follow.exitCode(), 0);

    const Finished bad = velto({ "launch" });
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("launch")));
}

TEST_F(TimerBusTest, MethodsDriveTheTimerAndPropertiesFollow)
{
    ASSERT_NO_FATAL_FAILURE(startApp());
    EXPECT_EQ(property("State"), QStringLiteral("<uint32 0>"));
    EXPECT_EQ(busctlProperty("IsRunning"), QStringLiteral("b false"));
    EXPECT_EQ(busctlProperty("CurrentTag"), QStringLiteral("s \"\""));
    EXPECT_EQ(busctlProperty("DailySessions"), QStringLiteral("i 0"));
    EXPECT_EQ(busctlProperty("FocusTimeToday"), QStringLiteral("d 0"));
    EXPECT_EQ(busctlProperty("Progress"), QStringLiteral("d 0"));

    // Nothing to pause, skip or reset yet: each call succeeds and changes nothing.
    for (const char* method : { "Pause", "Skip", "Reset" })
        EXPECT_EQ(gdbusCall(timer + QLatin1Char('.') + QLatin1String(method)).exitCode, 0) << method;
    EXPECT_EQ(property("State"), QStringLiteral("<uint32 0>"));

    ASSERT_EQ(gdbusCall(timer + ".Start", { "false" }).exitCode, 0);
    EXPECT_EQ(property("State"), QStringLiteral("<uint32 1>"));
    EXPECT_EQ(property("IsRunning"), QStringLiteral("<true>"));
    EXPECT_EQ(busctlProperty("TimeRemaining"), QStringLiteral("d 1500"));
    // Starting what already runs keeps its countdown going.
    QTest::qWait(1200);
    ASSERT_EQ(gdbusCall(timer + ".Start", { "false" }).exitCode, 0);
    EXPECT_NE(busctlProperty("TimeRemaining"), QStringLiteral("d 1500"));
    EXPECT_NE(busctlProperty("Progress"), QStringLiteral("d 0"));

    ASSERT_EQ(gdbusCall(timer + ".Pause").exitCode, 0);
    EXPECT_EQ(property("IsRunning"), QStringLiteral("<false>"));
    EXPECT_EQ(property("State"), QStringLiteral("<uint32 1>"));
    ASSERT_EQ(gdbusCall(timer + ".Toggle").exitCode, 0);
    EXPECT_EQ(property("IsRunning"), QStringLiteral("<true>"));
    EXPECT_EQ(property("State"), QStringLiteral("<uint32 1>"));

    ASSERT_EQ(gdbusCall(timer + ".Skip").exitCode, 0);
    EXPECT_EQ(property("State"), QStringLiteral("<uint32 2>"));
    EXPECT_EQ(property("IsRunning"), QStringLiteral("<false>"));
    ASSERT_EQ(gdbusCall(timer + ".Start", { "true" }).exitCode, 0);
    EXPECT_EQ(property("State"), QStringLiteral("<uint32 2>"));
    EXPECT_EQ(property("IsRunning"), QStringLiteral("<true>"));
    // The other kind abandons the break.
    ASSERT_EQ(gdbusCall(timer + ".Start", { "false" }).exitCode, 0);
    EXPECT_EQ(property("State"), QStringLiteral("<uint32 1>"));
    EXPECT_EQ(property("IsRunning"), QStringLiteral("<true>"));

    ASSERT_EQ(gdbusCall(timer + ".Reset").exitCode, 0);
    EXPECT_EQ(property("State"), QStringLiteral("<uint32 0>"));
    EXPECT_EQ(property("IsRunning"), QStringLiteral("<false>"));
    EXPECT_EQ(busctlProperty("TimeRemaining"), QStringLiteral("d 0"));

    for (const char* section : { "tags", "no-such-section" })
        EXPECT_EQ(run(QStringLiteral("busctl"),
                      { "--user", "call", dest, path, timer, "OpenDashboard", "s", section })
                      .exitCode,
            0)
            << section;
    EXPECT_EQ(property("State"), QStringLiteral("<uint32 0>"));
    EXPECT_EQ(app.state(), QProcess::Running);

    // The live interface is the one installed for other programs.
    const Finished introspection
        = run(QStringLiteral("gdbus"), { "introspect", "--session", "--xml", "-d", dest, "-o", path });
    ASSERT_EQ(introspection.exitCode, 0);
    QFile installed(QStringLiteral(VELTO_TIMER_INTERFACE_XML));
    ASSERT_TRUE(installed.open(QIODevice::ReadOnly));
    const QStringList expected = canonicalInterface(QString::fromUtf8(installed.readAll()));
    EXPECT_GT(expected.size(), 20);
    EXPECT_EQ(canonicalInterface(introspection.out), expected);
}

TEST_F(TimerBusTest, ChangesAreAnnouncedAndTheCountdownAtMostOnceASecond)
{
    ASSERT_NO_FATAL_FAILURE(startApp());
    QProcess monitor;
    ASSERT_NO_FATAL_FAILURE(startMonitor(monitor,
        QStringLiteral(
            "type='signal',interface='org.freedesktop.DBus.Properties',path='/studio/murv/Velto'")));
    QString seen;

    ASSERT_EQ(gdbusCall(timer + ".Start", { "false" }).exitCode, 0);
    QElapsedTimer clock;
    clock.start();
    // dbus-monitor prints a signal in pieces; read until the whole announcement is in.
    const auto announced = [&seen] {
        return seen.contains(QStringLiteral("\"IsRunning\"")) && seen.contains(QStringLiteral("\"State\""))
            && seen.contains(QStringLiteral("uint32 1"));
    };
    while (clock.elapsed() < 2000 && !announced()) {
        monitor.waitForReadyRead(100);
        seen += QString::fromUtf8(monitor.readAllStandardOutput());
    }
    EXPECT_TRUE(seen.contains(QStringLiteral("\"IsRunning\""))) << seen.toStdString();
    EXPECT_TRUE(seen.contains(QStringLiteral("\"State\""))) << seen.toStdString();
    EXPECT_TRUE(seen.contains(QStringLiteral("uint32 1"))) << seen.toStdString();

    while (clock.elapsed() < 3000) {
        monitor.waitForReadyRead(100);
        seen += QString::fromUtf8(monitor.readAllStandardOutput());
    }
    monitor.kill();
    monitor.waitForFinished();
    seen += QString::fromUtf8(monitor.readAllStandardOutput());
    const qsizetype countdowns = seen.count(QStringLiteral("\"TimeRemaining\""));
    EXPECT_GE(countdowns, 2) << seen.toStdString();
    EXPECT_LE(countdowns, 4) << seen.toStdString();
}

/// One real interval: the engine's lengths are whole minutes, so the focus interval takes a
/// minute; the break is skipped, and pause and resume come from the bus.
TEST_F(TimerBusTest, AnIntervalRunsTheUsersCommandsAndIsAnnouncedWhenItFinishes)
{
    const QString log = home.filePath(QStringLiteral("events.jsonl"));
    QJsonObject commands;
    for (const char* event : { "focus-started", "focus-ended", "break-started", "break-ended", "paused",
             "resumed", "interval-completed" })
        commands.insert(QLatin1String(event), QStringLiteral("cat >> '%1'").arg(log));
    ASSERT_NO_FATAL_FAILURE(writePreferences({ { "workDuration", 60.0 }, { "autoStartNext", true },
        { "veltoCurrentSessionTag", "Deep Work" }, { "veltoHookCommands", commands } }));
    ASSERT_NO_FATAL_FAILURE(startApp());
    QProcess monitor;
    ASSERT_NO_FATAL_FAILURE(startMonitor(monitor, QStringLiteral("type='signal',interface='%1'").arg(timer)));
    const auto events = [&log] {
        QFile file(log);
        QList<QJsonObject> lines;
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : file.readAll().split('\n'))
                if (!line.isEmpty())
                    lines << QJsonDocument::fromJson(line).object();
        }
        return lines;
    };
    const auto names = [&events] {
        QStringList list;
        for (const QJsonObject& event : events())
            list << event[QStringLiteral("event")].toString();
        return list;
    };

    ASSERT_EQ(gdbusCall(timer + ".Start", { "false" }).exitCode, 0);
    ASSERT_EQ(gdbusCall(timer + ".Pause").exitCode, 0);
    ASSERT_EQ(gdbusCall(timer + ".Toggle").exitCode, 0);
    // A minute of focus, then the break starts by itself.
    EXPECT_TRUE(QTest::qWaitFor([&] { return names().contains(QStringLiteral("break-started")); }, 90000))
        << names().join(' ').toStdString();
    QTest::qWait(2100);
    ASSERT_EQ(gdbusCall(timer + ".Skip").exitCode, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return names().size() >= 7; }, 10000));
    QTest::qWait(300); // nothing more comes
    EXPECT_EQ(names(),
        (QStringList { "focus-started", "paused", "resumed", "focus-ended", "interval-completed",
            "break-started", "break-ended" }));

    const QList<QJsonObject> told = events();
    ASSERT_EQ(told.size(), 7);
    EXPECT_EQ(told[0][QStringLiteral("state")].toString(), QStringLiteral("work"));
    EXPECT_EQ(told[0][QStringLiteral("remaining")].toInt(), 60);
    EXPECT_EQ(told[0][QStringLiteral("tag")].toString(), QStringLiteral("Deep Work"));
    EXPECT_EQ(told[0][QStringLiteral("sessionsToday")].toInt(), 0);
    EXPECT_EQ(told[1][QStringLiteral("state")].toString(), QStringLiteral("work"));
    // After the focus interval: the break is armed, and today's count has grown.
    EXPECT_EQ(told[3][QStringLiteral("state")].toString(), QStringLiteral("shortBreak"));
    EXPECT_EQ(told[3][QStringLiteral("remaining")].toInt(), 300);
    EXPECT_EQ(told[4][QStringLiteral("sessionsToday")].toInt(), 1);
    EXPECT_EQ(told[6][QStringLiteral("state")].toString(), QStringLiteral("work"));
    for (const QJsonObject& event : told)
        EXPECT_TRUE(QDateTime::fromString(event[QStringLiteral("timestamp")].toString(), Qt::ISODateWithMs)
                        .isValid());

    // dbus-monitor saw both intervals finish: the focus interval completed, the break skipped.
    const QRegularExpression finished(
        QStringLiteral("member=SessionFinished\\s+string \"([^\"]*)\"\\s+uint32 (\\d+)\\s+string "
                       "\"([^\"]*)\"\\s+boolean (\\w+)"));
    QString seen;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000 && seen.count(QStringLiteral("member=SessionFinished")) < 2) {
        monitor.waitForReadyRead(100);
        seen += QString::fromUtf8(monitor.readAllStandardOutput());
    }
    QTest::qWait(200); // the rest of the last signal's lines
    monitor.kill();
    monitor.waitForFinished();
    seen += QString::fromUtf8(monitor.readAllStandardOutput());
    QList<QRegularExpressionMatch> announced;
    for (auto it = finished.globalMatch(seen); it.hasNext();)
        announced << it.next();
    ASSERT_EQ(announced.size(), 2) << seen.toStdString();
    EXPECT_EQ(announced[0].captured(1), QStringLiteral("focus"));
    EXPECT_EQ(announced[0].captured(2), QStringLiteral("60"));
    EXPECT_EQ(announced[0].captured(3), QStringLiteral("Deep Work"));
    EXPECT_EQ(announced[0].captured(4), QStringLiteral("true"));
    EXPECT_EQ(announced[1].captured(1), QStringLiteral("shortBreak"));
    EXPECT_GE(announced[1].captured(2).toInt(), 2); // the seconds it ran before the skip
    EXPECT_LE(announced[1].captured(2).toInt(), 5);
    EXPECT_EQ(announced[1].captured(3), QString()) << "no tag for a break";
    EXPECT_EQ(announced[1].captured(4), QStringLiteral("false"));
}

TEST_F(TimerBusTest, CommandLineDrivesTheRunningApp)
{
    ASSERT_NO_FATAL_FAILURE(startApp());
    const QJsonObject idle = statusJson("waybar");
    QStringList keys = idle.keys();
    keys.sort();
    EXPECT_EQ(keys, (QStringList { "class", "percentage", "text", "tooltip" }));
    EXPECT_EQ(idle[QStringLiteral("class")].toString(), QStringLiteral("idle"));
    EXPECT_TRUE(idle[QStringLiteral("percentage")].isDouble());

    EXPECT_EQ(velto({ "start" }).exitCode, 0);
    EXPECT_EQ(property("IsRunning"), QStringLiteral("<true>"));
    const QJsonObject running = statusJson();
    EXPECT_EQ(running[QStringLiteral("state")].toString(), QStringLiteral("work"));
    EXPECT_EQ(running[QStringLiteral("stateValue")].toInt(-1), 1);
    EXPECT_TRUE(running[QStringLiteral("isRunning")].toBool(false));
    const Finished text = velto({ "status" });
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(text.out.count(QLatin1Char('\n')), 1);

    // Extending the paused interval adds to what is left; a wrong count is one line and exit 2.
    EXPECT_EQ(velto({ "pause" }).exitCode, 0);
    const double left = busctlProperty("TimeRemaining").mid(2).toDouble();
    EXPECT_EQ(velto({ "extend", "10" }).exitCode, 0);
    EXPECT_EQ(busctlProperty("TimeRemaining").mid(2).toDouble(), left + 600);
    for (const char* wrong : { "0", "-3", "100000", "abc" }) {
        const Finished refused = velto({ "extend", wrong });
        EXPECT_EQ(refused.exitCode, 2) << wrong;
        EXPECT_EQ(refused.err.count(QLatin1Char('\n')), 1) << wrong;
    }
    EXPECT_EQ(busctlProperty("TimeRemaining").mid(2).toDouble(), left + 600);
    EXPECT_EQ(velto({ "toggle" }).exitCode, 0);

    // Following prints the state at once and a line for each countdown announcement.
    QProcess follow;
    follow.setProcessEnvironment(environment());
    follow.start(QStringLiteral(VELTO_EXECUTABLE), { "status", "--follow", "--format", "waybar" });
    ASSERT_TRUE(follow.waitForStarted(5000));
    QTest::qWait(2300);
    EXPECT_EQ(follow.state(), QProcess::Running);
    follow.kill();
    follow.waitForFinished();
    const QStringList lines
        = QString::fromUtf8(follow.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    EXPECT_GE(lines.size(), 2);
    QStringList countdowns;
    for (const QString& line : lines) {
        const QJsonObject module = QJsonDocument::fromJson(line.toUtf8()).object();
        EXPECT_EQ(module[QStringLiteral("class")].toString(), QStringLiteral("work")) << line.toStdString();
        countdowns << module[QStringLiteral("text")].toString();
    }
    EXPECT_EQ(countdowns.size(), QSet<QString>(countdowns.begin(), countdowns.end()).size());

    EXPECT_EQ(velto({ "pause" }).exitCode, 0);
    EXPECT_FALSE(statusJson()[QStringLiteral("isRunning")].toBool(true));
    EXPECT_EQ(velto({ "toggle" }).exitCode, 0);
    EXPECT_TRUE(statusJson()[QStringLiteral("isRunning")].toBool(false));
    EXPECT_EQ(velto({ "skip" }).exitCode, 0);
    EXPECT_EQ(statusJson()[QStringLiteral("state")].toString(), QStringLiteral("shortBreak"));
    EXPECT_EQ(velto({ "reset" }).exitCode, 0);
    EXPECT_EQ(velto({ "start", "--break" }).exitCode, 0);
    EXPECT_EQ(statusJson()[QStringLiteral("state")].toString(), QStringLiteral("shortBreak"));
    EXPECT_EQ(velto({ "dashboard", "settings" }).exitCode, 0);
    EXPECT_EQ(app.state(), QProcess::Running);
}

/// `velto status --follow --format waybar` as a status bar runs it; its output goes to
/// `reader` when one is given.
class Follower {
public:
    explicit Follower(const QProcessEnvironment& environment, QProcess* reader = nullptr)
    {
        m_process.setProcessEnvironment(environment);
        if (reader)
            m_process.setStandardOutputProcess(reader);
        m_process.start(QStringLiteral(VELTO_EXECUTABLE), { "status", "--follow", "--format", "waybar" });
    }
    ~Follower()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    /// Whether the last line comes to have `key` set to `value` within ten seconds.
    bool shows(const char* key, const char* value)
    {
        QElapsedTimer clock;
        clock.start();
        do {
            m_lines += QString::fromUtf8(m_process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
            if (!m_lines.isEmpty()
                && QJsonDocument::fromJson(m_lines.last().toUtf8())
                        .object()
                        .value(QLatin1String(key))
                        .toString()
                    == QLatin1String(value))
                return true;
        } while (m_process.waitForReadyRead(200) || clock.elapsed() < 10000);
        return false;
    }
    /// Whether it ends by itself within five seconds with exit status 0.
    bool endsCleanly()
    {
        return m_process.waitForFinished(5000) && m_process.exitStatus() == QProcess::NormalExit
            && m_process.exitCode() == 0;
    }
    QProcess& process() { return m_process; }

private:
    QProcess m_process;
    QStringList m_lines;
};

TEST_F(TimerBusTest, FollowersWaitForVeltoOutliveItAndEndOnASignalOrAClosedPipe)
{
    std::vector<std::unique_ptr<Follower>> followers;
    for (int i = 0; i < 10; ++i)
        followers.push_back(std::make_unique<Follower>(environment()));
    for (auto& follower : followers)
        ASSERT_TRUE(follower->shows("class", "stopped")); // waiting, not gone

    ASSERT_NO_FATAL_FAILURE(startApp());
    for (auto& follower : followers)
        EXPECT_TRUE(follower->shows("class", "idle"));
    app.terminate(); // Velto quits while ten of them watch
    ASSERT_TRUE(app.waitForFinished(10000));
    for (auto& follower : followers) {
        EXPECT_TRUE(follower->shows("class", "stopped"));
        EXPECT_EQ(follower->process().state(), QProcess::Running);
    }
    ASSERT_NO_FATAL_FAILURE(startApp());
    ASSERT_EQ(velto({ "start" }).exitCode, 0);
    for (auto& follower : followers)
        EXPECT_TRUE(follower->shows("class", "work"));
    ASSERT_EQ(velto({ "reset" }).exitCode, 0);
    for (auto& follower : followers)
        EXPECT_TRUE(follower->shows("class", "idle"));

    for (auto& follower : followers) {
        follower->process().terminate();
        EXPECT_TRUE(follower->endsCleanly());
    }

    // A reader that goes away: Velto is idle, so nothing more is printed, and the closed
    // pipe is noticed all the same.
    for (int i = 0; i < 3; ++i) {
        QProcess reader;
        Follower follower(environment(), &reader);
        reader.start(QStringLiteral("head"), { "-n", "1" });
        ASSERT_TRUE(reader.waitForFinished(10000));
        EXPECT_TRUE(reader.readAllStandardOutput().contains("idle"));
        EXPECT_TRUE(follower.endsCleanly()) << i;
    }

    // A status bar that starts and stops its module a hundred times leaves nothing behind:
    // no connection on the bus (the asking one counts alike), no file open in Velto.
    const auto connections = [this] {
        return gdbusCall(QStringLiteral("org.freedesktop.DBus.ListNames")).out.count(QStringLiteral("':"));
    };
    const auto openFiles
        = [this] { return QDir(QStringLiteral("/proc/%1/fd").arg(app.processId())).count(); };
    const qsizetype connectionsBefore = connections();
    const uint filesBefore = openFiles();
    for (int i = 0; i < 100; ++i) {
        Follower follower(environment());
        ASSERT_TRUE(follower.shows("class", "idle")) << i;
        follower.process().terminate();
        ASSERT_TRUE(follower.endsCleanly()) << i;
    }
    EXPECT_EQ(statusJson()[QStringLiteral("state")].toString(), QStringLiteral("idle"));
    EXPECT_EQ(app.state(), QProcess::Running);
    EXPECT_TRUE(QTest::qWaitFor([&] { return connections() == connectionsBefore; }, 5000));
    EXPECT_EQ(openFiles(), filesBefore);
}

} // namespace
