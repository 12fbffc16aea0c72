#pragma once

#include <QObject>
#include <QVariantList>
#include <vector>

#include "InsightSentences.h"
#include "InsightsDependencies.h"

class FigureInputs;

/// Provides the figures of the Insights page: today, this week, the streak and the insight sentences.
class InsightsModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(int todaySessions READ todaySessions NOTIFY figuresChanged)
    Q_PROPERTY(QString todayFocusTime READ todayFocusTime NOTIFY figuresChanged)
    Q_PROPERTY(int todayBreaks READ todayBreaks NOTIFY figuresChanged)
    Q_PROPERTY(int weekSessions READ weekSessions NOTIFY figuresChanged)
    Q_PROPERTY(QString weekFocusTime READ weekFocusTime NOTIFY figuresChanged)
    Q_PROPERTY(QString weekDailyAverage READ weekDailyAverage NOTIFY figuresChanged)
    Q_PROPERTY(int streak READ streak NOTIFY figuresChanged)
    Q_PROPERTY(bool hasStreak READ hasStreak NOTIFY figuresChanged)
    /// The words under the counts, in the count's plural form ("Session", "Sessions").
    Q_PROPERTY(QString todaySessionsCaption READ todaySessionsCaption NOTIFY figuresChanged)
    Q_PROPERTY(QString todayBreaksCaption READ todayBreaksCaption NOTIFY figuresChanged)
    Q_PROPERTY(QString weekSessionsCaption READ weekSessionsCaption NOTIFY figuresChanged)
    Q_PROPERTY(QString streakCaption READ streakCaption NOTIFY figuresChanged)
    /// Each item: kind, symbol, color ("#RRGGBB"), text (rich text) and plainText.
    Q_PROPERTY(QVariantList insights READ insightItems NOTIFY figuresChanged)
    /// With a daily goal: "3 of 8 sessions" for today; empty without one.
    Q_PROPERTY(QString todayGoalText READ todayGoalText NOTIFY figuresChanged)
    /// How much of the daily goal today's focus intervals make, 0 to 1.
    Q_PROPERTY(double todayGoalProgress READ todayGoalProgress NOTIFY figuresChanged)
    /// The history holds no records at all.
    Q_PROPERTY(bool isEmpty READ isEmpty NOTIFY figuresChanged)
    /// The focus colour ("#RRGGBB"), the fallback when the chosen id is not in the palette.
    Q_PROPERTY(QString focusColor READ focusColor NOTIFY figuresChanged)

public:
    explicit InsightsModel(InsightsDependencies dependencies, QObject* parent = nullptr);

    int todaySessions() const { return figures().todaySessions; }
    QString todayFocusTime() const;
    int todayBreaks() const { return figures().todayBreaks; }
    int weekSessions() const { return figures().weekSessions; }
    QString weekFocusTime() const;
    QString weekDailyAverage() const;
    int streak() const { return figures().streak; }
    bool hasStreak() const { return figures().streak >= 1; }
    QString todaySessionsCaption() const;
    QString todayBreaksCaption() const;
    QString weekSessionsCaption() const;
    QString streakCaption() const;
    QString todayGoalText() const;
    double todayGoalProgress() const;
    const std::vector<Insight>& insightList() const { return figures().insights; }
    QVariantList insightItems() const;
    bool isEmpty() const { return figures().isEmpty; }
    QString focusColor() const;

signals:
    void figuresChanged();

private:
    struct Figures {
        int todaySessions = 0;
        qint64 todayFocusMinutes = 0;
        int todayBreaks = 0;
        int weekSessions = 0;
        qint64 weekFocusMinutes = 0;
        qint64 averageDailyFocusMinutes = 0;
        int streak = 0;
        bool isEmpty = true;
        quint32 focusColor = 0;
        std::vector<Insight> insights;
    };
    const Figures& figures() const;
    void compute() const;

    FigureInputs* m_inputs;
    mutable Figures m_figures;
};
