#include <QSignalSpy>
#include <gtest/gtest.h>

#include "MemoryPreferences.h"
#include "data/TagManager.h"
#include "data/TagPalette.h"
#include "platform/PreferenceValues.h"

namespace {

const QStringList kDefaults { QStringLiteral("Work"), QStringLiteral("Learning"), QStringLiteral("Creative"),
    QStringLiteral("Deep Work"), QStringLiteral("Meeting"), QStringLiteral("Personal") };

QVariantMap storedColors(const MemoryPreferences& prefs)
{
    return PreferenceValues::map(prefs.value(QStringLiteral("veltoTagColors"))).value_or(QVariantMap());
}

TEST(TagManager, FirstLaunchHasTheDefaultsWithTheirColours)
{
    MemoryPreferences prefs;
    TagManager tags(prefs);
    EXPECT_EQ(tags.availableTags(), kDefaults);
    EXPECT_FALSE(tags.currentSessionTag());
    const QVariantMap colors = storedColors(prefs);
    ASSERT_EQ(colors.size(), 6);
    EXPECT_EQ(colors.value(QStringLiteral("Work")).toLongLong(), 16622767); // 0xFDA4AF
    EXPECT_EQ(colors.value(QStringLiteral("Personal")).toLongLong(), 0xF472B6);
    EXPECT_FALSE(prefs.contains(QStringLiteral("veltoCustomTags")));
}

TEST(TagManager, AddTrimsIgnoresDuplicatesAndTakesTheNextPaletteColour)
{
    MemoryPreferences prefs;
    TagManager tags(prefs);
    tags.addTag(QStringLiteral("  Reading \n"));
    tags.addTag(QStringLiteral("Reading"));
    tags.addTag(QStringLiteral("Work"));
    tags.addTag(QStringLiteral(" \t "));
    EXPECT_EQ(tags.availableTags(), (kDefaults + QStringList { QStringLiteral("Reading") }));
    EXPECT_EQ(tags.colorForTag(QStringLiteral("Reading")), 0xFBCFE8u); // 7th candidate
    EXPECT_EQ(PreferenceValues::stringList(prefs.value(QStringLiteral("veltoCustomTags"))),
        QStringList { QStringLiteral("Reading") });
    tags.addTag(QStringLiteral("Writing"));
    EXPECT_EQ(tags.colorForTag(QStringLiteral("Writing")), 0xA5F3FCu);
}

TEST(TagManager, NamesAreComparedByCanonicalEquivalence)
{
    MemoryPreferences prefs;
    TagManager tags(prefs);
    const QString composed = QStringLiteral("Caf\u00e9");
    const QString decomposed = QStringLiteral("Cafe\u0301");
    tags.addTag(composed);
    tags.addTag(decomposed);
    EXPECT_EQ(tags.availableTags().size(), 7);
    EXPECT_EQ(tags.colorForTag(decomposed), tags.colorForTag(composed));
    tags.addTag(QStringLiteral("work")); // case matters
    EXPECT_EQ(tags.availableTags().size(), 8);
}

TEST(TagManager, RenameKeepsPositionAndColourAndMovesTheCurrentTag)
{
    MemoryPreferences prefs;
    TagManager tags(prefs);
    tags.addTag(QStringLiteral("Reading"));
    tags.addTag(QStringLiteral("Chores"));
    tags.chooseCurrentTag(QStringLiteral("Reading"));
    const quint32 color = tags.colorForTag(QStringLiteral("Reading"));

    tags.renameTag(QStringLiteral("Reading"), QStringLiteral(" Books "));
    EXPECT_EQ(tags.availableTags().at(6), QStringLiteral("Books"));
    EXPECT_EQ(tags.colorForTag(QStringLiteral("Books")), color);
    EXPECT_FALSE(storedColors(prefs).contains(QStringLiteral("Reading")));
    EXPECT_EQ(tags.currentSessionTag(), QStringLiteral("Books"));
    EXPECT_EQ(prefs.value(QStringLiteral("veltoCurrentSessionTag")).toString(), QStringLiteral("Books"));

    const QStringList before = tags.availableTags();
    tags.renameTag(
        QStringLiteral("Books"), QStringLiteral("  Chores  ")); // differs only by spaces from an existing tag
    tags.renameTag(QStringLiteral("Books"), QStringLiteral("Books"));
    tags.renameTag(QStringLiteral("Missing"), QStringLiteral("Other"));
    tags.renameTag(QStringLiteral("Books"), QStringLiteral("   "));
    EXPECT_EQ(tags.availableTags(), before);
}

TEST(TagManager, DeleteSparesDefaultsAndClearsTheCurrentTag)
{
    MemoryPreferences prefs;
    TagManager tags(prefs);
    tags.addTag(QStringLiteral("Reading"));
    tags.chooseCurrentTag(QStringLiteral("Reading"));
    tags.deleteTag(QStringLiteral("Meeting"));
    EXPECT_TRUE(tags.availableTags().contains(QStringLiteral("Meeting")));

    tags.deleteTag(QStringLiteral("Reading"));
    EXPECT_EQ(tags.availableTags(), kDefaults);
    EXPECT_FALSE(tags.currentSessionTag());
    EXPECT_FALSE(prefs.contains(QStringLiteral("veltoCurrentSessionTag")));
    EXPECT_FALSE(storedColors(prefs).contains(QStringLiteral("Reading")));
    EXPECT_EQ(PreferenceValues::stringList(prefs.value(QStringLiteral("veltoCustomTags"))), QStringList());

    // An old tag still on past records gets a fresh colour that is kept.
    const quint32 fresh = tags.colorForTag(QStringLiteral("Reading"));
    EXPECT_EQ(storedColors(prefs).value(QStringLiteral("Reading")).toLongLong(), qint64(fresh));
}

TEST(TagManager, ObserversNeverBringBackTheColourOfARenamedOrDeletedCurrentTag)
{
    MemoryPreferences prefs;
    TagManager tags(prefs);
    // As the popover does: on every change it shows the current tag and every tag with its colour.
    const auto showTags = [&tags] {
        if (const auto current = tags.currentSessionTag())
            tags.colorForTag(*current);
        tags.colorsForTags(tags.availableTags());
    };
    for (auto signal : { &TagManager::availableTagsChanged, &TagManager::currentSessionTagChanged,
             &TagManager::tagColorMapChanged })
        QObject::connect(&tags, signal, &tags, showTags);

    tags.addTag(QStringLiteral("Reading"));
    tags.chooseCurrentTag(QStringLiteral("Reading"));
    const quint32 color = tags.colorForTag(QStringLiteral("Reading"));
    tags.renameTag(QStringLiteral("Reading"), QStringLiteral("Books"));
    EXPECT_FALSE(storedColors(prefs).contains(QStringLiteral("Reading")));
    EXPECT_EQ(storedColors(prefs).value(QStringLiteral("Books")).toLongLong(), qint64(color));

    tags.deleteTag(QStringLiteral("Books"));
    EXPECT_FALSE(tags.currentSessionTag());
    EXPECT_FALSE(tags.tagColorMap().contains(QStringLiteral("Books")));
    EXPECT_EQ(storedColors(prefs).size(), 6);
}

TEST(TagManager, StoredListsAreCleanedAndBadColourMapsRebuilt)
{
    MemoryPreferences prefs(QVariantMap {
        { QStringLiteral("veltoCustomTags"),
            QStringList { QStringLiteral("Work"), QStringLiteral("Gym"), QStringLiteral("Gym"),
                QStringLiteral(" Gym") } },
        { QStringLiteral("veltoTagColors"),
            QVariantMap { { QStringLiteral("Work"), 1.5 }, { QStringLiteral("Gym"), 0x123456 } } },
        { QStringLiteral("veltoCurrentSessionTag"), QStringLiteral("Unknown") },
    });
    TagManager tags(prefs);
    EXPECT_EQ(
        tags.availableTags(), (kDefaults + QStringList { QStringLiteral("Gym"), QStringLiteral(" Gym") }));
    // One non-integer value discards the whole stored map.
    EXPECT_EQ(tags.colorForTag(QStringLiteral("Work")), 0xFDA4AFu);
    EXPECT_EQ(tags.colorForTag(QStringLiteral("Gym")), 0xFBCFE8u);
    EXPECT_EQ(tags.currentSessionTag(), QStringLiteral("Unknown"));

    MemoryPreferences notAList(QVariantMap { { QStringLiteral("veltoCustomTags"), QStringLiteral("Gym") } });
    EXPECT_EQ(TagManager(notAList).availableTags(), kDefaults);
}

TEST(TagManager, AllPaletteColoursTakenGivesARandomLightColour)
{
    MemoryPreferences prefs;
    TagManager tags(prefs);
    for (int i = 0; i < 17; ++i) // 6 defaults + 17 = all 23 distinct candidates
        tags.addTag(QStringLiteral("Tag %1").arg(i));
    for (const quint32 candidate : TagPalette::colorCandidates())
        EXPECT_TRUE(std::find(tags.tagColorMap().begin(), tags.tagColorMap().end(), candidate)
            != tags.tagColorMap().end());
    for (int i = 0; i < 50; ++i) {
        const quint32 color = tags.generateColor();
        const double r = (color >> 16 & 0xFF) / 255.0, g = (color >> 8 & 0xFF) / 255.0,
                     b = (color & 0xFF) / 255.0;
        const double max = std::max({ r, g, b }), min = std::min({ r, g, b });
        EXPECT_GE(max, 0.8 - 1.0 / 255);
        EXPECT_GE((max - min) / max, 0.3 - 0.02);
        EXPECT_LE((max - min) / max, 0.6 + 0.02);
    }
}

TEST(TagManager, ColoursForSeveralTagsMatchAskingOneByOneAndAreSavedOnce)
{
    const QStringList names { QStringLiteral("Work"), QStringLiteral("Old"), QStringLiteral("Gone"),
        QStringLiteral("Old") };
    MemoryPreferences onePrefs, batchPrefs;
    TagManager oneByOne(onePrefs), batch(batchPrefs);
    QList<quint32> expected;
    for (const QString& name : names)
        expected.append(oneByOne.colorForTag(name));
    const int writesBefore = batchPrefs.writes(QStringLiteral("veltoTagColors"));
    QSignalSpy changed(&batch, &TagManager::tagColorMapChanged);
    EXPECT_EQ(batch.colorsForTags(names), expected);
    EXPECT_EQ(batch.tagColorMap(), oneByOne.tagColorMap());
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(batchPrefs.writes(QStringLiteral("veltoTagColors")), writesBefore + 1);
    // Known names change nothing.
    batch.colorsForTags(names);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(batchPrefs.writes(QStringLiteral("veltoTagColors")), writesBefore + 1);
}

TEST(TagPalette, HsbConversionMatchesKnownColours)
{
    EXPECT_EQ(TagPalette::colorFromHsb(0.0, 1.0, 1.0), 0xFF0000u);
    EXPECT_EQ(TagPalette::colorFromHsb(1.0 / 3, 1.0, 1.0), 0x00FF00u);
    EXPECT_EQ(TagPalette::colorFromHsb(2.0 / 3, 1.0, 1.0), 0x0000FFu);
    EXPECT_EQ(TagPalette::colorFromHsb(0.5, 0.5, 1.0), 0x7FFFFFu); // 127.5 truncates
    EXPECT_EQ(TagPalette::colorFromHsb(1.0, 0.0, 0.8), 0xCCCCCCu);
}

} // namespace
