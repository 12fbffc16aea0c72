// Do Not Disturb against real notification servers and settings stores where they run
// headless (dunst under Xvfb, GSettings' keyfile backend) and the stand-in otherwise.
// Runs inside its own dbus-run-session.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

#include "DesktopStandIn.h"
#include "MemoryPreferences.h"
#include "XvfbServer.h"
#include "platform/DunstPauseHold.h"
#include "platform/FreedesktopNotifier.h"
#include "platform/GnomeBannerHold.h"
#include "platform/JsonFilePreferences.h"
#include "platform/LinuxDoNotDisturb.h"

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString dunstPaused()
{
    return run(QStringLiteral("dunstctl"), { QStringLiteral("is-paused") });
}

QString showBanners()
{
    return run(QStringLiteral("gsettings"),
        { QStringLiteral("get"), QStringLiteral("org.gnome.desktop.notifications"),
            QStringLiteral("show-banners") });
}

void userSetsShowBanners(bool on)
{
    run(QStringLiteral("gsettings"),
        { QStringLiteral("set"), QStringLiteral("org.gnome.desktop.notifications"),
            QStringLiteral("show-banners"), on ? QStringLiteral("true") : QStringLiteral("false") });
}

/// The preferences as the file holds them now.
QVariant storedPreference(const QString& file, const QString& key)
{
    return JsonFilePreferences(file).value(key);
}

bool serverPresent()
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(
        QStringLiteral("org.freedesktop.Notifications"));
}

/// The dnd-holder program: holds notifications back as Velto does during focus.
class Holder {
public:
    explicit Holder(const QString& preferencesFile)
    {
        m_process.start(QStringLiteral(VELTO_DND_HOLDER), { preferencesFile });
        EXPECT_TRUE(m_process.waitForReadyRead(10000));
        EXPECT_EQ(m_process.readAllStandardOutput().trimmed(), "holding");
    }
    /// Starts as Velto does after a crash, in a fresh process, and returns once it has released
    /// what the crashed run left held.
    static void startAfterCrash(const QString& preferencesFile)
    {
        QProcess process;
        process.start(QStringLiteral(VELTO_DND_HOLDER), { preferencesFile, QStringLiteral("release") });
        EXPECT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.readAllStandardOutput().trimmed(), "released");
    }
    ~Holder()
    {
        if (m_process.state() != QProcess::NotRunning)
            stop(SIGKILL);
    }
    /// Ends it as the session (SIGTERM) or the out-of-memory killer (SIGKILL) would.
    void stop(int signal)
    {
        ::kill(pid_t(m_process.processId()), signal);
        EXPECT_TRUE(m_process.waitForFinished(10000));
    }

private:
    QProcess m_process;
};

TEST(DoNotDisturb, InhibitsWhereTheServerCanAndReleasesBeforeVeltosOwnNotification)
{
    DesktopStandIn plasma(
        { QStringLiteral("--notifications"), QStringLiteral("Plasma"), QStringLiteral("--inhibit") });
    MemoryPreferences preferences;
    LinuxDoNotDisturb doNotDisturb(preferences);
    FreedesktopNotifier notifier;
    QObject context;
    ASSERT_TRUE(waitFor([&] { return doNotDisturb.available(); }));
    EXPECT_TRUE(doNotDisturb.unavailableReason().isEmpty());

    doNotDisturb.hold();
    doNotDisturb.hold();
    ASSERT_TRUE(waitFor([&] { return doNotDisturb.holding(); }));
    doNotDisturb.release();
    bool notified = false;
    doNotDisturb.whenReleased(&context, [&] {
        notifier.notify(QStringLiteral("Session Complete!"), QStringLiteral("Great work! Time for a break."));
        notified = true;
    });
    EXPECT_FALSE(notified) << "the notification went out before the release was confirmed";
    ASSERT_TRUE(waitFor([&] { return plasma.calls().size() == 3; }));
    EXPECT_EQ(plasma.calls(),
        QStringList({ QStringLiteral("Inhibit studio.murv.Velto Focusing"), QStringLiteral("UnInhibit 1"),
            QStringLiteral("Notify Session Complete! ") }));
    EXPECT_FALSE(doNotDisturb.holding());

    // Released already: a second release asks nothing and the action runs at once.
    doNotDisturb.release();
    bool ranAtOnce = false;
    doNotDisturb.whenReleased(&context, [&] { ranAtOnce = true; });
    EXPECT_TRUE(ranAtOnce);
}

TEST(DoNotDisturb, AServerThatRefusesOrNeverAnswersCostsALogLineOnly)
{
    DesktopStandIn plasma(
        { QStringLiteral("--notifications"), QStringLiteral("Plasma"), QStringLiteral("--inhibit") });
    MemoryPreferences preferences;
    LinuxDoNotDisturb doNotDisturb(preferences);
    QObject context;
    ASSERT_TRUE(waitFor([&] { return doNotDisturb.available(); }));

    plasma.control(QStringLiteral("SetInhibitAnswer"), { QStringLiteral("error") });
    doNotDisturb.hold();
    ASSERT_TRUE(waitFor([&] { return plasma.calls().size() == 1; }));
    waitFor([] { return false; }, 200);
    EXPECT_FALSE(doNotDisturb.holding());
    doNotDisturb.hold(); // refused once: not asked again until the next focus
    doNotDisturb.release();
    bool released = false;
    doNotDisturb.whenReleased(&context, [&] { released = true; });
    EXPECT_TRUE(waitFor([&] { return released; }, 1000));
    EXPECT_EQ(plasma.calls().size(), 1);

    plasma.control(QStringLiteral("SetInhibitAnswer"), { QStringLiteral("silent") });
    QElapsedTimer clock;
    clock.start();
    doNotDisturb.hold();
    doNotDisturb.release();
    released = false;
    doNotDisturb.whenReleased(&context, [&] { released = true; });
    EXPECT_LT(clock.elapsed(), 1000) << "hold and release do not wait for the answer";
    EXPECT_FALSE(released);
    // The unanswered call gives up after its timeout and whatever waited on it goes ahead.
    EXPECT_TRUE(waitFor([&] { return released; }, 6000));
    EXPECT_FALSE(doNotDisturb.holding());
}

TEST(DoNotDisturb, SaysWhyWhereNotificationsCannotBeHeldBack)
{
    MemoryPreferences preferences;
    ASSERT_FALSE(serverPresent());
    {
        LinuxDoNotDisturb doNotDisturb(preferences);
        ASSERT_TRUE(waitFor([&] { return !doNotDisturb.unavailableReason().isEmpty(); }));
        EXPECT_EQ(doNotDisturb.unavailableReason(), QStringLiteral("No notification server is running."));
    }
    DesktopStandIn xfce({ QStringLiteral("--notifications"), QStringLiteral("Xfce Notify Daemon") });
    LinuxDoNotDisturb doNotDisturb(preferences);
    QObject context;
    ASSERT_TRUE(waitFor([&] { return !doNotDisturb.unavailableReason().isEmpty(); }));
    EXPECT_FALSE(doNotDisturb.available());
    EXPECT_EQ(doNotDisturb.unavailableReason(),
        QStringLiteral("Xfce Notify Daemon offers no way to hold notifications back."));
    doNotDisturb.hold();
    bool released = false;
    doNotDisturb.whenReleased(&context, [&] { released = true; });
    EXPECT_TRUE(released);
}

TEST(DoNotDisturb, PausesDunstUntilReleaseQuitOrTheNextStartAfterACrash)
{
    XvfbServer x;
    ASSERT_FALSE(x.display().isEmpty()) << "Xvfb did not start";
    QTemporaryDir home;
    QFile emptyConfig(home.filePath(QStringLiteral("dunstrc")));
    ASSERT_TRUE(emptyConfig.open(QIODevice::WriteOnly));
    emptyConfig.close();
    QProcess dunst;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), x.display());
    dunst.setProcessEnvironment(environment);
    dunst.start(QStringLiteral("dunst"), { QStringLiteral("-config"), emptyConfig.fileName() });
    ASSERT_TRUE(waitFor(serverPresent, 10000));

    MemoryPreferences preferences;
    {
        LinuxDoNotDisturb doNotDisturb(preferences);
        doNotDisturb.hold();
        ASSERT_TRUE(waitFor([&] { return doNotDisturb.holding(); }));
        EXPECT_EQ(dunstPaused(), QStringLiteral("true"));
        EXPECT_TRUE(preferences.contains(DunstPauseHold::pausedKey));
        doNotDisturb.release();
        ASSERT_TRUE(waitFor([&] { return !doNotDisturb.holding(); }));
        EXPECT_EQ(dunstPaused(), QStringLiteral("false"));
        EXPECT_FALSE(preferences.contains(DunstPauseHold::pausedKey));

        // Paused by the user beforehand: left paused at release.
        run(QStringLiteral("dunstctl"), { QStringLiteral("set-paused"), QStringLiteral("true") });
        doNotDisturb.hold();
        ASSERT_TRUE(waitFor([&] { return doNotDisturb.holding(); }));
        doNotDisturb.release();
        ASSERT_TRUE(waitFor([&] { return !doNotDisturb.holding(); }));
        EXPECT_EQ(dunstPaused(), QStringLiteral("true"));
        run(QStringLiteral("dunstctl"), { QStringLiteral("set-paused"), QStringLiteral("false") });
    }

    const QString preferencesFile = home.filePath(QStringLiteral("preferences.json"));
    {
        Holder holder(preferencesFile);
        EXPECT_EQ(dunstPaused(), QStringLiteral("true"));
        holder.stop(SIGTERM);
        EXPECT_EQ(dunstPaused(), QStringLiteral("false"));
    }
    {
        Holder holder(preferencesFile);
        holder.stop(SIGKILL);
        EXPECT_EQ(dunstPaused(), QStringLiteral("true"));
    }
    Holder::startAfterCrash(preferencesFile);
    EXPECT_EQ(dunstPaused(), QStringLiteral("false"));
    EXPECT_FALSE(storedPreference(preferencesFile, DunstPauseHold::pausedKey).isValid());

    dunst.terminate();
    dunst.waitForFinished(5000);
    waitFor([] { return !serverPresent(); });
}

/// GNOME's setting in the keyfile backend under a throw-away configuration folder.
class GnomeBanners : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Before GSettings is first used in this process: it reads both once.
        static QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        qputenv("GSETTINGS_BACKEND", "keyfile");
    }
    void SetUp() override
    {
        userSetsShowBanners(true);
        ASSERT_EQ(showBanners(), QStringLiteral("true"))
            << "the schema from gsettings-desktop-schemas is missing";
    }

    DesktopStandIn m_gnomeShell { { QStringLiteral("--notifications"), QStringLiteral("gnome-shell") } };
};

TEST_F(GnomeBanners, TurnsBannersOffAndPutsThemBackAtReleaseQuitAndTheNextStart)
{
    MemoryPreferences preferences;
    {
        LinuxDoNotDisturb doNotDisturb(preferences);
        doNotDisturb.hold();
        ASSERT_TRUE(waitFor([&] { return doNotDisturb.holding(); }));
        EXPECT_EQ(showBanners(), QStringLiteral("false"));
        EXPECT_EQ(preferences.value(GnomeBannerHold::savedBannersKey), QVariant(true));
        doNotDisturb.release();
        ASSERT_TRUE(waitFor([&] { return !doNotDisturb.holding(); }));
        EXPECT_EQ(showBanners(), QStringLiteral("true"));
        EXPECT_FALSE(preferences.contains(GnomeBannerHold::savedBannersKey));
    }

    QTemporaryDir home;
    const QString preferencesFile = home.filePath(QStringLiteral("preferences.json"));
    {
        Holder holder(preferencesFile);
        EXPECT_EQ(showBanners(), QStringLiteral("false"));
        holder.stop(SIGTERM);
        EXPECT_EQ(showBanners(), QStringLiteral("true"));
    }
    {
        Holder holder(preferencesFile);
        holder.stop(SIGKILL);
        EXPECT_EQ(showBanners(), QStringLiteral("false"));
    }
    Holder::startAfterCrash(preferencesFile);
    EXPECT_EQ(showBanners(), QStringLiteral("true"));
    EXPECT_FALSE(storedPreference(preferencesFile, GnomeBannerHold::savedBannersKey).isValid());
}

// In a process of its own: this process's GSettings may not have caught up with the
// other processes' writes yet.
TEST_F(GnomeBanners, LeavesBannersToTheUserOnceTheyChangedThemDuringFocus)
{
    QTemporaryDir home;
    const QString preferencesFile = home.filePath(QStringLiteral("preferences.json"));
    Holder holder(preferencesFile);
    EXPECT_EQ(showBanners(), QStringLiteral("false"));

    userSetsShowBanners(true);
    ASSERT_TRUE(waitFor(
        [&] { return !storedPreference(preferencesFile, GnomeBannerHold::savedBannersKey).isValid(); }));
    userSetsShowBanners(false); // their later choice
    holder.stop(SIGTERM);
    EXPECT_EQ(showBanners(), QStringLiteral("false"));
}

} // namespace
