// What the popover decides beyond the timer engine, the companion detector, and
// the style's colours, springs and symbols.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

#include "PopoverFixture.h"
#include "platform/AppIds.h"
#include "platform/PreferenceValues.h"
#include "ui/Motion.h"
#include "ui/SideColors.h"
#include "ui/SymbolImageProvider.h"
#include "ui/SymbolTable.h"

namespace {

const QColor kCoral = QColor::fromRgb(0xFDA4AF);
const QColor kMint = QColor::fromRgb(0x6EE7B7);

TEST(PopoverModel, ColoursFollowTheStateWhenArmedAndTheTabWhenIdle)
{
    PopoverFixture f;
    EXPECT_EQ(f.popover.activeColor(), kCoral);
    f.popover.selectTab(false);
    EXPECT_EQ(f.popover.activeColor(), kMint);
    EXPECT_EQ(f.popover.tabColor(), kMint);

    f.timer.start(true);
    f.timer.skip(); // a focus interval armed although the Break tab shows
    EXPECT_EQ(f.popover.activeColor(), kCoral);
    EXPECT_EQ(f.popover.tabColor(), kMint);

    f.theme.setFocusColorId(QStringLiteral("slate"));
    EXPECT_EQ(f.popover.activeColor(), QColor::fromRgb(0xCBD5E1));
    f.theme.setFocusColorId(QStringLiteral("no-such-colour"));
    f.theme.setBreakColorId(QString());
    EXPECT_EQ(f.popover.activeColor(), kCoral);
    EXPECT_EQ(f.popover.tabColor(), kMint);
}

TEST(PopoverModel, IdleTextsShowTheSelectedTabsLength)
{
    PopoverFixture f;
    EXPECT_EQ(f.popover.statusText(), QStringLiteral("Ready"));
    EXPECT_EQ(f.popover.timeText(), QStringLiteral("25:00"));
    f.popover.selectTab(false);
    EXPECT_EQ(f.popover.statusText(), QStringLiteral("Relax"));
    EXPECT_EQ(f.popover.timeText(), QStringLiteral("05:00"));

    f.timer.start(true);
    f.tick(61);
    EXPECT_EQ(f.popover.statusText(), QStringLiteral("Short Break"));
    EXPECT_EQ(f.popover.timeText(), QStringLiteral("03:59"));
}

TEST(PopoverModel, TheStatsCardCountsTowardsTheDailyGoal)
{
    PopoverFixture f;
    f.timer.setWorkDuration(1);
    f.timer.start(false);
    f.tick(61);
    EXPECT_EQ(f.popover.dailySessionsText(), QStringLiteral("1"));
    EXPECT_EQ(f.popover.dailySessionsCaption(), QStringLiteral("session"));
    EXPECT_FALSE(f.popover.hasDailyGoal());

    QSignalSpy changed(&f.popover, &MiniTimerViewModel::dailySessionsChanged);
    f.goal.setOn(true);
    f.goal.setSessions(4);
    EXPECT_EQ(changed.size(), 2);
    EXPECT_TRUE(f.popover.hasDailyGoal());
    EXPECT_EQ(f.popover.dailySessionsText(), QStringLiteral("1 of 4 sessions"));
    EXPECT_EQ(f.popover.dailySessionsCaption(), QStringLiteral("daily goal"));
    EXPECT_DOUBLE_EQ(f.popover.dailyGoalProgress(), 0.25);
    f.timer.start(false);
    f.tick(61);
    EXPECT_EQ(f.popover.dailySessionsText(), QStringLiteral("2 of 4 sessions"));
    EXPECT_DOUBLE_EQ(f.popover.dailyGoalProgress(), 0.5);
}

TEST(PopoverModel, ATabSwitchLeavesANoteWhileUndoApplies)
{
    PopoverFixture f;
    EXPECT_TRUE(f.popover.discardNote().isEmpty());
    f.timer.start(false);
    f.popover.selectTab(false);
    EXPECT_EQ(f.popover.discardNote(), QStringLiteral("Focus discarded"));
    f.timer.start(true);
    f.popover.selectTab(true);
    EXPECT_EQ(f.popover.discardNote(), QStringLiteral("Break discarded"));
}

TEST(PopoverModel, AHiddenPopoverHearsStateChangesButNotTheCountdown)
{
    PopoverFixture f;
    f.timer.start(false);
    QSignalSpy display(&f.popover, &MiniTimerViewModel::displayChanged);
    f.tick(3);
    EXPECT_GE(display.size(), 3);

    f.popover.setLive(false);
    display.clear();
    f.tick(5);
    EXPECT_EQ(display.size(), 0);
    f.timer.pause(); // not a per-second change: a hidden view still follows it
    EXPECT_GE(display.size(), 1);

    display.clear();
    f.popover.setLive(true);
    EXPECT_EQ(display.size(), 1);
    EXPECT_EQ(f.popover.timeText(), QStringLiteral("24:52"));
    EXPECT_DOUBLE_EQ(f.popover.progress(), f.timer.progress());
}

TEST(PopoverModel, WholeMinutesSelectAChip)
{
    PopoverFixture f({ { QStringLiteral("workDuration"), 1530.0 } });
    EXPECT_EQ(f.popover.selectedPreset(), 25);
    PopoverFixture longest({ { QStringLiteral("workDuration"), 1e12 } });
    EXPECT_EQ(longest.popover.selectedPreset(), 0);
    EXPECT_EQ(longest.popover.timeText(), QStringLiteral("180:00"));
}

TEST(PopoverModel, PresetsBelongToTheSelectedTab)
{
    PopoverFixture f;
    EXPECT_EQ(f.popover.presetMinutes(), (QList<int> { 25, 50, 90 }));
    f.popover.choosePreset(50);
    EXPECT_EQ(f.timer.workDuration(), 3000.0);
    EXPECT_EQ(f.popover.selectedPreset(), 50);

    f.popover.selectTab(false);
    EXPECT_EQ(f.popover.presetMinutes(), (QList<int> { 5, 10, 15 }));
    EXPECT_EQ(f.popover.selectedPreset(), 5);
    f.popover.choosePreset(10);
    EXPECT_EQ(f.timer.shortBreakDuration(), 600.0);
    EXPECT_EQ(f.timer.longBreakDuration(), 1800.0);
    EXPECT_EQ(f.timer.workDuration(), 3000.0);
}

TEST(PopoverModel, TagPickerAppliesOnlyTagsThatStillExistAndAlwaysCloses)
{
    PopoverFixture f;
    f.tags.addTag(QStringLiteral("Reading"));
    f.tags.addTag(QStringLiteral("Chores"));
    f.popover.toggleTagPicker();
    f.popover.chooseTag(QStringLiteral("Reading"));
    EXPECT_FALSE(f.popover.tagPickerOpen());
    EXPECT_EQ(f.prefs.value(QStringLiteral("veltoCurrentSessionTag")).toString(), QStringLiteral("Reading"));
    EXPECT_TRUE(f.popover.showsTagChip());
    EXPECT_EQ(f.popover.currentTagColor(), QColor::fromRgb(0xFBCFE8));

    const QVariantList rows = f.popover.tagRows();
    ASSERT_EQ(rows.size(), 8);
    EXPECT_TRUE(rows[6].toMap().value(QStringLiteral("current")).toBool());
    EXPECT_FALSE(rows.first().toMap().value(QStringLiteral("current")).toBool());

    f.popover.toggleTagPicker();
    f.tags.deleteTag(QStringLiteral("Chores")); // gone while the picker was open
    f.popover.chooseTag(QStringLiteral("Chores"));
    EXPECT_FALSE(f.popover.tagPickerOpen());
    EXPECT_EQ(f.popover.currentTag(), QStringLiteral("Reading"));

    f.popover.selectTab(false);
    EXPECT_FALSE(f.popover.showsTagChip()); // breaks carry no tag
    f.popover.selectTab(true);
    f.popover.clearTag();
    EXPECT_FALSE(f.popover.showsTagChip());
    EXPECT_FALSE(f.prefs.contains(QStringLiteral("veltoCurrentSessionTag")));
}

TEST(PopoverModel, ColourPickerEditsOneSideAndWritesOnlyOnApply)
{
    PopoverFixture f({ { QStringLiteral("breakColorId"), QStringLiteral("nonsense") } });
    f.popover.openColorPicker(false);
    EXPECT_FALSE(f.popover.colorPicker()->isForFocus());
    EXPECT_EQ(f.popover.colorPicker()->previewColor(), kMint); // unknown id
    f.popover.colorPicker()->select(QStringLiteral("sky"));
    f.popover.closeColorPicker();
    EXPECT_EQ(f.theme.breakColorId(), QStringLiteral("nonsense"));
    EXPECT_EQ(f.prefs.writes(QStringLiteral("breakColorId")), 0);

    f.popover.openColorPicker(false);
    EXPECT_EQ(
        f.popover.colorPicker()->selectedColorId(), QStringLiteral("nonsense")); // starts from the stored id
    f.popover.colorPicker()->select(QStringLiteral("sky"));
    f.popover.applyColor();
    EXPECT_FALSE(f.popover.colorPickerOpen());
    EXPECT_EQ(f.prefs.value(QStringLiteral("breakColorId")).toString(), QStringLiteral("sky"));
    EXPECT_EQ(f.prefs.value(QStringLiteral("focusColorId")).toString(), QStringLiteral("coral"));
    EXPECT_EQ(f.popover.tabColor(), kCoral);
}

TEST(PopoverModel, ColourTipShowsUntilDismissedOnce)
{
    PopoverFixture fresh;
    EXPECT_TRUE(fresh.popover.colorTipShown());
    fresh.popover.dismissColorTip();
    EXPECT_FALSE(fresh.popover.colorTipShown());
    EXPECT_TRUE(PreferenceValues::boolean(fresh.prefs.value(QStringLiteral("colorTipDismissed"))));

    PopoverFixture later({ { QStringLiteral("colorTipDismissed"), true } });
    EXPECT_FALSE(later.popover.colorTipShown());
}

/// Calmix runs while its name is owned on the (private, per-test) session bus.
TEST(PopoverModel, SyncButtonTogglesWhileCalmixRunsAndOtherwiseOpensIntegrations)
{
    PopoverFixture f;
    QSignalSpy dashboard(&f.popover, &MiniTimerViewModel::dashboardRequested);
    EXPECT_FALSE(f.popover.calmixRunning());
    EXPECT_EQ(f.popover.syncToolTip(), QStringLiteral("Open Calmix to enable sync"));
    f.popover.syncPressed();
    ASSERT_EQ(dashboard.count(), 1);
    EXPECT_EQ(dashboard.first().first().toString(), QStringLiteral("integrations"));
    EXPECT_FALSE(f.timer.calmixSyncEnabled());

    QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.isConnected());
    ASSERT_TRUE(bus.registerService(QString::fromLatin1(AppIds::calmix)));
    f.detector.checkIfRunning();
    QTRY_VERIFY(f.popover.calmixRunning());
    EXPECT_EQ(f.popover.syncToolTip(), QStringLiteral("Calmix sync off"));
    f.popover.syncPressed();
    EXPECT_TRUE(f.timer.calmixSyncEnabled());
    EXPECT_EQ(f.popover.syncToolTip(), QStringLiteral("Calmix sync on"));
    EXPECT_EQ(dashboard.count(), 1);

    bus.unregisterService(QString::fromLatin1(AppIds::calmix));
    QSignalSpy polled(&f.detector, &IntegrationDetector::isCalmixRunningChanged);
    EXPECT_TRUE(
        polled.wait(IntegrationDetector::pollIntervalMs + 2000)); // the poll notices without being asked
    QTRY_VERIFY(!f.popover.calmixRunning());
    EXPECT_TRUE(f.timer.calmixSyncEnabled()); // the switch keeps its value
}

TEST(StyleColours, TintKeepsHueAndSetsBrightnessAndScaledSaturation)
{
    for (const QRgb rgb : { 0xFDA4AFu, 0x22D3D8u, 0xCBD5E1u, 0x808080u }) {
        const QColor base = QColor::fromRgb(rgb);
        for (const double b : { 0.85, 0.92 }) {
            const QColor tinted = SideColors::tint(base, b);
            EXPECT_NEAR(tinted.valueF(), b, 1e-3);
            EXPECT_NEAR(tinted.hsvSaturationF(), std::min(1.0, (1 - b) * base.hsvSaturationF() * 2.5), 1e-3);
            if (base.hsvSaturationF() > 0) {
                EXPECT_NEAR(tinted.hsvHueF(), base.hsvHueF(), 1e-3);
            }
        }
    }
}

TEST(StyleColours, SidesFallBackToCoralOnCreamAndMintOnMintLight)
{
    const SideColors::Side unknownFocus = SideColors::focusSide(QStringLiteral("Coral"));
    EXPECT_EQ(unknownFocus.blobs[0], kCoral);
    EXPECT_EQ(unknownFocus.blobs[1], SideColors::tint(kCoral, 0.85));
    EXPECT_EQ(unknownFocus.blobs[2], QColor::fromRgb(SideColors::cream));
    EXPECT_EQ(unknownFocus.base, QColor::fromRgb(SideColors::cream));

    const SideColors::Side unknownBreak = SideColors::breakSide(QString());
    EXPECT_EQ(unknownBreak.blobs[0], kMint);
    EXPECT_EQ(unknownBreak.base, QColor::fromRgb(SideColors::mintLight));

    const SideColors::Side lime = SideColors::breakSide(QStringLiteral("lime"));
    EXPECT_EQ(lime.blobs[0], QColor::fromRgb(0xA3E635));
    EXPECT_EQ(lime.base, SideColors::tint(QColor::fromRgb(0xA3E635), 0.92));
    EXPECT_EQ(lime.blobs[2], lime.base);
}

/// Steps a spring the way Qt Quick's SpringAnimation does and compares it with the
/// closed-form under-damped spring of the same response and damping fraction
/// (16 ms steps let the first frames lead the exact curve by up to a fifth).
TEST(StyleMotion, SpringParametersReproduceTheRequestedSpring)
{
    for (const auto& [response, zeta] :
        { std::pair { 0.3, 0.75 }, { 0.4, 0.7 }, { 0.5, 0.85 }, { 0.25, 0.825 } }) {
        const double spring = Motion::spring(response);
        const double damping = Motion::damping(response, zeta);
        double position = 0, velocity = 0;
        const double omega = 2 * M_PI / response;
        const double omegaD = omega * std::sqrt(1 - zeta * zeta);
        for (int step = 1; step <= 40; ++step) {
            velocity += spring * (1 - position) - damping * velocity;
            position += velocity * Motion::stepSeconds;
            const double t = step * Motion::stepSeconds;
            const double exact = 1
                - std::exp(-zeta * omega * t)
                    * (std::cos(omegaD * t) + zeta * omega / omegaD * std::sin(omegaD * t));
            EXPECT_NEAR(position, exact, 0.2) << response << " " << zeta << " at " << t;
        }
        EXPECT_NEAR(position, 1.0, 0.02) << "settled after 0.64 s";
    }
}

TEST(Symbols, EveryNameTheViewsUseIsInTheTableAndRenders)
{
    const SymbolTable& table = SymbolTable::embedded();
    QStringList files;
    QDirIterator qml(QStringLiteral(VELTO_QML_SOURCE_DIR), { QStringLiteral("*.qml") }, QDir::Files,
        QDirIterator::Subdirectories);
    while (qml.hasNext())
        files.append(qml.next());
    ASSERT_FALSE(files.isEmpty());
    // Symbol names are the only dotted lower-case literals the views use, besides these.
    static const QRegularExpression dotted(QStringLiteral("\"([a-z]+(\\.[a-z0-9]+)+)\""));
    QStringList used;
    for (const QString& name : files) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        auto it = dotted.globalMatch(QString::fromUtf8(file.readAll()));
        while (it.hasNext())
            used.append(it.next().captured(1));
    }
    used.removeDuplicates();
    EXPECT_GT(used.size(), 10);
    for (const QString& name : used)
        EXPECT_FALSE(table.svgPath(name).isEmpty()) << qPrintable(name);
    for (const QString& name : table.names()) {
        const QImage image = SymbolImageProvider::render(name, Qt::red, QSize(24, 24));
        ASSERT_FALSE(image.isNull()) << qPrintable(name);
        int painted = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                painted += qAlpha(image.pixel(x, y)) > 128 && qRed(image.pixel(x, y)) > 200
                    && qGreen(image.pixel(x, y)) < 50;
        EXPECT_GT(painted, 10) << qPrintable(name);
    }
    EXPECT_TRUE(
        SymbolImageProvider::render(QStringLiteral("no.such.symbol"), Qt::red, QSize(24, 24)).isNull());
}

} // namespace
