#include <gtest/gtest.h>

#include "insights/ColorText.h"
#include "insights/MarkedText.h"

TEST(MarkedText, BoldPartBecomesMarkupAndTheRestIsEscaped)
{
    const MarkedText day
        = markedText(QStringLiteral("Most productive day: **%1**"), QStringLiteral("Wednesday"));
    EXPECT_EQ(day.rich, QStringLiteral("Most productive day: <b>Wednesday</b>"));
    EXPECT_EQ(day.plain, QStringLiteral("Most productive day: Wednesday"));

    // An argument can carry neither markup nor markers nor further placeholders.
    const MarkedText hostile
        = markedText(QStringLiteral("a <&> **%1** b"), QStringLiteral("<i>**x**</i> %2"));
    EXPECT_EQ(hostile.rich, QStringLiteral("a &lt;&amp;&gt; <b>&lt;i&gt;**x**&lt;/i&gt; %2</b> b"));
    EXPECT_EQ(hostile.plain, QStringLiteral("a <&> <i>**x**</i> %2 b"));

    // A marker left open is closed at the end.
    EXPECT_EQ(markedText(QStringLiteral("x **y")).rich, QStringLiteral("x <b>y</b>"));
    EXPECT_EQ(markedText(QStringLiteral("no bold")).rich, QStringLiteral("no bold"));
}

TEST(ColorText, OpaqueAndTranslucentColours)
{
    EXPECT_EQ(colorText(0xFDA4AF), QStringLiteral("#FDA4AF"));
    EXPECT_EQ(colorText(0x0000FF, 0.5), QStringLiteral("#800000FF"));
    EXPECT_EQ(colorText(0x18181B, 0.05), QStringLiteral("#0D18181B"));
}
