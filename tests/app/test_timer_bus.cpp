// The timer's D-Bus interface on the real application, driven with the desktop's own
// tools (gdbus, busctl, dbus-monitor) and with `velto <command>`, on a private bus.
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
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
            items << QLatin1Char('<') + reader.name().toString() + QLatin1Char(' ') + attributes.join(QLatin1Char(' '));
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
            ADD_FAILURE() << program.toStdString() << " " << arguments.join(' ').toStdString() << " timed out";
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }
    Finished velto(const QStringList& arguments) const { return run(QStringLiteral(VELTO_EXECUTABLE), arguments); }
    Finished gdbusCall(const QString& method, const QStringList& arguments = {}) const
    {
        return run(QStringLiteral("gdbus"),
                   QStringList { "call", "--session", "-d", dest, "-o", path, "-m", method } + arguments);
    }
    /// The property's value as gdbus prints it, e.g. "<uint32 1>".
    QString property(const QString& name) const
    {
        const Finished result = gdbusCall(QStringLiteral("org.freedesktop.DBus.Properties.Get"), { timer, name });
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        return result.out.trimmed().remove(QRegularExpression(QStringLiteral("^\\(|,\\)$")));
    }
    QString busctlProperty(const QString& name) const
    {
        const Finished result = run(QStringLiteral("busctl"), { "--user", "get-property", dest, path, timer, name });
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        return result.out.trimmed();
    }
    QJsonObject statusJson(const char* format = "json") const
    {
        const Finished result = velto({ "status", "--format", QString::fromLatin1(format) });
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        return QJsonDocument::fromJson(result.out.toUtf8()).object();
    }

    void startApp()
    {
        app.setProcessEnvironment(environment());
        app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        app.start(QStringLiteral(VELTO_EXECUTABLE), {});
        ASSERT_TRUE(app.waitForStarted(10000));
        for (int i = 0; i < 100; ++i) {
            if (run(QStringLiteral("busctl"), { "--user", "get-property", dest, path, timer, "State" }).exitCode == 0)
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

TEST_F(TimerBusTest, WithoutTheAppTheCommandLineSaysSoOnce)
{
    for (const QStringList& arguments : { QStringList { "status" }, QStringList { "start" },
                                          QStringList { "status", "--follow", "--format", "waybar" } }) {
        const Finished result = velto(arguments);
        EXPECT_EQ(result.exitCode, 1) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err.trimmed().count(QLatin1Char('\n')), 0) << result.err.toStdString();
        EXPECT_FALSE(result.err.trimmed().isEmpty());
    }
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
        EXPECT_EQ(run(QStringLiteral("busctl"), { "--user", "call", dest, path, timer, "OpenDashboard", "s", section })
                      .exitCode,
                  0)
            << section;
    EXPECT_EQ(property("State"), QStringLiteral("<uint32 0>"));
    EXPECT_EQ(app.state(), QProcess::Running);

    // The live interface is the one installed for other programs.
    const Finished introspection = run(QStringLiteral("gdbus"), { "introspect", "--session", "--xml", "-d", dest, "-o", path });
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
    monitor.setProcessEnvironment(environment());
    monitor.start(QStringLiteral("dbus-monitor"),
                  { "--session", "type='signal',interface='org.freedesktop.DBus.Properties',path='/studio/murv/Velto'" });
    ASSERT_TRUE(monitor.waitForStarted(5000));
    QString seen;
    for (int i = 0; i < 50 && !seen.contains(QStringLiteral("NameAcquired")); ++i) {
        monitor.waitForReadyRead(100);
        seen += QString::fromUtf8(monitor.readAllStandardOutput());
    }
    QTest::qWait(200);
    seen = QString::fromUtf8(monitor.readAllStandardOutput());

    ASSERT_EQ(gdbusCall(timer + ".Start", { "false" }).exitCode, 0);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 2000 && !seen.contains(QStringLiteral("\"IsRunning\""))) {
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

    // Following prints the state at once and a line for each countdown announcement.
    QProcess follow;
    follow.setProcessEnvironment(environment());
    follow.start(QStringLiteral(VELTO_EXECUTABLE), { "status", "--follow", "--format", "waybar" });
    ASSERT_TRUE(follow.waitForStarted(5000));
    QTest::qWait(2300);
    EXPECT_EQ(follow.state(), QProcess::Running);
    follow.kill();
    follow.waitForFinished();
    const QStringList lines = QString::fromUtf8(follow.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
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

} // namespace
