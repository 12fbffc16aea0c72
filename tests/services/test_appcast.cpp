// Reading the update feed: which items count, which version and page they carry, and which is newest.
#include <gtest/gtest.h>

#include "services/Appcast.h"

namespace {

QByteArray feed(const QByteArray& items)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<rss version=\"2.0\" xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">"
           "<channel><title>Velto</title>"
        + items + "</channel></rss>";
}

TEST(Appcast, ReadsVersionsFromElementsOrTheEnclosureAndPicksTheNewest)
{
    const std::optional<Appcast> appcast = parseAppcast(
        feed("<item><title>1.9</title><sparkle:version>1.9</sparkle:version>"
             "<sparkle:releaseNotesLink>https://murv.studio/velto/1.9</sparkle:releaseNotesLink></item>"
             "<item><enclosure url=\"https://murv.studio/velto/Velto-1.10.0.tar.gz\" sparkle:version=\"110\""
             " sparkle:shortVersionString=\"1.10.0\" length=\"1\" type=\"application/octet-stream\"/></item>"
             "<item><sparkle:shortVersionString>1.2.0</sparkle:shortVersionString>"
             "<link>https://murv.studio/velto</link>"
             "<sparkle:releaseNotesLink>https://murv.studio/velto/1.2</sparkle:releaseNotesLink></item>"));
    ASSERT_TRUE(appcast);
    ASSERT_EQ(appcast->items.size(), 3);
    EXPECT_EQ(appcast->items[0].page, QUrl("https://murv.studio/velto/1.9"));
    EXPECT_EQ(appcast->items[2].page, QUrl("https://murv.studio/velto")); // the link before the notes

    const std::optional<AppcastItem> newest = appcast->newest();
    ASSERT_TRUE(newest);
    EXPECT_EQ(newest->versionText, "1.10.0"); // numbers, not text: 1.10 is after 1.9 and 1.2
    EXPECT_EQ(newest->page, QUrl("https://murv.studio/velto/Velto-1.10.0.tar.gz"));
}

TEST(Appcast, SkipsItemsWithoutAPlainVersionOrAWebPage)
{
    const std::optional<Appcast> appcast = parseAppcast(
        feed("<item><sparkle:shortVersionString>2.0.0-beta1</sparkle:shortVersionString>"
             "<link>https://murv.studio/velto</link></item>"
             "<item><sparkle:shortVersionString>2.0.0</sparkle:shortVersionString>"
             "<link>file:///usr/bin/velto</link><sparkle:releaseNotesLink>javascript:alert(1)</"
             "sparkle:releaseNotesLink>"
             "</item>"
             "<item><link>https://murv.studio/velto</link></item>"
             "<item><sparkle:version>1.1</sparkle:version><link>http://murv.studio/velto</link></item>"));
    ASSERT_TRUE(appcast);
    EXPECT_EQ(appcast->skippedItems, 3);
    ASSERT_EQ(appcast->items.size(), 1);
    EXPECT_EQ(appcast->items[0].versionText, "1.1");
}

TEST(Appcast, RejectsDocumentsThatAreNotAnRssFeed)
{
    for (const QByteArray& document :
        { QByteArray(), QByteArray("this is not XML {"), QByteArray("<html><body>Not Found</body></html>"),
            feed("<item><sparkle:version>1.1</sparkle:version>").left(200), feed("") + "<trailing/>" }) {
        EXPECT_FALSE(parseAppcast(document)) << document.constData();
    }
    const std::optional<Appcast> empty = parseAppcast(feed(""));
    ASSERT_TRUE(empty);
    EXPECT_FALSE(empty->newest());
    EXPECT_EQ(empty->skippedItems, 0);
}

TEST(Appcast, ReleaseVersionsCompareByNumbersIgnoringTrailingZeros)
{
    EXPECT_GT(parseReleaseVersion("1.10"), parseReleaseVersion("1.9.9"));
    EXPECT_EQ(parseReleaseVersion("1.0"), parseReleaseVersion("1.0.0"));
    EXPECT_LT(parseReleaseVersion("1.0.0"), parseReleaseVersion("1.0.0.1"));
    for (const QString text : { "", "v1.0", "1.0.0b", "1..0", " 1.0", "1.0." })
        EXPECT_TRUE(parseReleaseVersion(text).isNull()) << qPrintable(text);
}

} // namespace
