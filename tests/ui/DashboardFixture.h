#pragma once

#include <QFile>
#include <QList>
#include <QTest>
#include <QUrl>

#include "PopoverFixture.h"
#include "data/SessionHistoryCodec.h"
#include "insights/HeatmapModel.h"
#include "insights/InsightsModel.h"
#include "insights/TagInsightsModel.h"
#include "ui/DashboardModels.h"
#include "ui/DashboardNavigation.h"
#include "ui/IntegrationsViewModel.h"
#include "ui/QmlPublishing.h"

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
        SharedObjects objects { &timer, &tags, &theme, &colors, &detector, &popover };
        objects.navigation = &navigation;
        objects.integrations = &integrations;
        objects.insights = [this] { return static_cast<QObject*>(&models.insights()); };
        objects.heatmap = [this] { return static_cast<QObject*>(&models.heatmap()); };
        objects.tagInsights = [this] { return static_cast<QObject*>(&models.tagInsights()); };
        return objects;
    }

    QList<QUrl> openedUrls;
    DashboardNavigation navigation { [this](const QUrl& url) {
        openedUrls.append(url);
        return true;
    } };
    IntegrationsViewModel integrations { timer, detector };
    DashboardModels models { [this]() -> SessionStore& { return store(); }, theme, tags, clock, calendar };
};
