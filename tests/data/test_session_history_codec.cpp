#include <QRandomGenerator>
#include <gtest/gtest.h>

#include "data/SessionHistoryCodec.h"

namespace {

SessionRecord taggedFocus()
{
    SessionRecord record;
    record.id = QUuid::fromString(QStringLiteral("6A1F3C52-0B7E-4D9A-8E21-5C4B3A2F1E0D"));
    record.date = Instant::fromReferenceSeconds(786274200);
    record.duration = 1500;
    record.type = SessionType::focus;
    record.completedFully = true;
    record.tag = QStringLiteral("Deep Work");
    return record;
}

TEST(SessionHistoryCodec, WritesTheCompactFileFormat)
{
    const SessionRecord breakRecord { QUuid::fromString(
                                          QStringLiteral("0a1b2c3d-4e5f-4a6b-8c7d-8e9fa0b1c2d3")),
        Instant::fromReferenceSeconds(786274500.25), 300, SessionType::shortBreak, true, std::nullopt };
    EXPECT_EQ(SessionHistoryCodec::encode({ taggedFocus(), breakRecord }),
        R"([{"id":"6A1F3C52-0B7E-4D9A-8E21-5C4B3A2F1E0D","date":786274200,"duration":1500,"type":"focus",)"
        R"("completedFully":true,"tag":"Deep Work"},)"
        R"({"id":"0A1B2C3D-4E5F-4A6B-8C7D-8E9FA0B1C2D3","date":786274500.25,"duration":300,)"
        R"("type":"shortBreak","completedFully":true}])");
    EXPECT_EQ(SessionHistoryCodec::encode({}), "[]");
}

TEST(SessionHistoryCodec, RoundTripKeepsEveryFieldExactly)
{
    QRandomGenerator random(7);
    std::vector<SessionRecord> records;
    for (int i = 0; i < 500; ++i) {
        SessionRecord r;
        r.id = QUuid::createUuid();
        r.date
            = Instant::fromReferenceSeconds(random.generateDouble() * 1e9 - 1e8); // fractions and negatives
        r.duration = i % 3 ? random.bounded(1, 6000) : random.generateDouble() * 5400;
        r.type = static_cast<SessionType>(i % 3);
        r.completedFully = i % 5 != 0;
        if (i % 2)
            r.tag = i % 4 == 1 ? QStringLiteral("Quote \" back\\slash\nnewline ☕ 🎧") : QStringLiteral("Work");
        records.push_back(r);
    }
    const std::string encoded = SessionHistoryCodec::encode(records);
    const auto decoded = SessionHistoryCodec::decode(encoded);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, records);
    EXPECT_EQ(SessionHistoryCodec::encode(*decoded), encoded);
}

TEST(SessionHistoryCodec, ReadsAnyKeyOrderEitherCaseAndNullTags)
{
    const auto decoded = SessionHistoryCodec::decode(
        R"( [ {"tag": null, "completedFully": false, "type": "longBreak", "duration": 900.0,
               "date": 1.5, "id": "6a1f3c52-0b7e-4d9a-8e21-5c4b3a2f1e0d", "extra": {"nested": [1, {"a": 2}]}},
             {"id":"6A1F3C52-0B7E-4D9A-8E21-5C4B3A2F1E0E","date":2,"duration":60,"type":"focus","completedFully":true} ] )");
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->size(), 2u);
    const SessionRecord& first = decoded->at(0);
    EXPECT_EQ(first.id, QUuid::fromString(QStringLiteral("6A1F3C52-0B7E-4D9A-8E21-5C4B3A2F1E0D")));
    EXPECT_EQ(first.type, SessionType::longBreak);
    EXPECT_FALSE(first.completedFully);
    EXPECT_FALSE(first.tag.has_value());
    EXPECT_EQ(first.date.referenceSeconds(), 1.5);
    EXPECT_FALSE(decoded->at(1).tag.has_value());
}

struct BadDocument {
    const char* name;
    const char* json;
    const char* reason; // part of the error text
};

class UnreadableHistory : public ::testing::TestWithParam<BadDocument> { };

TEST_P(UnreadableHistory, IsRejectedAsAWholeWithAReason)
{
    QString error;
    EXPECT_FALSE(SessionHistoryCodec::decode(GetParam().json, &error));
    EXPECT_TRUE(error.contains(QLatin1String(GetParam().reason))) << error.toStdString();
}

#define RECORD_HEAD R"({"id":"6A1F3C52-0B7E-4D9A-8E21-5C4B3A2F1E0D","date":1,"duration":1500,)"
INSTANTIATE_TEST_SUITE_P(SessionHistoryCodec, UnreadableHistory,
    ::testing::Values(
        BadDocument { "Truncated", "[" RECORD_HEAD R"("type":"focus","completedFully":tr)", "parse error" },
        BadDocument { "Empty", "", "parse error" },
        BadDocument { "NotJson", "sessions: none", "parse error" },
        BadDocument { "TopLevelObject", R"({"sessions":[]})", "top level" },
        BadDocument { "ElementNotObject", R"([1])", "element 0" },
        BadDocument { "UnknownType", "[" RECORD_HEAD R"("type":"nap","completedFully":true}])", "\"nap\"" },
        BadDocument { "MissingKey",
            R"([{"id":"6A1F3C52-0B7E-4D9A-8E21-5C4B3A2F1E0D","date":1,"type":"focus","completedFully":true}])",
            "\"duration\" is missing" },
        BadDocument { "SecondElementBad",
            "[" RECORD_HEAD R"("type":"focus","completedFully":true},)" RECORD_HEAD R"("type":"focus"}])",
            "element 1" },
        BadDocument {
            "TagNumber", "[" RECORD_HEAD R"("type":"focus","completedFully":true,"tag":5}])", "\"tag\"" },
        BadDocument {
            "CompletedAsNumber", "[" RECORD_HEAD R"("type":"focus","completedFully":1}])", "completedFully" },
        BadDocument { "IdNotUuid",
            R"([{"id":"6A1F3C52","date":1,"duration":1,"type":"focus","completedFully":true}])", "UUID" },
        BadDocument { "IdWithBraces",
            R"([{"id":"{6A1F3C52-0B7E-4D9A-8E21-5C4B3A2F}","date":1,"duration":1,"type":"focus","completedFully":true}])",
            "UUID" },
        BadDocument { "DateAsText",
            R"([{"id":"6A1F3C52-0B7E-4D9A-8E21-5C4B3A2F1E0D","date":"today","duration":1,"type":"focus","completedFully":true}])",
            "\"date\"" },
        BadDocument { "TrailingGarbage", "[]]", "parse error" }),
    [](const ::testing::TestParamInfo<BadDocument>& info) { return std::string(info.param.name); });

} // namespace
