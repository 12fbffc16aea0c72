#pragma once

#include <QFile>
#include <QList>
#include <QTest>
#include <QUrl>

#include "PopoverFixture.h"
#include "RecordingAnalyticsClient.h"
#include "data/SessionHistoryCodec.h"
#include "insights/HeatmapModel.h"
#include "insights/InsightsModel.h"
#include "insights/TagInsightsModel.h"
#include "services/AnalyticsService.h"
#include "services/HookRunner.h"
#include "services/MediaPlayerSync.h"
#include "services/MprisPlayers.h"
#include "ui/CommandsViewModel.h"
#include "ui/CycleSettingsViewModel.h"
#include "ui/DashboardModels.h"
#include "ui/DashboardNavigation.h"
#include "ui/ExportViewModel.h"
#include "ui/GoalSettingsViewModel.h"
#include "ui/IntegrationsViewModel.h"
#include "ui/QmlPublishing.h"
#include "ui/SettingsViewModel.h"

/// Types Latin-1 text into the window's focused item, key by key.
inline void typeText(QWindow* window, const QString& text)
{
    for (const QChar c : text)
        QTest::keyClick(window, c.toLatin1());
}

/// The dashboard's objects over the popover's real managers; web addresses are
/// recorded instead of opened.
struct DashboardFixture : PopoverFixture {
    /// Starts the history with `records`; only before the store is opened.
    bool writeHistory(const std::vector<SessionRecord>& records)
    {
        if (storePtr)
            return false;
        QFile file(dir.filePath(QStringLiteral("sessions.json")));
        return file.open(QIODevice::WriteOnly)
            && file.write(QByteArray::fromStdString(SessionHistoryCodec::encode(records))) >= 0;
    }
    bool storeIsOpen() const { return storePtr != nullptr; }

    SharedObjects sharedObjects()
    {
        SharedObjects objects = popoverObjects();
        objects.navigation = &navigation;
        objects.integrations = &integrations;
        objects.settings = &settings;
        objects.commands = &commands;
        objects.cycleSettings = &cycleSettings;
        objects.goalSettings = &goalSettings;
        objects.historyExport = &historyExport;
        objects.insights = [this] { return &models.insights(); };
        objects.heatmap = [this] { return &models.heatmap(); };
        objects.tagInsights = [this] { return &models.tagInsights(); };
        return objects;
    }

    QList<QUrl> openedUrls;
    DashboardNavigation navigation { [this](const QUrl& url) {
        openedUrls.append(url);
        return true;
    } };
    MprisPlayers mediaPlayers;
    MediaPlayerSync mediaSync { prefs, mediaPlayers, [] { return false; } };
    IntegrationsViewModel integrations { timer, detector, mediaSync };
    DashboardModels models { [this]() -> SessionStore& { return store(); }, theme, tags, clock, calendar,
        goal };
    /// The login entry lives in the fixture's folder and would run a program that is not there.
    QString autostartPath() const
    {
        return dir.filePath(QStringLiteral("autostart/studio.murv.Velto.desktop"));
    }
    RecordingAnalyticsClient analyticsClient;
    AnalyticsService analytics { { analyticsClient, prefs, clock,
        MachineIdentity({ dir.filePath(QStringLiteral("machine-id")) }), nullptr, false } };
    SettingsViewModel settings { timer, prefs, analytics,
        AutostartEntry(autostartPath(), QStringLiteral("/opt/velto/bin/velto")) };
    HookRunner hooks { prefs, calendar };
    CommandsViewModel commands { hooks, clock };
    CycleSettingsViewModel cycleSettings { timer };
    GoalSettingsViewModel goalSettings { goal };
    /// The file chooser answers with `exportPath` (empty: cancelled) and remembers what it was offered.
    QString exportPath;
    QString exportSuggestion;
    ExportViewModel historyExport { { [this]() -> SessionStore& { return store(); }, clock, calendar,
        [this](const QString& suggestion) {
            exportSuggestion = suggestion;
            return exportPath;
        } } };
};
