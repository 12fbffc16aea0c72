// Renders the dashboard's sections and the popover to PNG files for people to look
// at and to compare between builds, one scenario per run:
//   dashboard_screenshots <scenario> <folder>
// Scenarios: empty, rich, stress, popover, dialogs (About and the update results). With
// VELTO_SHOTS_PLAIN_BACKGROUND set the animated backgrounds are left out, so two runs give the same pixels.
// The stress scenario (100,000 records, some in the future, 500 tags with long, emoji and right-to-left
// names) also prints how long each step kept the window from drawing its next frame.
#include <QDBusConnection>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTextStream>
#include <QtQml/qqmlextensionplugin.h>
#include <cstdio>

#include "DashboardFixture.h"
#include "QuickTestSupport.h"
#include "i18n/Translations.h"
#include "platform/AppIds.h"
#include "services/UpdateCheckResult.h"
#include "ui/DialogWindows.h"
#include "ui/ViewEngine.h"

Q_IMPORT_QML_PLUGIN(VeltoPlugin)

namespace {

using namespace QuickTestSupport;

SessionRecord record(Instant end, double minutes, SessionType type = SessionType::focus,
    std::optional<QString> tag = std::nullopt)
{
    return { QUuid::createUuid(), end, minutes * 60, type, true, std::move(tag) };
}

/// Twelve weeks with every shade, a streak up to today, several tags and breaks.
std::vector<SessionRecord> richHistory(const DashboardFixture& f)
{
    const QStringList tags { "Deep Work", "Reading", "Coding", "Study", "Writing" };
    // Minutes per day, oldest first, cycling through the five shades; the last ten days are all active.
    const int shades[] = { 0, 15, 30, 60, 100, 0, 25, 50, 90, 0, 20, 45, 75, 120 };
    std::vector<SessionRecord> records;
    const int days = 12 * 7;
    for (int back = days; back >= 0; --back) {
        int minutes = shades[(days - back) % std::size(shades)];
        if (back < 10 && minutes == 0)
            minutes = 40;
        const Instant day = f.calendar.addDays(f.calendar.startOfDay(f.clock.now()), -back);
        Instant at = day.addSeconds(9 * 3600.0);
        int slot = 0;
        while (minutes > 0) {
            const int length = std::min(minutes, 25);
            const std::optional<QString> tag
                = slot % 3 == 2 ? std::nullopt : std::optional<QString>(tags[(back + slot) % tags.size()]);
            records.push_back(record(at, length, SessionType::focus, tag));
            records.push_back(record(at.addSeconds(300), 5, SessionType::shortBreak));
            at = at.addSeconds(1800);
            minutes -= length;
            ++slot;
        }
    }
    return records;
}

/// 100,000 records over three years, a few dated in the future, tagged from `tags`.
std::vector<SessionRecord> hugeHistory(const DashboardFixture& f, const QStringList& tags)
{
    QRandomGenerator random(13);
    std::vector<SessionRecord> records;
    records.reserve(100'000);
    const Instant now = f.clock.now();
    for (int i = 0; i < 100'000; ++i) {
        const double daysBack = (i % 97 == 0) ? -double(random.bounded(30)) : random.bounded(3.0 * 365);
        const Instant at = now.addSeconds(-daysBack * 86400.0 - random.bounded(86400));
        const int kind = int(random.bounded(10));
        if (kind < 7) {
            records.push_back(record(at, 5 + random.bounded(50), SessionType::focus,
                tags.isEmpty() ? std::nullopt
                               : std::optional<QString>(tags[int(random.bounded(int(tags.size())))])));
        } else {
            records.push_back(
                record(at, kind == 9 ? 15 : 5, kind == 9 ? SessionType::longBreak : SessionType::shortBreak));
        }
    }
    return records;
}

QStringList unusualTags()
{
    QStringList names;
    names << QString(200, QLatin1Char('W')) + QStringLiteral("x");
    names << QStringLiteral("Focus 🔥🎧✨ time 👩‍💻");
    names << QStringLiteral("קריאה ולמידה");
    names << QStringLiteral("مراجعة الدروس");
    names << QStringLiteral("<b>not bold</b> & \"quoted\"");
    for (int i = names.size(); i < 500 - 6; ++i)
        names << QStringLiteral("Project %1").arg(i, 3, 10, QLatin1Char('0'));
    return names;
}

class Shooter {
public:
    Shooter(DashboardFixture& f, QString folder)
        : m_f(f)
        , m_folder(std::move(folder))
    { }

    bool open(const QString& section, bool animated = false)
    {
        QElapsedTimer clock;
        clock.start();
        if (!load(QStringLiteral("DashboardWindow.qml"), { { QStringLiteral("initialSection"), section } }))
            return false;
        QObject* view = m_window->property("view").value<QObject*>();
        if (view)
            view->setProperty("backgroundAnimated", animated);
        m_window->show();
        const bool exposed = QTest::qWaitForWindowExposed(m_window);
        report(QStringLiteral("open on %1").arg(section), clock.elapsed());
        return exposed;
    }
    bool openPopover()
    {
        if (!load(QStringLiteral("PopoverWindow.qml")))
            return false;
        for (QQuickItem* child : m_window->contentItem()->childItems())
            child->setProperty("backgroundAnimated", false);
        m_window->show();
        return QTest::qWaitForWindowExposed(m_window);
    }
    bool load(const QString& root, const QVariantMap& properties = {})
    {
        m_engine = std::make_unique<QQmlApplicationEngine>();
        QmlPublishing::prepare(*m_engine);
        m_engine->setInitialProperties(properties);
        m_engine->load(QUrl(QStringLiteral("qrc:/Velto/qml/") + root));
        if (m_engine->rootObjects().size() != 1)
            return false;
        m_window = qobject_cast<QQuickWindow*>(m_engine->rootObjects().first());
        if (m_window && qEnvironmentVariableIsSet("VELTO_SHOTS_PLAIN_BACKGROUND"))
            hideBackgrounds(m_window->contentItem());
        return m_window != nullptr;
    }
    /// The backgrounds are drawn from the time of day; without them two runs match pixel for pixel.
    static void hideBackgrounds(QQuickItem* item)
    {
        if (item->inherits("AnimatedGradientView"))
            item->setVisible(false);
        for (QQuickItem* child : item->childItems())
            hideBackgrounds(child);
    }
    QQuickWindow* window() const { return m_window; }
    QQuickItem* item(const QString& name) const { return findItem(m_window->contentItem(), name); }

    void settle(int ms = 450) { QTest::qWait(ms); }
    void scrollTo(double fraction)
    {
        QQuickItem* scroller = item(QStringLiteral("detailScroller"));
        if (!scroller)
            return;
        const double range = scroller->property("contentHeight").toDouble() - scroller->height();
        scroller->setProperty("contentY", std::max(0.0, range * fraction));
        settle(100);
    }
    /// Scrolls so that the named item is near the top.
    void scrollToItem(const QString& name)
    {
        QQuickItem* target = item(name);
        QQuickItem* scroller = item(QStringLiteral("detailScroller"));
        if (!target || !scroller)
            return;
        auto* content = scroller->property("contentItem").value<QQuickItem*>();
        const double top = target->mapToItem(content, QPointF(0, 0)).y();
        const double range = scroller->property("contentHeight").toDouble() - scroller->height();
        scroller->setProperty("contentY", std::clamp(top - 16, 0.0, std::max(0.0, range)));
        settle(150);
    }
    /// Scrolls so that row `index` of the named long list is near the top.
    void scrollToRow(const QString& list, int index)
    {
        QQuickItem* lazy = item(list);
        QQuickItem* scroller = item(QStringLiteral("detailScroller"));
        if (!lazy || !scroller)
            return;
        auto* content = scroller->property("contentItem").value<QQuickItem*>();
        const double top = lazy->mapToItem(content, QPointF(0, 0)).y();
        const double step = lazy->property("rowHeight").toDouble() + lazy->property("spacing").toDouble();
        const double range = scroller->property("contentHeight").toDouble() - scroller->height();
        scroller->setProperty("contentY", std::clamp(top + index * step - 20, 0.0, std::max(0.0, range)));
        settle(150);
    }
    void shoot(const QString& name)
    {
        const QImage image = m_window->grabWindow();
        const QString path = QDir(m_folder).filePath(name + QStringLiteral(".png"));
        if (!image.save(path))
            std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        else
            std::printf("wrote %s\n", qPrintable(path));
    }
    /// How long `action` and the frame after it took: the time the window could not draw.
    void timed(const QString& what, const std::function<void()>& action)
    {
        QElapsedTimer clock;
        clock.start();
        action();
        // The frame that shows the change.
        m_window->update();
        QSignalSpy swapped(m_window, &QQuickWindow::frameSwapped);
        swapped.wait(2000);
        report(what, clock.elapsed());
    }
    static void report(const QString& what, qint64 ms)
    {
        std::printf("time: %-48s %6lld ms\n", qPrintable(what), qlonglong(ms));
    }

private:
    DashboardFixture& m_f;
    QString m_folder;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QQuickWindow* m_window = nullptr;
};

bool click(Shooter& s, const QString& name)
{
    const bool clicked = QuickTestSupport::click(s.window(), name);
    if (!clicked)
        std::fprintf(stderr, "no visible %s\n", qPrintable(name));
    return clicked;
}

void ownCalmixName(bool own)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (own)
        bus.registerService(QString::fromLatin1(AppIds::calmix));
    else
        bus.unregisterService(QString::fromLatin1(AppIds::calmix));
}

/// "About Velto" and the three answers of an update check, each in its window.
int dialogScenario(const QString& folder)
{
    ViewEngine views;
    DialogWindows dialogs(views, [](const QUrl&) { return true; });
    const auto shoot = [&folder](QQuickWindow* window, const QString& name) {
        if (!window || !QTest::qWaitForWindowExposed(window))
            return false;
        QTest::qWait(200);
        return window->grabWindow().save(QDir(folder).filePath(name + QStringLiteral(".png")));
    };
    dialogs.showAbout();
    bool ok = shoot(dialogs.aboutWindow(), QStringLiteral("dialog-about"));
    const QString current = QStringLiteral("1.0.0");
    const std::pair<UpdateCheckResult, const char*> results[] = {
        { UpdateCheckResult::updateAvailable(
              current, QStringLiteral("1.1.0"), QUrl(QStringLiteral("https://murv.studio"))),
            "dialog-update-available" },
        { UpdateCheckResult::upToDate(current, current), "dialog-update-current" },
        { UpdateCheckResult::failed(UpdateCheckResult::Failure::TimedOut, current), "dialog-update-failed" },
    };
    for (const auto& [result, name] : results) {
        dialogs.showUpdateResult(result);
        ok = shoot(dialogs.updateWindow(), QString::fromLatin1(name)) && ok;
    }
    return ok && views.errors().isEmpty() ? 0 : 1;
}

int emptyScenario(DashboardFixture& f, Shooter& s)
{
    if (!s.open(QStringLiteral("insights")))
        return 1;
    s.settle();
    s.shoot(QStringLiteral("insights-empty"));
    s.scrollTo(1);
    s.shoot(QStringLiteral("insights-empty-bottom"));
    click(s, QStringLiteral("section:tags"));
    s.settle();
    s.shoot(QStringLiteral("tags-insights-empty"));
    click(s, QStringLiteral("section:integrations"));
    s.settle();
    s.shoot(QStringLiteral("integrations-not-running"));
    click(s, QStringLiteral("section:settings"));
    s.settle();
    s.shoot(QStringLiteral("settings"));
    s.scrollTo(1);
    s.shoot(QStringLiteral("settings-bottom"));
    click(s, QStringLiteral("menuButton"));
    s.settle(100);
    s.shoot(QStringLiteral("menu"));
    Q_UNUSED(f);
    return 0;
}

int richScenario(DashboardFixture& f, Shooter& s)
{
    f.writeHistory(richHistory(f));
    f.tags.addTag(QStringLiteral("Side Project"));
    f.goal.setOn(true); // Today on Insights shows the goal
    f.goal.setSessions(6);
    if (!s.open(QStringLiteral("insights")))
        return 1;
    s.settle();
    s.shoot(QStringLiteral("insights-rich-top"));
    s.scrollTo(0.55);
    // Rest the pointer on the first day of the last column for its tooltip.
    if (QQuickItem* cell = s.item(QStringLiteral("heatCell:11"))) {
        QTest::mouseMove(s.window(), centreOf(cell));
        s.settle(900);
    }
    s.shoot(QStringLiteral("insights-rich-activity"));
    s.scrollTo(1);
    s.shoot(QStringLiteral("insights-rich-bottom"));

    click(s, QStringLiteral("section:tags"));
    s.settle();
    s.shoot(QStringLiteral("tags-insights"));
    s.scrollTo(1);
    s.shoot(QStringLiteral("tags-insights-legend"));
    s.scrollTo(0);
    click(s, QStringLiteral("range:7d"));
    s.settle();
    s.shoot(QStringLiteral("tags-insights-7d"));

    click(s, QStringLiteral("panel:manage"));
    s.settle();
    s.shoot(QStringLiteral("tags-manage"));
    s.scrollTo(1);
    click(s, QStringLiteral("rename:Side Project"));
    s.settle(200);
    s.shoot(QStringLiteral("tags-manage-rename"));
    QTest::keyClick(s.window(), Qt::Key_Escape);
    click(s, QStringLiteral("delete:Side Project"));
    s.settle(200);
    s.shoot(QStringLiteral("tags-manage-delete-dialog"));
    click(s, QStringLiteral("deleteTagDialog:cancel"));
    click(s, QStringLiteral("addTagButton"));
    typeText(s.window(), QStringLiteral("Garden"));
    s.settle(200);
    s.shoot(QStringLiteral("tags-manage-add-dialog"));
    click(s, QStringLiteral("addTagDialog:cancel"));

    click(s, QStringLiteral("section:integrations"));
    s.settle();
    s.shoot(QStringLiteral("integrations-not-running-rich"));
    ownCalmixName(true);
    f.detector.checkIfRunning();
    if (!QTest::qWaitFor([&] { return f.detector.isCalmixRunning(); }, 3000))
        std::fprintf(stderr, "Calmix not seen running\n");
    s.settle();
    s.shoot(QStringLiteral("integrations-running"));
    click(s, QStringLiteral("syncSwitch"));
    s.settle(600);
    s.shoot(QStringLiteral("integrations-connected"));
    ownCalmixName(false);

    // The history exported from Insights, and an export that could not be written.
    click(s, QStringLiteral("section:insights"));
    s.settle();
    s.scrollTo(1);
    f.exportPath = f.dir.filePath(QStringLiteral("history.csv"));
    click(s, QStringLiteral("exportButton"));
    s.settle(200);
    s.shoot(QStringLiteral("insights-exported"));
    f.exportPath = f.dir.filePath(QStringLiteral("missing/history.csv"));
    click(s, QStringLiteral("exportButton"));
    s.settle(200);
    s.shoot(QStringLiteral("insights-export-failed"));

    // The cycle with a long break of its own, the daily goal, and commands with test results.
    click(s, QStringLiteral("section:settings"));
    s.settle();
    f.cycleSettings.enterIntervals(QStringLiteral("3"));
    f.cycleSettings.enterLongBreakMinutes(QStringLiteral("20"));
    s.scrollToItem(QStringLiteral("settingsCard:Cycle"));
    s.shoot(QStringLiteral("settings-cycle-goal"));
    f.commands.setCommand(0, QStringLiteral("notify-send \"Focus\" \"$VELTO_STATE\""));
    f.commands.setCommand(1, QStringLiteral("cat >> ~/focus-log.jsonl"));
    f.commands.setCommand(4, QStringLiteral("no-such-command --pause"));
    f.commands.test(1, QStringLiteral("true"));
    f.commands.test(4, QStringLiteral("no-such-command --pause"));
    if (!QTest::qWaitFor([&] { return f.hooks.isIdle(); }, 5000))
        std::fprintf(stderr, "the test commands did not finish\n");
    s.scrollToItem(QStringLiteral("settingsCard:Commands"));
    s.shoot(QStringLiteral("settings-commands"));
    s.scrollToItem(QStringLiteral("settingsCard:Focus protection"));
    s.shoot(QStringLiteral("settings-focus-protection"));
    return 0;
}

int stressScenario(DashboardFixture& f, Shooter& s)
{
    const QStringList names = unusualTags();
    QElapsedTimer clock;
    clock.start();
    for (const QString& name : names)
        f.tags.addTag(name);
    Shooter::report(QStringLiteral("adding 494 tags (no window)"), clock.elapsed());
    f.writeHistory(
        hugeHistory(f, names + QStringList { QStringLiteral("Deep Work"), QStringLiteral("Reading") }));

    if (!s.open(QStringLiteral("settings"), true))
        return 1;
    s.timed(QStringLiteral("read the history (100,000 records)"), [&] { f.store(); });
    s.timed(QStringLiteral("select Insights"), [&] { click(s, QStringLiteral("section:insights")); });
    s.settle();
    s.shoot(QStringLiteral("stress-insights"));
    s.scrollTo(1);
    s.shoot(QStringLiteral("stress-insights-bottom"));
    s.timed(QStringLiteral("save the history alone"), [&] { f.store().saveSessions(); });
    s.timed(QStringLiteral("record a session on Insights (save included)"), [&] {
        f.store().addRecord(record(f.clock.now(), 25, SessionType::focus, QStringLiteral("Deep Work")));
    });
    s.timed(
        QStringLiteral("select Tags (496 legend rows)"), [&] { click(s, QStringLiteral("section:tags")); });
    s.settle();
    s.shoot(QStringLiteral("stress-tags-insights"));
    const auto& rows = f.models.tagInsights().tagRows();
    // The long, emoji and right-to-left names in the legend.
    for (int i = 0; i < 3; ++i) {
        const auto found = std::find_if(
            rows.begin(), rows.end(), [&](const auto& row) { return row.stats.tag == names[i]; });
        if (found != rows.end()) {
            s.scrollToRow(QStringLiteral("tagLegend"), int(found - rows.begin()));
            s.shoot(QStringLiteral("stress-tags-legend-%1").arg(i));
        }
    }
    s.timed(QStringLiteral("record a session on Tags (save included)"), [&] {
        f.store().addRecord(record(f.clock.now(), 25, SessionType::focus, QStringLiteral("Reading")));
    });
    s.scrollTo(0);
    s.timed(QStringLiteral("range 7d"), [&] { click(s, QStringLiteral("range:7d")); });
    s.timed(QStringLiteral("range 90d"), [&] { click(s, QStringLiteral("range:90d")); });
    s.timed(QStringLiteral("range All"), [&] { click(s, QStringLiteral("range:All")); });
    s.timed(QStringLiteral("Manage panel (500 rows)"), [&] { click(s, QStringLiteral("panel:manage")); });
    s.settle();
    s.scrollToRow(QStringLiteral("tagList"), 5);
    s.shoot(QStringLiteral("stress-manage-unusual-names"));
    s.scrollTo(0.5);
    s.shoot(QStringLiteral("stress-manage-middle"));
    s.timed(QStringLiteral("scroll to the end of 500 rows"), [&] { s.scrollTo(1); });
    s.shoot(QStringLiteral("stress-manage-end"));
    s.timed(QStringLiteral("add a tag with 500 listed"), [&] { f.tags.addTag(QStringLiteral("One more")); });
    s.timed(QStringLiteral("delete a tag with 500 listed"),
        [&] { f.tags.deleteTag(QStringLiteral("Project 100")); });
    s.timed(QStringLiteral("back to Insights"), [&] { click(s, QStringLiteral("section:insights")); });
    s.timed(QStringLiteral("Tags again"), [&] { click(s, QStringLiteral("section:tags")); });
    return 0;
}

/// The popover's states, mostly driven through its models so the shots do not depend on
/// where controls sit; the pointer rests on the sync button for its tooltip.
int popoverScenario(DashboardFixture& f, Shooter& s)
{
    if (!s.openPopover())
        return 1;
    s.settle();
    s.shoot(QStringLiteral("popover-color-tip"));
    f.popover.dismissColorTip();
    s.settle();
    s.shoot(QStringLiteral("popover-idle-focus"));
    f.popover.selectTab(false);
    s.settle();
    s.shoot(QStringLiteral("popover-idle-break"));
    f.popover.openColorPicker(false);
    s.settle();
    s.shoot(QStringLiteral("popover-color-picker"));
    f.popover.closeColorPicker();
    f.popover.selectTab(true);
    f.popover.toggleTagPicker();
    s.settle(700);
    s.shoot(QStringLiteral("popover-tag-picker"));
    f.popover.chooseTag(QStringLiteral("Deep Work"));
    s.settle(700);
    s.shoot(QStringLiteral("popover-tag-chosen"));
    if (QQuickItem* sync = s.item(QStringLiteral("syncButton"))) {
        QTest::mouseMove(s.window(), centreOf(sync));
        s.settle(1000);
        s.shoot(QStringLiteral("popover-sync-tooltip"));
        QTest::mouseMove(s.window(), QPoint(1, 300));
    }
    f.timer.playPause();
    f.tick(83);
    s.settle(900);
    s.shoot(QStringLiteral("popover-running"));
    // Back after twelve minutes behind a locked screen: paused at the lock, with Resume.
    emit f.screenLock.locked(f.clock.now());
    f.clock.advance(std::chrono::minutes(12));
    emit f.screenLock.unlocked(f.clock.now(), 720.0);
    s.settle(400);
    s.shoot(QStringLiteral("popover-screen-was-locked"));
    f.protection.resume();
    f.timer.pause();
    s.settle();
    s.shoot(QStringLiteral("popover-paused"));
    f.timer.skip();
    s.settle();
    s.shoot(QStringLiteral("popover-short-break"));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", "Europe/Berlin");
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QStandardPaths::setTestModeEnabled(true);
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    Translations::installForUser(); // LANGUAGE=de shoots the German dashboard
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(
            stderr, "usage: %s empty|rich|stress|popover|dialogs <folder>\n", qPrintable(args.value(0)));
        return 2;
    }
    QDir().mkpath(args[2]);
    if (args[1] == QLatin1String("dialogs"))
        return dialogScenario(args[2]);
    DashboardFixture fixture;
    QmlPublishing::publish(fixture.sharedObjects());
    Shooter shooter(fixture, args[2]);
    if (args[1] == QLatin1String("empty"))
        return emptyScenario(fixture, shooter);
    if (args[1] == QLatin1String("rich"))
        return richScenario(fixture, shooter);
    if (args[1] == QLatin1String("stress"))
        return stressScenario(fixture, shooter);
    if (args[1] == QLatin1String("popover"))
        return popoverScenario(fixture, shooter);
    std::fprintf(stderr, "unknown scenario %s\n", qPrintable(args[1]));
    return 2;
}
