#pragma once

#include <QtQml/qqml.h>

#include "CommandsViewModel.h"
#include "CycleSettingsViewModel.h"
#include "DashboardNavigation.h"
#include "ExportViewModel.h"
#include "FocusProtectionViewModel.h"
#include "GoalSettingsViewModel.h"
#include "IntegrationsViewModel.h"
#include "MiniTimerViewModel.h"
#include "SettingsViewModel.h"
#include "ThemeColors.h"
#include "data/TagManager.h"
#include "data/ThemeManager.h"
#include "insights/HeatmapModel.h"
#include "insights/InsightsModel.h"
#include "insights/TagInsightsModel.h"
#include "services/IntegrationDetector.h"
#include "timer/TimerManager.h"
#include "timer/TimerState.h"

class QJSEngine;
class QQmlEngine;

// The shared objects main() builds, declared to the "Velto" module at build time so that
// tools know every name and property. Each singleton is named after its class and hands
// out the instance QmlPublishing::publish() was given; C++ keeps ownership, so several
// engines (a test's, one after another) can serve the same objects.

struct TimerManagerSingleton {
    Q_GADGET
    QML_FOREIGN(TimerManager)
    QML_SINGLETON
    QML_NAMED_ELEMENT(TimerManager)
public:
    static TimerManager* create(QQmlEngine* engine, QJSEngine* scriptEngine);
};

struct TagManagerSingleton {
    Q_GADGET
    QML_FOREIGN(TagManager)
    QML_SINGLETON
    QML_NAMED_ELEMENT(TagManager)
public:
    static TagManager* create(QQmlEngine* engine, QJSEngine* scriptEngine);
};

struct ThemeManagerSingleton {
    Q_GADGET
    QML_FOREIGN(ThemeManager)
    QML_SINGLETON
    QML_NAMED_ELEMENT(ThemeManager)
public:
    static ThemeManager* create(QQmlEngine* engine, QJSEngine* scriptEngine);
};

struct ThemeColorsSingleton {
    Q_GADGET
    QML_FOREIGN(ThemeColors)
    QML_SINGLETON
    QML_NAMED_ELEMENT(ThemeColors)
public:
    static ThemeColors* create(QQmlEngine* engine, QJSEngine* scriptEngine);
};

struct IntegrationDetectorSingleton {
    Q_GADGET
    QML_FOREIGN(IntegrationDetector)
    QML_SINGLETON
    QML_NAMED_ELEMENT(IntegrationDetector)
public:
    static IntegrationDetector* create(QQmlEngine* engine, QJSEngine* scriptEngine);
};

struct MiniTimerViewModelSingleton {
    Q_GADGET
    QML_FOREIGN(MiniTimerViewModel)
    QML_SINGLETON
    QML_NAMED_ELEMENT(MiniTimerViewModel)
public:
    static MiniTimerViewModel* create(QQmlEngine* engine, QJSEngine* scriptEngine);
};

struct DashboardNavigationSingleton {
    Q_GADGET
    QML_FOREIGN(DashboardNavigation)
    QML_SINGLETON
    QML_NAMED_ELEMENT(DashboardNavigation)
public:
    static DashboardNavigation* create(QQmlEngine* engine, QJSEngine* scriptEngine);
};

struct IntegrationsViewModelSingleton {
    Q_GADGET
    QML_FOREIGN(IntegrationsViewModel)
    QML_SINGLETON
    QML_NAMED_ELEMENT(IntegrationsViewModel)
public:
    static IntegrationsViewModel* create(QQmlEngine* engine, QJSEngine* scriptEngine);
};

struct SettingsViewModelSingleton {
    Q_GADGET
    QML_FOREIGN(SettingsViewModel)
    QML_SINGLETON
    QML_NAMED_ELEMENT(SettingsViewModel)
public:
    static SettingsViewModel* create(QQmlEngine* engine, QJSEngine* scriptEngine);
};

struct CommandsViewModelSingleton {
    Q_GADGET
    QML_FOREIGN(CommandsViewModel)
    QML_SINGLETON
    QML_NAMED_ELEMENT(CommandsViewModel)
public:
    static CommandsViewModel* create(QQmlEngine* engine, QJSEngine* scriptEngine);
};

struct CycleSettingsViewModelSingleton {
    Q_GADGET
    QML_FOREIGN(CycleSettingsViewModel)
    QML_SINGLETON
    QML_NAMED_ELEMENT(CycleSettingsViewModel)
public:
    static CycleSettingsViewModel* create(QQmlEngine* engine, QJSEngine* scriptEngine);
};

struct GoalSettingsViewModelSingleton {
    Q_GADGET
    QML_FOREIGN(GoalSettingsViewModel)
    QML_SINGLETON
    QML_NAMED_ELEMENT(GoalSettingsViewModel)
public:
    static GoalSettingsViewModel* create(QQmlEngine* engine, QJSEngine* scriptEngine);
};

struct ExportViewModelSingleton {
    Q_GADGET
    QML_FOREIGN(ExportViewModel)
    QML_SINGLETON
    QML_NAMED_ELEMENT(ExportViewModel)
public:
    static ExportViewModel* create(QQmlEngine* engine, QJSEngine* scriptEngine);
};

struct FocusProtectionViewModelSingleton {
    Q_GADGET
    QML_FOREIGN(FocusProtectionViewModel)
    QML_SINGLETON
    QML_NAMED_ELEMENT(FocusProtectionViewModel)
public:
    static FocusProtectionViewModel* create(QQmlEngine* engine, QJSEngine* scriptEngine);
};

/// Made when a page first asks for it, so the history is read then.
struct InsightsModelSingleton {
    Q_GADGET
    QML_FOREIGN(InsightsModel)
    QML_SINGLETON
    QML_NAMED_ELEMENT(InsightsModel)
public:
    static InsightsModel* create(QQmlEngine* engine, QJSEngine* scriptEngine);
};

struct HeatmapModelSingleton {
    Q_GADGET
    QML_FOREIGN(HeatmapModel)
    QML_SINGLETON
    QML_NAMED_ELEMENT(HeatmapModel)
public:
    static HeatmapModel* create(QQmlEngine* engine, QJSEngine* scriptEngine);
};

struct TagInsightsModelSingleton {
    Q_GADGET
    QML_FOREIGN(TagInsightsModel)
    QML_SINGLETON
    QML_NAMED_ELEMENT(TagInsightsModel)
public:
    static TagInsightsModel* create(QQmlEngine* engine, QJSEngine* scriptEngine);
};

/// The timer's states as values: TimerState.work and so on.
namespace TimerStateForeign {
Q_NAMESPACE
QML_FOREIGN_NAMESPACE(Velto)
QML_NAMED_ELEMENT(TimerState)
} // namespace TimerStateForeign
