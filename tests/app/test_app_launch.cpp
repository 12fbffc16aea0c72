// The real application, started as a user would: it reports its launch to the
// analytics server, hands a second start over to the running one, and quits
// cleanly on SIGTERM.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <signal.h>

#include "LoopbackHttpServer.h"

namespace {

using namespace std::chrono_literals;

/// Every event name the server received in batches.
std::vector<std::string> receivedEvents(
    const beacon::test::LoopbackHttpServer& server, std::string* distinctId)
{
    std::vector<std::string> names;
    for (const auto& request : server.requests()) {
        const auto body = nlohmann::json::parse(request.body, nullptr, false);
        if (!body.is_object() || !body.contains("batch"))
            continue;
        for (const auto& event : body["batch"]) {
            names.push_back(event.value("event", ""));
            if (distinctId && event.value("event", "") == "$identify")
                *distinctId = event.value("distinct_id", "");
        }
    }
    return names;
}

class AppLaunchTest : public ::testing::Test {
protected:
    QProcess* start(const QStringList& arguments = {})
    {
        auto* process = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("VELTO_ANALYTICS_HOST"), QString::fromStdString(server.baseUrl()));
        env.remove(QStringLiteral("DO_NOT_TRACK"));
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(QStringLiteral(VELTO_EXECUTABLE), arguments);
        processes.emplace_back(process);
        return process;
    }
    void TearDown() override
    {
        for (const auto& process : processes) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }

    QTemporaryDir home;
    beacon::test::LoopbackHttpServer server;
    std::vector<std::unique_ptr<QProcess>> processes;
};

TEST_F(AppLaunchTest, ReportsItsLaunchHandsASecondStartOverAndQuitsCleanly)
{
    QProcess* app = start();
    ASSERT_TRUE(app->waitForStarted(10000));

    // Velto claims its bus name early; a second start hands over and exits at once.
    QTest::qWait(1500);
    QProcess* second = start();
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(app->state(), QProcess::Running);

    // The identify and the heartbeat leave with the first batch (the queue flushes every 30 seconds).
    std::string distinctId;
    for (int i = 0; i < 90 && receivedEvents(server, &distinctId).size() < 2; ++i)
        QTest::qWait(500);
    const std::vector<std::string> events = receivedEvents(server, &distinctId);
    EXPECT_NE(std::find(events.begin(), events.end(), "$identify"), events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), "app_heartbeat"), events.end());
    EXPECT_EQ(distinctId.size(), 32u);

    ::kill(static_cast<pid_t>(app->processId()), SIGTERM);
    ASSERT_TRUE(app->waitForFinished(10000));
    EXPECT_EQ(app->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(app->exitCode(), 0);
}

TEST(AppWithoutDisplay, SaysSoInOneLineAndExitsWithStatusOne)
{
    QTemporaryDir home;
    QProcessEnvironment base = QProcessEnvironment::systemEnvironment();
    for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        base.remove(QLatin1String(name));
    base.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    base.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    base.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    base.insert(QStringLiteral("DO_NOT_TRACK"), QStringLiteral("1"));
    // None named; one named that is not there; the X11 and Wayland platforms asked for by name.
    QProcessEnvironment unreachable = base;
    unreachable.insert(QStringLiteral("DISPLAY"), QStringLiteral(":93117"));
    QProcessEnvironment x11 = unreachable;
    x11.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcessEnvironment wayland = base;
    wayland.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    wayland.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("no-such-wayland-display"));
    for (const QProcessEnvironment& env : { base, unreachable, x11, wayland }) {
        QProcess app;
        app.setProcessEnvironment(env);
        app.start(QStringLiteral(VELTO_EXECUTABLE), {});
        ASSERT_TRUE(app.waitForFinished(20000));
        const QString err = QString::fromLocal8Bit(app.readAllStandardError()).trimmed();
        EXPECT_EQ(app.exitStatus(), QProcess::NormalExit) << err.toStdString();
        EXPECT_EQ(app.exitCode(), 1) << err.toStdString();
        EXPECT_TRUE(app.readAllStandardOutput().isEmpty());
        EXPECT_EQ(err.count(QLatin1Char('\n')), 0) << err.toStdString();
        EXPECT_TRUE(err.contains(QStringLiteral("no X11 or Wayland display"))) << err.toStdString();
    }
}

} // namespace
