// The command line's own rules: what each argument list means, and what a status
// looks like as text, JSON and a waybar module.
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include "cli/Cli.h"
#include "cli/CliArguments.h"
#include "cli/StatusText.h"
#include "timer/ClockText.h"

namespace {

using namespace Cli;

QStringList words(const char* line)
{
    return QString::fromLatin1(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

TEST(CliArguments, EveryCommandAndOption)
{
    const auto parse = [](const char* line) {
        const ParsedArguments parsed = parseArguments(words(line));
        EXPECT_TRUE(parsed.command) << line << ": " << parsed.error.toStdString();
        return parsed.command.value_or(Command {});
    };
    EXPECT_EQ(parse("start").action, Action::start);
    EXPECT_FALSE(parse("start").isBreak);
    EXPECT_TRUE(parse("start --break").isBreak);
    EXPECT_EQ(parse("pause").action, Action::pause);
    EXPECT_EQ(parse("toggle").action, Action::toggle);
    EXPECT_EQ(parse("skip").action, Action::skip);
    EXPECT_EQ(parse("reset").action, Action::reset);
    EXPECT_EQ(parse("extend").action, Action::extend);
    EXPECT_EQ(parse("extend").minutes, 5);
    EXPECT_EQ(parse("extend 1").minutes, 1);
    EXPECT_EQ(parse("extend 60").minutes, 60);
    EXPECT_EQ(parse("--help").action, Action::help);

    EXPECT_EQ(parse("dashboard").action, Action::dashboard);
    EXPECT_EQ(parse("dashboard").section, QStringLiteral("insights"));
    EXPECT_EQ(parse("dashboard tags").section, QStringLiteral("tags"));

    const Command plain = parse("status");
    EXPECT_EQ(plain.action, Action::status);
    EXPECT_FALSE(plain.follow);
    EXPECT_EQ(plain.format, Format::text);
    EXPECT_EQ(parse("status --format json").format, Format::json);
    EXPECT_EQ(parse("status --format=waybar").format, Format::waybar);
    const Command followed = parse("status --format waybar --follow");
    EXPECT_TRUE(followed.follow);
    EXPECT_EQ(followed.format, Format::waybar);
    EXPECT_TRUE(parse("status --follow --format json").follow);
}

TEST(CliArguments, NonsenseIsRefusedWithTheOffendingWord)
{
    for (const char* line :
        { "frobnicate", "--frobnicate", "start --long", "pause now", "skip 3", "status --format",
            "status --format xml", "status --verbose", "dashboard tags settings", "dashboard --tags",
            "extend 0", "extend -3", "extend 100000", "extend abc", "extend 61", "extend 2.5" }) {
        const ParsedArguments parsed = parseArguments(words(line));
        EXPECT_FALSE(parsed.command) << line;
        EXPECT_FALSE(parsed.error.isEmpty()) << line;
        EXPECT_FALSE(parsed.error.contains(QLatin1Char('\n'))) << line;
        EXPECT_TRUE(parsed.error.contains(words(line).last()) || parsed.error.contains(words(line).first()))
            << line;
    }
}

TEST(CliArguments, WordsAreCommandsAndOtherOptionsStartTheApp)
{
    const auto handles = [](std::vector<const char*> arguments) {
        arguments.insert(arguments.begin(), "velto");
        return Cli::handles(int(arguments.size()), const_cast<char**>(arguments.data()));
    };
    EXPECT_TRUE(handles({ "status", "--format", "json" }));
    EXPECT_TRUE(handles({ "launch" })) << "an unknown word is refused by the command line";
    EXPECT_TRUE(handles({ "--help" }));
    EXPECT_FALSE(handles({}));
    EXPECT_FALSE(handles({ "--self-test" }));
    EXPECT_FALSE(handles({ "-platform", "xcb" })) << "Qt's own options still reach the app";
}

TEST(StatusText, ChangesApplyOnlyWhatTheyCarry)
{
    TimerStatus status;
    status.apply({ { QStringLiteral("State"), 2u }, { QStringLiteral("TimeRemaining"), 120.0 },
        { QStringLiteral("IsRunning"), true }, { QStringLiteral("CurrentTag"), QStringLiteral("Reading") },
        { QStringLiteral("DailySessions"), 3 }, { QStringLiteral("FocusTimeToday"), 4500.0 } });
    status.apply({ { QStringLiteral("TimeRemaining"), 119.0 }, { QStringLiteral("Progress"), 0.6 } });
    EXPECT_EQ(status.state, 2u);
    EXPECT_EQ(status.timeRemaining, 119.0);
    EXPECT_TRUE(status.isRunning);
    EXPECT_EQ(status.progress, 0.6);
    EXPECT_EQ(status.currentTag, QStringLiteral("Reading"));
    EXPECT_EQ(status.dailySessions, 3);
    EXPECT_EQ(status.focusTimeToday, 4500.0);
}

class StatusFormats : public ::testing::Test {
protected:
    void SetUp() override
    {
        status.state = 1;
        status.timeRemaining = 1453.7;
        status.isRunning = true;
        status.progress = 0.25;
        status.currentTag = QStringLiteral("Deep \"work\"");
        status.dailySessions = 2;
        status.focusTimeToday = 3000;
    }
    static QJsonObject parsed(const QString& text)
    {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << text.toStdString();
        EXPECT_FALSE(text.contains(QLatin1Char('\n')));
        return document.object();
    }
    TimerStatus status;
};

TEST_F(StatusFormats, WaybarModule)
{
    const QJsonObject module = parsed(formatStatus(status, Format::waybar));
    QStringList keys = module.keys();
    keys.sort();
    EXPECT_EQ(keys, (QStringList { "class", "percentage", "text", "tooltip" }));
    EXPECT_EQ(module[QStringLiteral("text")].toString(), clockText(status.timeRemaining));
    EXPECT_EQ(module[QStringLiteral("class")].toString(), QStringLiteral("work"));
    ASSERT_TRUE(module[QStringLiteral("percentage")].isDouble());
    EXPECT_EQ(module[QStringLiteral("percentage")].toDouble(), 25.0);
    status.progress = 0.0066; // a few seconds into an interval
    EXPECT_EQ(parsed(formatStatus(status, Format::waybar))[QStringLiteral("percentage")].toDouble(), 1.0);
    EXPECT_TRUE(module[QStringLiteral("tooltip")].toString().contains(clockText(status.timeRemaining)));

    for (uint state : { 0u, 2u, 3u }) {
        status.state = state;
        EXPECT_EQ(parsed(formatStatus(status, Format::waybar))[QStringLiteral("class")].toString(),
            stateName(state));
    }
}

TEST_F(StatusFormats, JsonCarriesEveryFigure)
{
    const QJsonObject object = parsed(formatStatus(status, Format::json));
    EXPECT_EQ(object[QStringLiteral("state")].toString(), QStringLiteral("work"));
    EXPECT_EQ(object[QStringLiteral("stateValue")].toInt(-1), 1);
    EXPECT_EQ(object[QStringLiteral("timeRemaining")].toDouble(), status.timeRemaining);
    EXPECT_EQ(object[QStringLiteral("isRunning")].toBool(false), true);
    EXPECT_EQ(object[QStringLiteral("progress")].toDouble(), status.progress);
    EXPECT_EQ(object[QStringLiteral("currentTag")].toString(), status.currentTag);
    EXPECT_EQ(object[QStringLiteral("dailySessions")].toInt(-1), 2);
    EXPECT_EQ(object[QStringLiteral("focusTimeToday")].toDouble(), status.focusTimeToday);
    EXPECT_EQ(object[QStringLiteral("countdown")].toString(), QStringLiteral("24:13"));
}

TEST_F(StatusFormats, TextIsOneLineWithCountdownAndTag)
{
    const QString line = formatStatus(status, Format::text);
    EXPECT_FALSE(line.contains(QLatin1Char('\n')));
    EXPECT_TRUE(line.contains(QStringLiteral("24:13")));
    EXPECT_TRUE(line.contains(status.currentTag));
    status.focusTimeToday = 3600;
    EXPECT_TRUE(formatStatus(status, Format::text).endsWith(QStringLiteral("focus 1h")));
    const QString idle = formatStatus(TimerStatus {}, Format::text);
    EXPECT_FALSE(idle.contains(QStringLiteral("00:00"))) << idle.toStdString();
}

TEST(StatusText, StateNames)
{
    EXPECT_EQ(stateName(0), QStringLiteral("idle"));
    EXPECT_EQ(stateName(1), QStringLiteral("work"));
    EXPECT_EQ(stateName(2), QStringLiteral("shortBreak"));
    EXPECT_EQ(stateName(3), QStringLiteral("longBreak"));
    EXPECT_EQ(stateName(4), QStringLiteral("unknown"));
}

} // namespace
