// Velto started under a user's language settings, as main() starts it: ctest runs this
// once with LANGUAGE=de (German texts and dates), once with LANGUAGE=ja (no translation:
// English texts, Japanese dates and weekday initials) and once in the C locale (English
// texts, English weekday initials), each time the one case written for that environment.
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStandardPaths>
#include <QtQml/qqmlextensionplugin.h>
#include <cstdlib>
#include <gtest/gtest.h>

#include "PopoverFixture.h"
#include "i18n/Translations.h"
#include "insights/DayWatcher.h"
#include "insights/HeatmapModel.h"
#include "ui/DialogWindows.h"
#include "ui/QmlPublishing.h"
#include "ui/ViewEngine.h"

Q_IMPORT_QML_PLUGIN(VeltoPlugin)

namespace {

/// Every text the item and its children show.
void collectTexts(QQuickItem* item, QStringList& texts)
{
    const QVariant text = item->property("text");
    if (text.typeId() == QMetaType::QString && !text.toString().isEmpty())
        texts.append(text.toString());
    for (QQuickItem* child : item->childItems())
        collectTexts(child, texts);
}

/// One session done today, so the popover's statistics meet a count.
struct LanguageRun : PopoverFixture {
    LanguageRun()
        : PopoverFixture({ { QStringLiteral("dailySessions"), QVariant::fromValue<qint64>(1) },
            { QStringLiteral("totalFocusTimeToday"), 1500.0 },
            { QStringLiteral("lastSessionDate"),
                localTime(QTimeZone("Europe/Berlin"), 2026, 12, 9, 9, 0).toDateTime() } })
    { }

    /// The texts of the popover as it first shows.
    QStringList popoverTexts()
    {
        QmlPublishing::publish(popoverObjects());
        engine = std::make_unique<QQmlApplicationEngine>();
        QmlPublishing::prepare(*engine);
        engine->load(QUrl(QStringLiteral("qrc:/Velto/qml/PopoverWindow.qml")));
        auto* window = engine->rootObjects().isEmpty()
            ? nullptr
            : qobject_cast<QQuickWindow*>(engine->rootObjects().first());
        QStringList texts;
        if (!window)
            return texts;
        window->show();
        collectTexts(window->contentItem(), texts);
        return texts;
    }

    /// The heat map's weekday labels and the tooltip of Saturday 2026-12-12, in the user's calendar.
    std::pair<QStringList, QString> heatmap()
    {
        Calendar userCalendar = Calendar::system();
        DayWatcher days(clock, userCalendar);
        HeatmapModel model(
            { [this]() -> SessionStore& { return store(); }, theme, tags, clock, userCalendar, days, goal });
        return { model.rowLabels(),
            model.data(model.index(6 * 12 + 11), HeatmapModel::TooltipRole).toString() };
    }

    std::unique_ptr<QQmlApplicationEngine> engine;
};

TEST(German, TextsPluralsAndDatesAreGerman)
{
    LanguageRun run;
    const QStringList texts = run.popoverTexts();
    for (const char* text : { "Fokus", "Pause", "Bereit", "Einheit", "fokussiert", "25 min" })
        EXPECT_TRUE(texts.contains(QString::fromUtf8(text)))
            << text << " in " << texts.join(", ").toStdString();
    const auto [labels, tooltip] = run.heatmap();
    EXPECT_EQ(labels, (QStringList { "", "M", "", "M", "", "F", "" }));
    EXPECT_EQ(tooltip, QStringLiteral("Keine Fokuszeit am 12. Dez. 2026"));

    ViewEngine views;
    DialogWindows dialogs(views);
    dialogs.showAbout();
    ASSERT_TRUE(dialogs.aboutWindow());
    EXPECT_EQ(dialogs.aboutWindow()->title(), QStringLiteral("Über Velto"));
}

TEST(Japanese, TextsAreEnglishAndDatesJapanese)
{
    LanguageRun run;
    const QStringList texts = run.popoverTexts();
    for (const char* text : { "Focus", "Break", "Ready", "session", "focused" })
        EXPECT_TRUE(texts.contains(QString::fromUtf8(text)))
            << text << " in " << texts.join(", ").toStdString();
    const auto [labels, tooltip] = run.heatmap();
    EXPECT_EQ(labels, (QStringList { "", "月", "", "水", "", "金", "" }));
    EXPECT_EQ(tooltip, QString::fromUtf8("No focus time on 2026年12月12日"));
}

TEST(CLocale, TextsAreEnglishAndWeekdaysHaveInitials)
{
    LanguageRun run;
    const QStringList texts = run.popoverTexts();
    for (const char* text : { "Ready", "session", "focused" })
        EXPECT_TRUE(texts.contains(QString::fromUtf8(text)))
            << text << " in " << texts.join(", ").toStdString();
    const auto [labels, tooltip] = run.heatmap();
    EXPECT_EQ(labels, (QStringList { "", "M", "", "W", "", "F", "" }));
    EXPECT_EQ(tooltip, QStringLiteral("No focus time on 12 Dec 2026"));
}

} // namespace

int main(int argc, char** argv)
{
    // Only the time zone is pinned: the language settings are what this test is about.
    setenv("TZ", "Europe/Berlin", 1);
    QStandardPaths::setTestModeEnabled(true);
    QGuiApplication app(argc, argv);
    Translations::installForUser();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
