#pragma once

#include <QString>
#include <QVariantMap>
#include <optional>
#include <vector>

/// One sentence of the Insights card, ready to draw.
struct Insight {
    QString kind; ///< "mostProductiveDay", "streak", "averageDailyFocus" or "firstSession"
    QString symbol; ///< symbol name, e.g. "star.fill"
    QString color; ///< the symbol's colour, "#RRGGBB"
    QString richText; ///< HTML with the bold part in <b>…</b>
    QString plainText;

    bool operator==(const Insight&) const = default;
    QVariantMap toVariantMap() const;
};

/// What the sentences are about.
struct InsightFacts {
    std::optional<QString> mostProductiveDay;
    int streak = 0;
    qint64 averageDailyFocusMinutes = 0;
    bool historyIsEmpty = true;
    quint32 focusColor = 0;
};

/// The sentences that apply, in the order the card shows them.
std::vector<Insight> insightSentences(const InsightFacts& facts);
