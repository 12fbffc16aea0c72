#include <gtest/gtest.h>

#include "MemoryPreferences.h"
#include "data/ThemeManager.h"

namespace {

TEST(ThemeManager, FreshProfileUsesCoralAndMintAndWritesNothing)
{
    MemoryPreferences prefs;
    ThemeManager theme(prefs);
    EXPECT_EQ(theme.focusColorId(), QStringLiteral("coral"));
    EXPECT_EQ(theme.breakColorId(), QStringLiteral("mint"));
    EXPECT_EQ(ThemeManager::colorForId(theme.focusColorId()), 0xFDA4AFu);
    EXPECT_EQ(ThemeManager::colorForId(theme.breakColorId()), 0x6EE7B7u);
    EXPECT_EQ(prefs.totalWrites(), 0);
}

TEST(ThemeManager, SavingWritesBothKeys)
{
    MemoryPreferences prefs;
    ThemeManager theme(prefs);
    theme.setFocusColorId(QStringLiteral("slate"));
    theme.saveColors();
    EXPECT_EQ(prefs.value(QStringLiteral("focusColorId")).toString(), QStringLiteral("slate"));
    EXPECT_EQ(prefs.value(QStringLiteral("breakColorId")).toString(), QStringLiteral("mint"));
    EXPECT_EQ(ThemeManager(prefs).focusColorId(), QStringLiteral("slate"));
}

TEST(ThemeManager, StoredIdsAreKeptEvenWhenUnknownAndWrongTypesIgnored)
{
    MemoryPreferences prefs(QVariantMap { { QStringLiteral("focusColorId"), QStringLiteral("Coral") },
        { QStringLiteral("breakColorId"), 42 } });
    ThemeManager theme(prefs);
    EXPECT_EQ(theme.focusColorId(), QStringLiteral("Coral"));
    EXPECT_FALSE(ThemeManager::colorForId(theme.focusColorId())); // ids match exactly
    EXPECT_EQ(theme.breakColorId(), QStringLiteral("mint"));
    EXPECT_EQ(ThemeManager::colorForId(QStringLiteral("cyan")), 0x22D3D8u);
    EXPECT_EQ(themeColorOptions().size(), 12u);
}

} // namespace
