// `velto status --follow` as Velto comes and goes, without a bus: what it prints while
// Velto is away, starting, running and gone again.
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <gtest/gtest.h>

#include "cli/StatusFollower.h"

namespace {

using namespace Cli;
using namespace std::chrono_literals;

QJsonObject object(const QString& line)
{
    return QJsonDocument::fromJson(line.toUtf8()).object();
}

bool saysStopped(const QString& line)
{
    const QJsonObject module = object(line);
    return module.value(QStringLiteral("text")).toString().isEmpty()
        && module.value(QStringLiteral("class")).toString() == QStringLiteral("stopped")
        && module.value(QStringLiteral("tooltip")).toString() == QStringLiteral("Velto is not running.");
}

/// A follower for a waybar module over a Velto that answers with `answer`, when set.
struct Following {
    Following()
    {
        QObject::connect(&follower, &StatusFollower::line, [this](const QString& line) { lines << line; });
        follower.setRetryInterval(5ms);
    }
    QString shown(const char* key) const { return object(lines.last()).value(QLatin1String(key)).toString(); }

    std::optional<QVariantMap> answer;
    int asked = 0;
    QStringList lines;
    StatusFollower follower { Format::waybar, [this] {
                                 ++asked;
                                 return answer;
                             } };
};

const QVariantMap focusRunning { { QStringLiteral("State"), 1u }, { QStringLiteral("TimeRemaining"), 1500.0 },
    { QStringLiteral("IsRunning"), true }, { QStringLiteral("Progress"), 0.0 } };

TEST(StatusFollower, WaitsForVeltoFollowsItAndWaitsAgainWhenItQuits)
{
    Following f;
    f.follower.start(false);
    ASSERT_EQ(f.lines.size(), 1);
    EXPECT_TRUE(saysStopped(f.lines[0])) << f.lines[0].toStdString();
    EXPECT_EQ(f.asked, 0);
    f.follower.changed({ { QStringLiteral("TimeRemaining"), 10.0 } }); // from nobody we follow
    EXPECT_EQ(f.lines.size(), 1);

    f.answer = focusRunning;
    f.follower.appeared();
    ASSERT_EQ(f.lines.size(), 2);
    EXPECT_EQ(f.shown("text"), QStringLiteral("25:00"));
    EXPECT_EQ(f.shown("class"), QStringLiteral("work"));
    f.follower.changed({ { QStringLiteral("TimeRemaining"), 1499.0 } });
    EXPECT_EQ(f.shown("text"), QStringLiteral("24:59"));
    f.follower.changed({ { QStringLiteral("TimeRemaining"), 1499.4 } }); // shows the same
    EXPECT_EQ(f.lines.size(), 3);

    f.follower.gone();
    f.follower.gone();
    ASSERT_EQ(f.lines.size(), 4);
    EXPECT_TRUE(saysStopped(f.lines.last()));
    EXPECT_FALSE(f.follower.isFollowing());

    f.answer = QVariantMap { { QStringLiteral("State"), 0u } };
    f.follower.appeared();
    ASSERT_EQ(f.lines.size(), 5);
    EXPECT_EQ(f.shown("class"), QStringLiteral("idle"));
}

TEST(StatusFollower, AVeltoThatHoldsItsNameButDoesNotAnswerYetIsAskedAgain)
{
    Following f;
    f.follower.start(true);
    ASSERT_EQ(f.lines.size(), 1);
    EXPECT_TRUE(saysStopped(f.lines[0]));
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.asked >= 3; }, 2000));
    EXPECT_EQ(f.lines.size(), 1);

    f.answer = focusRunning;
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.follower.isFollowing(); }, 2000));
    ASSERT_EQ(f.lines.size(), 2);
    EXPECT_EQ(f.shown("class"), QStringLiteral("work"));
    const int asked = f.asked;
    QTest::qWait(50);
    EXPECT_EQ(f.asked, asked); // no more asking once it answers

    // Gone while still starting: the asking stops.
    Following g;
    g.follower.start(true);
    g.follower.gone();
    const int before = g.asked;
    QTest::qWait(50);
    EXPECT_EQ(g.asked, before);
}

TEST(StatusFollower, AChangeFromAStartingVeltoAsksAtOnce)
{
    Following f;
    f.follower.setRetryInterval(1h);
    f.follower.start(true);
    f.answer = focusRunning;
    f.follower.changed({ { QStringLiteral("TimeRemaining"), 1499.0 } });
    EXPECT_TRUE(f.follower.isFollowing());
    EXPECT_EQ(f.shown("text"), QStringLiteral("25:00")); // the answer, not the partial change
}

TEST(StatusFollower, NotRunningInEachFormat)
{
    EXPECT_EQ(formatNotRunning(Format::text), QStringLiteral("Velto is not running."));
    EXPECT_EQ(object(formatNotRunning(Format::json)), QJsonObject({ { "state", "stopped" } }));
    EXPECT_TRUE(saysStopped(formatNotRunning(Format::waybar)));
}

} // namespace
