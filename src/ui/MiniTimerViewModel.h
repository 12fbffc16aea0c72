#pragma once

#include <QColor>
#include <QObject>
#include <QVariantList>

#include "ColorPickerModel.h"

class DailyGoal;
class IntegrationDetector;
class Preferences;
class TagManager;
class ThemeColors;
class TimerManager;

/// What the popover shows and what its controls do, beyond the timer engine's own
/// operations: colours by role, the preset chips, the status and time texts, the
/// tag picker's rules, the overlays and the sync button.
///
/// The selected tab is the engine's `selectedModeIsFocus`, so the popover, the
/// tray icon and the play button always agree on it; which controls apply is the engine's word too.
class MiniTimerViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool focusTabSelected READ focusTabSelected NOTIFY selectedTabChanged)
    Q_PROPERTY(QColor activeColor READ activeColor NOTIFY colorsChanged)
    Q_PROPERTY(QColor tabColor READ tabColor NOTIFY colorsChanged)
    Q_PROPERTY(QColor focusColor READ focusColor NOTIFY colorsChanged)
    Q_PROPERTY(QList<int> presetMinutes READ presetMinutes NOTIFY selectedTabChanged)
    /// The chip whose minutes match the selected tab's duration, or 0.
    Q_PROPERTY(int selectedPreset READ selectedPreset NOTIFY presetChanged)
    Q_PROPERTY(QString statusText READ statusText NOTIFY displayChanged)
    Q_PROPERTY(QString timeText READ timeText NOTIFY displayChanged)
    Q_PROPERTY(bool canSkipOrReset READ canSkipOrReset NOTIFY canSkipOrResetChanged)
    /// The small button beside Skip that adds `extendMinutes`: its face ("+5") and its name ("+5 min").
    Q_PROPERTY(QString extendText READ extendText CONSTANT)
    Q_PROPERTY(QString extendName READ extendName CONSTANT)
    /// A tab switch just stopped an interval that Undo can still bring back.
    Q_PROPERTY(bool canUndoDiscard READ canUndoDiscard NOTIFY discardChanged)
    /// "Focus discarded" or "Break discarded" while Undo applies, else empty.
    Q_PROPERTY(QString discardNote READ discardNote NOTIFY discardChanged)
    /// How far the running interval is, 0 to 1, for the ring.
    Q_PROPERTY(double progress READ progress NOTIFY displayChanged)
    Q_PROPERTY(QString currentTag READ currentTag NOTIFY tagsChanged)
    Q_PROPERTY(QColor currentTagColor READ currentTagColor NOTIFY tagsChanged)
    Q_PROPERTY(bool showsTagChip READ showsTagChip NOTIFY tagsChanged)
    /// One entry per available tag: { name, color, current }.
    Q_PROPERTY(QVariantList tagRows READ tagRows NOTIFY tagsChanged)
    Q_PROPERTY(bool tagPickerOpen READ tagPickerOpen NOTIFY overlaysChanged)
    Q_PROPERTY(bool colorPickerOpen READ colorPickerOpen NOTIFY overlaysChanged)
    Q_PROPERTY(bool colorTipShown READ colorTipShown NOTIFY overlaysChanged)
    Q_PROPERTY(ColorPickerModel* colorPicker READ colorPicker CONSTANT)
    Q_PROPERTY(bool calmixRunning READ calmixRunning NOTIFY syncChanged)
    Q_PROPERTY(QString syncToolTip READ syncToolTip NOTIFY syncChanged)
    /// Today's count of focus intervals: "3", or "3 of 8 sessions" with a daily goal.
    Q_PROPERTY(QString dailySessionsText READ dailySessionsText NOTIFY dailySessionsChanged)
    /// The word under it ("session", "sessions", or "daily goal").
    Q_PROPERTY(QString dailySessionsCaption READ dailySessionsCaption NOTIFY dailySessionsChanged)
    Q_PROPERTY(bool hasDailyGoal READ hasDailyGoal NOTIFY dailySessionsChanged)
    /// How much of the daily goal is done, 0 to 1.
    Q_PROPERTY(double dailyGoalProgress READ dailyGoalProgress NOTIFY dailySessionsChanged)

public:
    static constexpr const char* colorTipDismissedKey = "colorTipDismissed";
    /// What the popover's extend button adds.
    static constexpr int extendMinutes = 5;

    MiniTimerViewModel(TimerManager& timer, TagManager& tags, ThemeColors& colors,
        IntegrationDetector& detector, Preferences& preferences, const DailyGoal& goal,
        QObject* parent = nullptr);

    bool focusTabSelected() const;
    QColor activeColor() const;
    QColor tabColor() const;
    QColor focusColor() const;
    QList<int> presetMinutes() const;
    int selectedPreset() const;
    QString statusText() const;
    QString timeText() const;
    bool canSkipOrReset() const;
    bool canUndoDiscard() const;
    QString discardNote() const;
    QString extendText() const;
    QString extendName() const;
    /// Adds `extendMinutes` to the current interval.
    Q_INVOKABLE void extend();
    double progress() const;
    /// Whether the view is on screen. While it is not, the countdown's per-second changes
    /// are not announced, so a hidden popover re-evaluates nothing; showing it again
    /// announces the current values once.
    Q_INVOKABLE void setLive(bool live);
    QString currentTag() const;
    QColor currentTagColor() const;
    bool showsTagChip() const;
    QVariantList tagRows() const;
    bool tagPickerOpen() const { return m_tagPickerOpen; }
    bool colorPickerOpen() const { return m_colorPickerOpen; }
    bool colorTipShown() const { return m_colorTipShown; }
    ColorPickerModel* colorPicker() { return &m_colorPicker; }
    bool calmixRunning() const;
    QString syncToolTip() const;
    QString dailySessionsText() const;
    QString dailySessionsCaption() const;
    bool hasDailyGoal() const;
    double dailyGoalProgress() const;

    /// "Focus" or "Break".
    Q_INVOKABLE static QString tabTitle(bool focusTab);
    /// Shows the Focus or the Break tab; an armed interval is stopped, and Undo can bring it back.
    Q_INVOKABLE void selectTab(bool focusTab);
    Q_INVOKABLE void undoDiscard();
    Q_INVOKABLE void choosePreset(int minutes);
    Q_INVOKABLE void toggleTagPicker();
    Q_INVOKABLE void closeTagPicker();
    /// Makes `name` the tag of the next focus interval if it still exists; closes the picker either way.
    Q_INVOKABLE void chooseTag(const QString& name);
    Q_INVOKABLE void clearTag();
    /// Opens the colour picker for the focus or the break colour.
    Q_INVOKABLE void openColorPicker(bool forFocus);
    Q_INVOKABLE void closeColorPicker();
    Q_INVOKABLE void applyColor();
    Q_INVOKABLE void dismissColorTip();
    /// Toggles music sync while Calmix runs; otherwise shows where to get it.
    Q_INVOKABLE void syncPressed();
    Q_INVOKABLE void openDashboard(const QString& section);

signals:
    void selectedTabChanged();
    void colorsChanged();
    void presetChanged();
    void displayChanged();
    void canSkipOrResetChanged();
    void tagsChanged();
    void overlaysChanged();
    void syncChanged();
    void discardChanged();
    void dailySessionsChanged();
    /// The host opens a dashboard window on this section.
    void dashboardRequested(const QString& section);

private:
    double selectedTabDuration() const;

    TimerManager& m_timer;
    TagManager& m_tags;
    ThemeColors& m_colors;
    IntegrationDetector& m_detector;
    Preferences& m_preferences;
    const DailyGoal& m_goal;
    ColorPickerModel m_colorPicker;
    bool m_tagPickerOpen = false;
    bool m_colorPickerOpen = false;
    bool m_colorTipShown = false;
    bool m_live = true;
};
