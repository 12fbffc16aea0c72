#pragma once

#include <functional>

class Calendar;
class Clock;
class DailyGoal;
class DayWatcher;
class SessionStore;
class TagManager;
class ThemeManager;

/// What the dashboard's figures are computed from; one set serves every model.
struct InsightsDependencies {
    /// The history; created on first use, so the file is read only when a page asks for figures.
    std::function<SessionStore&()> sessionStore;
    ThemeManager& themeManager;
    TagManager& tagManager;
    const Clock& clock;
    const Calendar& calendar;
    DayWatcher& dayWatcher;
    const DailyGoal& dailyGoal;
};
