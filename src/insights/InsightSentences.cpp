#include "InsightSentences.h"

#include <QCoreApplication>

#include "ColorText.h"
#include "MarkedText.h"
#include "timer/ClockText.h"

namespace {
constexpr quint32 kOrange = 0xFF9500;
constexpr quint32 kRed = 0xFF3B30;
constexpr quint32 kLavender = 0xD8B4FE;

Insight make(const char* kind, const char* symbol, quint32 color, const MarkedText& text)
{
    return { QLatin1String(kind), QLatin1String(symbol), colorText(color), text.rich, text.plain };
}
} // namespace

QVariantMap Insight::toVariantMap() const
{
    return { { QStringLiteral("kind"), kind }, { QStringLiteral("symbol"), symbol },
        { QStringLiteral("color"), color }, { QStringLiteral("text"), richText },
        { QStringLiteral("plainText"), plainText } };
}

std::vector<Insight> insightSentences(const InsightFacts& facts)
{
    std::vector<Insight> sentences;
    if (facts.mostProductiveDay) {
        sentences.push_back(make("mostProductiveDay", "star.fill", kOrange,
            markedText(QCoreApplication::translate("InsightSentences", "Most productive day: **%1**"),
                *facts.mostProductiveDay)));
    }
    if (facts.streak >= 1) {
        sentences.push_back(make("streak", "flame.fill", kRed,
            markedText(QCoreApplication::translate(
                "InsightSentences", "You're on a **%n-day** streak!", nullptr, facts.streak))));
    }
    if (facts.averageDailyFocusMinutes >= 1) {
        sentences.push_back(make("averageDailyFocus", "chart.bar.fill", facts.focusColor,
            markedText(QCoreApplication::translate("InsightSentences", "Average daily focus: **%1**"),
                durationText(facts.averageDailyFocusMinutes))));
    }
    if (facts.historyIsEmpty) {
        sentences.push_back(make("firstSession", "sparkles", kLavender,
            markedText(QCoreApplication::translate(
                "InsightSentences", "Complete your first focus session to see insights!"))));
    }
    return sentences;
}
