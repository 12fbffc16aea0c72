#include "MiniTimerViewModel.h"

#include <QVariantMap>
#include <cmath>

#include "ThemeColors.h"
#include "data/TagManager.h"
#include "data/ThemeManager.h"
#include "platform/PreferenceValues.h"
#include "platform/Preferences.h"
#include "services/IntegrationDetector.h"
#include "timer/ClockText.h"
#include "timer/DailyGoal.h"
#include "timer/TimerManager.h"

MiniTimerViewModel::MiniTimerViewModel(TimerManager& timer, TagManager& tags, ThemeColors& colors,
    IntegrationDetector& detector, Preferences& preferences, const DailyGoal& goal, QObject* parent)
    : QObject(parent)
    , m_timer(timer)
    , m_tags(tags)
    , m_colors(colors)
    , m_detector(detector)
    , m_preferences(preferences)
    , m_goal(goal)
    , m_colorPicker(colors.themeManager())
{
    m_colorTipShown = !PreferenceValues::boolean(preferences.value(QLatin1String(colorTipDismissedKey)));

    const auto displayChanges = { &TimerManager::currentStateChanged, &TimerManager::isRunningChanged,
        &TimerManager::selectedModeIsFocusChanged, &TimerManager::workDurationChanged,
        &TimerManager::shortBreakDurationChanged };
    for (auto signal : displayChanges)
        connect(&timer, signal, this, &MiniTimerViewModel::displayChanged);
    // The countdown changes every second: only a view on screen needs to hear it.
    for (auto signal : { &TimerManager::timeRemainingChanged, &TimerManager::progressChanged }) {
        connect(&timer, signal, this, [this] {
            if (m_live)
                emit displayChanged();
        });
    }
    for (auto signal : { &TimerManager::selectedModeIsFocusChanged, &TimerManager::workDurationChanged,
             &TimerManager::shortBreakDurationChanged })
        connect(&timer, signal, this, &MiniTimerViewModel::presetChanged);
    connect(&timer, &TimerManager::selectedModeIsFocusChanged, this, [this] {
        emit selectedTabChanged();
        emit colorsChanged();
        emit tagsChanged(); // the tag chip shows on the Focus tab only
    });
    connect(&timer, &TimerManager::currentStateChanged, this, &MiniTimerViewModel::colorsChanged);
    connect(&timer, &TimerManager::currentStateChanged, this, &MiniTimerViewModel::canSkipOrResetChanged);
    connect(&timer, &TimerManager::discardChanged, this, &MiniTimerViewModel::discardChanged);
    connect(&timer, &TimerManager::calmixSyncEnabledChanged, this, &MiniTimerViewModel::syncChanged);
    connect(&timer, &TimerManager::dailySessionsChanged, this, &MiniTimerViewModel::dailySessionsChanged);
    connect(&goal, &DailyGoal::goalChanged, this, &MiniTimerViewModel::dailySessionsChanged);
    connect(&colors, &ThemeColors::colorsChanged, this, &MiniTimerViewModel::colorsChanged);
    for (auto signal : { &TagManager::availableTagsChanged, &TagManager::currentSessionTagChanged,
             &TagManager::tagColorMapChanged })
        connect(&tags, signal, this, &MiniTimerViewModel::tagsChanged);
    connect(&detector, &IntegrationDetector::isCalmixRunningChanged, this, &MiniTimerViewModel::syncChanged);
}

void MiniTimerViewModel::setLive(bool live)
{
    if (live == m_live)
        return;
    m_live = live;
    if (m_live)
        emit displayChanged();
}

double MiniTimerViewModel::progress() const
{
    return m_timer.progress();
}

bool MiniTimerViewModel::focusTabSelected() const
{
    return m_timer.selectedModeIsFocus();
}

QColor MiniTimerViewModel::focusColor() const
{
    return m_colors.focusColor();
}

QColor MiniTimerViewModel::activeColor() const
{
    switch (m_timer.currentState()) {
    case TimerState::work:
        return m_colors.focusColor();
    case TimerState::shortBreak:
    case TimerState::longBreak:
        return m_colors.breakColor();
    case TimerState::idle:
        break;
    }
    return tabColor();
}

QColor MiniTimerViewModel::tabColor() const
{
    return focusTabSelected() ? m_colors.focusColor() : m_colors.breakColor();
}

QList<int> MiniTimerViewModel::presetMinutes() const
{
    return focusTabSelected() ? QList<int> { 25, 50, 90 } : QList<int> { 5, 10, 15 };
}

double MiniTimerViewModel::selectedTabDuration() const
{
    return focusTabSelected() ? m_timer.workDuration() : m_timer.shortBreakDuration();
}

int MiniTimerViewModel::selectedPreset() const
{
    const double minutes = std::trunc(selectedTabDuration() / 60.0);
    for (const int preset : presetMinutes()) {
        if (minutes == preset)
            return preset;
    }
    return 0;
}

QString MiniTimerViewModel::statusText() const
{
    if (m_timer.currentState() != TimerState::idle)
        return Velto::stateTitle(m_timer.currentState());
    return focusTabSelected() ? tr("Ready") : tr("Relax");
}

QString MiniTimerViewModel::timeText() const
{
    if (m_timer.currentState() != TimerState::idle)
        return m_timer.timeString();
    return clockText(selectedTabDuration());
}

bool MiniTimerViewModel::canSkipOrReset() const
{
    return m_timer.canSkipOrReset();
}

QString MiniTimerViewModel::extendText() const
{
    return tr("+%1").arg(extendMinutes);
}

QString MiniTimerViewModel::extendName() const
{
    return tr("+%1 min").arg(extendMinutes);
}

void MiniTimerViewModel::extend()
{
    m_timer.extend(extendMinutes);
}

bool MiniTimerViewModel::canUndoDiscard() const
{
    return m_timer.canUndoDiscard();
}

QString MiniTimerViewModel::discardNote() const
{
    switch (m_timer.discardedState()) {
    case TimerState::idle:
        break;
    case TimerState::work:
        return tr("Focus discarded");
    case TimerState::shortBreak:
    case TimerState::longBreak:
        return tr("Break discarded");
    }
    return {};
}

QString MiniTimerViewModel::currentTag() const
{
    return m_tags.currentSessionTagText();
}

QColor MiniTimerViewModel::currentTagColor() const
{
    const QString tag = currentTag();
    return tag.isEmpty() ? QColor() : ThemeColors::rgb(m_tags.colorForTag(tag));
}

bool MiniTimerViewModel::showsTagChip() const
{
    return focusTabSelected() && m_tags.currentSessionTag().has_value();
}

QVariantList MiniTimerViewModel::tagRows() const
{
    const std::optional<QString> current = m_tags.currentSessionTag();
    QVariantList rows;
    for (const QString& tag : m_tags.availableTags())
        rows.append(QVariantMap { { QStringLiteral("name"), tag },
            { QStringLiteral("color"), ThemeColors::rgb(m_tags.colorForTag(tag)) },
            { QStringLiteral("current"), current == tag } });
    return rows;
}

bool MiniTimerViewModel::calmixRunning() const
{
    return m_detector.isCalmixRunning();
}

QString MiniTimerViewModel::syncToolTip() const
{
    if (!m_detector.isCalmixRunning())
        return tr("Open Calmix to enable sync");
    return m_timer.calmixSyncEnabled() ? tr("Calmix sync on") : tr("Calmix sync off");
}

QString MiniTimerViewModel::dailySessionsText() const
{
    return m_goal.isOn() ? m_goal.progressText(m_timer.dailySessions())
                         : QString::number(m_timer.dailySessions());
}

QString MiniTimerViewModel::dailySessionsCaption() const
{
    if (m_goal.isOn())
        return tr("daily goal", "caption under today's count of the goal");
    return tr("sessions", "caption under today's count", m_timer.dailySessions());
}

bool MiniTimerViewModel::hasDailyGoal() const
{
    return m_goal.isOn();
}

double MiniTimerViewModel::dailyGoalProgress() const
{
    return m_goal.progress(m_timer.dailySessions());
}

QString MiniTimerViewModel::tabTitle(bool focusTab)
{
    return focusTab ? Velto::stateTitle(TimerState::work) : tr("Break");
}

void MiniTimerViewModel::selectTab(bool focusTab)
{
    m_timer.selectTab(focusTab);
}

void MiniTimerViewModel::undoDiscard()
{
    m_timer.undoDiscard();
}

void MiniTimerViewModel::choosePreset(int minutes)
{
    if (focusTabSelected())
        m_timer.setWorkDuration(minutes);
    else
        m_timer.setBreakDuration(minutes);
}

void MiniTimerViewModel::toggleTagPicker()
{
    m_tagPickerOpen = !m_tagPickerOpen;
    emit overlaysChanged();
}

void MiniTimerViewModel::closeTagPicker()
{
    if (!m_tagPickerOpen)
        return;
    m_tagPickerOpen = false;
    emit overlaysChanged();
}

void MiniTimerViewModel::chooseTag(const QString& name)
{
    // The list may have changed while the picker was open (a tag deleted on the dashboard).
    if (m_tags.availableTags().contains(name))
        m_tags.chooseCurrentTag(name);
    closeTagPicker();
}

void MiniTimerViewModel::clearTag()
{
    m_tags.chooseCurrentTag(QString());
    closeTagPicker();
}

void MiniTimerViewModel::openColorPicker(bool forFocus)
{
    m_colorPicker.begin(forFocus);
    m_colorPickerOpen = true;
    emit overlaysChanged();
}

void MiniTimerViewModel::closeColorPicker()
{
    if (!m_colorPickerOpen)
        return;
    m_colorPickerOpen = false;
    emit overlaysChanged();
}

void MiniTimerViewModel::applyColor()
{
    m_colorPicker.apply();
    closeColorPicker();
}

void MiniTimerViewModel::dismissColorTip()
{
    m_preferences.setValue(QLatin1String(colorTipDismissedKey), true);
    if (!m_colorTipShown)
        return;
    m_colorTipShown = false;
    emit overlaysChanged();
}

void MiniTimerViewModel::syncPressed()
{
    if (m_detector.isCalmixRunning())
        m_timer.toggleCalmixSync();
    else
        emit dashboardRequested(QStringLiteral("integrations"));
}

void MiniTimerViewModel::openDashboard(const QString& section)
{
    emit dashboardRequested(section);
}
