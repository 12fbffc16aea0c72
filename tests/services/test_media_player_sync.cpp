// Runs inside its own dbus-run-session: the timer drives MPRIS players over a real bus.
// The players are in-process objects on connections of their own; playerctl stands in
// for the user's media keys and checks the players from the outside.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "TestMediaPlayer.h"
#include "TimerSurroundings.h"
#include "data/SessionStore.h"
#include "services/MediaPlayerSync.h"
#include "services/MprisPlayers.h"
#include "timer/TimerManager.h"

namespace {

const QString kPlaying = QStringLiteral("Playing");
const QString kPaused = QStringLiteral("Paused");
const QStringList kNothing;

bool eventually(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, 5000);
}

/// The timer, the players' sync and its switch, as the application wires them.
struct Velto : TimerSurroundings {
    explicit Velto(bool syncOn)
        : TimerSurroundings(
            syncOn ? QVariantMap { { QStringLiteral("veltoMprisSync"), true } } : QVariantMap {})
    {
        QObject::connect(&timer, &TimerManager::musicCue, &sync, &MediaPlayerSync::follow);
        timer.setWorkDuration(1);
        timer.setBreakDuration(1);
    }

    /// `seconds` pass and the tick timer fires each time.
    void tick(int seconds)
    {
        for (int i = 0; i < seconds; ++i) {
            clock.advance(std::chrono::seconds(1));
            timer.catchUpTicks();
        }
    }
    /// Velto has seen `player` report `status`.
    bool sees(const TestMediaPlayer& player, const QString& status) const
    {
        const auto seen = players.roster().status(player.busName());
        return seen && *seen == MediaPlayerRoster::statusFromText(status);
    }
    /// What Velto has asked of `player` so far. A property read over Velto's own connection
    /// is a barrier: the player takes calls from one sender in order.
    QStringList callsTo(const TestMediaPlayer& player) const
    {
        QDBusMessage get
            = QDBusMessage::createMethodCall(player.busName(), QStringLiteral("/org/mpris/MediaPlayer2"),
                QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << QStringLiteral("org.mpris.MediaPlayer2.Player") << QStringLiteral("PlaybackStatus");
        QDBusPendingCallWatcher answer(QDBusConnection::sessionBus().asyncCall(get));
        EXPECT_TRUE(eventually([&] { return answer.isFinished(); }));
        return player.callsFrom(QDBusConnection::sessionBus().baseService());
    }

    std::unique_ptr<SessionStore> store;
    TimerManager timer { timerDependencies([this]() -> SessionStore& {
        if (!store)
            store = std::make_unique<SessionStore>(
                dir.filePath(QStringLiteral("sessions.json")), clock, calendar);
        return *store;
    }) };
    MprisPlayers players;
    MediaPlayerSync sync { prefs, players,
        [this] { return timer.isRunning() && timer.currentState() == TimerState::work; } };
};

/// Runs playerctl against the players while this thread keeps serving them; its output.
QString playerctl(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("playerctl"), arguments);
    EXPECT_TRUE(eventually([&] { return process.state() == QProcess::NotRunning; }))
        << "playerctl " << arguments.join(' ').toStdString();
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

class MediaPlayerSyncTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run inside dbus-run-session";
        ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("playerctl")).isEmpty())
            << "playerctl is missing: run scripts/install-deps.sh";
    }
};

TEST_F(MediaPlayerSyncTest, FocusResumesAndBreaksPauseOnlyThePlayerThatWasPlaying)
{
    // Both players are there before Velto starts; one plays, the other was never used.
    TestMediaPlayer music(QStringLiteral("music"), kPlaying);
    TestMediaPlayer idle(QStringLiteral("idle"));
    Velto velto(true);
    velto.timer.toggleAutoStart();
    ASSERT_TRUE(eventually(
        [&] { return velto.sees(music, kPlaying) && velto.sees(idle, QStringLiteral("Stopped")); }));

    velto.timer.start(false);
    EXPECT_EQ(velto.callsTo(music), kNothing) << "already playing";

    velto.tick(61); // the focus interval ends and a break starts
    ASSERT_EQ(velto.timer.currentState(), TimerState::shortBreak);
    EXPECT_EQ(velto.callsTo(music), QStringList { QStringLiteral("Pause") });
    ASSERT_TRUE(eventually([&] { return velto.sees(music, kPaused); }));
    EXPECT_EQ(playerctl({ QStringLiteral("--player=music"), QStringLiteral("status") }), kPaused);

    velto.tick(61); // the break ends and focus starts again
    ASSERT_EQ(velto.timer.currentState(), TimerState::work);
    EXPECT_EQ(velto.callsTo(music), (QStringList { QStringLiteral("Pause"), QStringLiteral("Play") }));
    EXPECT_EQ(playerctl({ QStringLiteral("--player=music"), QStringLiteral("status") }), kPlaying);

    EXPECT_EQ(velto.callsTo(idle), kNothing);
    EXPECT_TRUE(idle.calls().isEmpty());
    EXPECT_TRUE(velto.companion.actions.isEmpty()) << "Calmix has its own switch";
}

TEST_F(MediaPlayerSyncTest, APlayerTheUserPausedIsNeverResumed)
{
    TestMediaPlayer music(QStringLiteral("songs"), kPlaying);
    Velto velto(true);
    ASSERT_TRUE(eventually([&] { return velto.sees(music, kPlaying); }));
    const QStringList player { QStringLiteral("--player=songs") };

    // Paused with the media keys during focus: a pause and a resume of the timer leave it paused.
    velto.timer.start(false);
    playerctl(player + QStringList { QStringLiteral("pause") });
    ASSERT_TRUE(eventually([&] { return velto.sees(music, kPaused); }));
    velto.timer.pause();
    velto.timer.start(false);
    EXPECT_EQ(velto.callsTo(music), kNothing);

    // Paused by Velto, then played and paused again by the user during the break: the user's pause wins.
    playerctl(player + QStringList { QStringLiteral("play") });
    ASSERT_TRUE(eventually([&] { return velto.sees(music, kPlaying); }));
    velto.timer.pause();
    ASSERT_TRUE(eventually([&] { return velto.sees(music, kPaused); }));
    playerctl(player + QStringList { QStringLiteral("play") });
    ASSERT_TRUE(eventually([&] { return velto.sees(music, kPlaying); }));
    playerctl(player + QStringList { QStringLiteral("pause") });
    ASSERT_TRUE(eventually([&] { return velto.sees(music, kPaused); }));
    velto.timer.start(false);

    EXPECT_EQ(velto.callsTo(music), QStringList { QStringLiteral("Pause") });
    EXPECT_EQ(playerctl(player + QStringList { QStringLiteral("status") }), kPaused);
}

TEST_F(MediaPlayerSyncTest, OfTwoPlayersTheOneThatWasPlayingMostRecentlyIsDriven)
{
    TestMediaPlayer radio(QStringLiteral("radio"), kPlaying);
    Velto velto(true);
    // The second one starts after Velto: it is found by its name appearing on the bus.
    TestMediaPlayer podcast(QStringLiteral("podcast"));
    ASSERT_TRUE(eventually(
        [&] { return velto.sees(radio, kPlaying) && velto.sees(podcast, QStringLiteral("Stopped")); }));
    podcast.setStatus(kPlaying);
    ASSERT_TRUE(eventually([&] { return velto.sees(radio, kPlaying) && velto.sees(podcast, kPlaying); }));

    velto.timer.start(false);
    velto.timer.pause();
    ASSERT_TRUE(eventually([&] { return velto.sees(podcast, kPaused); }));
    velto.timer.start(false);
    ASSERT_TRUE(eventually([&] { return velto.sees(podcast, kPlaying); }));
    EXPECT_EQ(velto.callsTo(podcast), (QStringList { QStringLiteral("Pause"), QStringLiteral("Play") }));
    EXPECT_EQ(velto.callsTo(radio), kNothing);

    // The user stops the podcast; the radio still plays, so now it is the one that follows the timer.
    podcast.setStatus(kPaused);
    ASSERT_TRUE(eventually([&] { return velto.sees(podcast, kPaused); }));
    velto.timer.pause();
    velto.timer.start(false);
    EXPECT_EQ(velto.callsTo(radio), (QStringList { QStringLiteral("Pause"), QStringLiteral("Play") }));
    EXPECT_EQ(velto.callsTo(podcast), (QStringList { QStringLiteral("Pause"), QStringLiteral("Play") }));
}

TEST_F(MediaPlayerSyncTest, TheSwitchDecidesAndCalmixIsLeftAlone)
{
    TestMediaPlayer music(QStringLiteral("tunes"), kPlaying);
    Velto velto(false);
    ASSERT_TRUE(eventually([&] { return velto.sees(music, kPlaying); }));

    velto.timer.start(false);
    velto.timer.pause();
    EXPECT_EQ(velto.callsTo(music), kNothing) << "off by default";

    velto.sync.toggle(); // on while paused: nothing to resume
    EXPECT_TRUE(velto.prefs.value(QStringLiteral("veltoMprisSync")).toBool());
    velto.timer.start(false);
    EXPECT_EQ(velto.callsTo(music), kNothing);

    velto.sync.toggle(); // off during focus: the music stops
    EXPECT_FALSE(velto.prefs.value(QStringLiteral("veltoMprisSync")).toBool());
    ASSERT_TRUE(eventually([&] { return velto.sees(music, kPaused); }));
    velto.sync.toggle(); // on again during focus: it comes back
    ASSERT_TRUE(eventually([&] { return velto.sees(music, kPlaying); }));
    EXPECT_EQ(velto.callsTo(music), (QStringList { QStringLiteral("Pause"), QStringLiteral("Play") }));
    EXPECT_TRUE(velto.companion.actions.isEmpty());
}

TEST_F(MediaPlayerSyncTest, APlayerThatVanishesBeforeOrDuringACallCostsNothing)
{
    auto gone = std::make_unique<TestMediaPlayer>(QStringLiteral("gone"), kPlaying);
    Velto velto(true);
    ASSERT_TRUE(eventually([&] { return velto.sees(*gone, kPlaying); }));

    // It leaves after Velto last heard of it, so the pause goes to a name without an owner.
    velto.timer.start(false);
    gone->vanish();
    velto.timer.pause();
    ASSERT_TRUE(eventually(
        [&] { return !velto.players.roster().contains(QStringLiteral("org.mpris.MediaPlayer2.gone")); }));

    // This one takes the pause, never answers, and leaves while Velto waits for the answer.
    auto hung = std::make_unique<TestMediaPlayer>(QStringLiteral("hung"), kPlaying);
    ASSERT_TRUE(eventually([&] { return velto.sees(*hung, kPlaying); }));
    hung->stopAnswering();
    velto.timer.start(false);
    velto.timer.pause();
    ASSERT_TRUE(eventually([&] { return !hung->calls().isEmpty(); }));
    hung->vanish();
    ASSERT_TRUE(eventually([&] { return !velto.players.roster().contains(hung->busName()); }));

    // Velto carries on with the next player, and the user was told nothing.
    TestMediaPlayer next(QStringLiteral("next"), kPlaying);
    ASSERT_TRUE(eventually([&] { return velto.sees(next, kPlaying); }));
    velto.timer.start(false);
    velto.timer.pause();
    EXPECT_EQ(velto.callsTo(next), QStringList { QStringLiteral("Pause") });
    EXPECT_TRUE(velto.notifier.notifications.isEmpty());
}

} // namespace
