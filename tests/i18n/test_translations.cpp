// Which language Velto speaks and which locale its dates follow, from the user's settings.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "i18n/Translations.h"

namespace {

QProcessEnvironment environment(std::initializer_list<std::pair<const char*, const char*>> variables)
{
    QProcessEnvironment env;
    for (const auto& [name, value] : variables)
        env.insert(QString::fromLatin1(name), QString::fromLatin1(value));
    return env;
}

TEST(Translations, DatesFollowTheFirstLanguageUnlessFormatsAreSetExplicitly)
{
    using Translations::formatsFromLanguage;
    EXPECT_EQ(formatsFromLanguage(environment({ { "LANG", "C.UTF-8" }, { "LANGUAGE", "ja" } }))->name(),
        QStringLiteral("ja_JP"));
    // Entries without a language of their own are passed over; codesets are not part of the name.
    EXPECT_EQ(formatsFromLanguage(environment({ { "LANGUAGE", "C:de_AT.UTF-8:en" } }))->name(),
        QStringLiteral("de_AT"));
    EXPECT_FALSE(formatsFromLanguage(environment({ { "LANGUAGE", "ja" }, { "LC_TIME", "de_DE.UTF-8" } })));
    EXPECT_FALSE(formatsFromLanguage(environment({ { "LANGUAGE", "ja" }, { "LC_ALL", "C" } })));
    EXPECT_FALSE(formatsFromLanguage(environment({ { "LANG", "de_DE.UTF-8" }, { "LANGUAGE", "" } })));
}

TEST(Translations, TheFirstTranslatedLanguageWinsAndEnglishKeepsItsPluralForms)
{
    const auto ready = [] { return QCoreApplication::translate("MiniTimerViewModel", "Ready"); };
    const auto tags
        = [](int n) { return QCoreApplication::translate("TagManagementModel", "%n tag(s)", nullptr, n); };

    EXPECT_EQ(Translations::install({ "ja-JP", "ja", "de-AT", "de" }), QStringLiteral("de"));
    EXPECT_EQ(ready(), QStringLiteral("Bereit"));
    EXPECT_EQ(tags(1), QStringLiteral("1 Label"));

    // English before German means English, with its own plural forms.
    EXPECT_EQ(Translations::install({ "en-GB", "de" }), QStringLiteral("en"));
    EXPECT_EQ(ready(), QStringLiteral("Ready"));
    EXPECT_EQ(tags(1), QStringLiteral("1 tag"));
    EXPECT_EQ(tags(2), QStringLiteral("2 tags"));

    EXPECT_EQ(Translations::install({ "ja", "C" }), QStringLiteral("en"));
    EXPECT_EQ(tags(0), QStringLiteral("0 tags"));
}

} // namespace
