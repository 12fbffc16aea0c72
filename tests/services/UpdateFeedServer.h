#pragma once

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <string>

#include "FakeClock.h"
#include "LoopbackHttpServer.h"
#include "MemoryPreferences.h"
#include "services/UpdateManager.h"

/// A feed with one release of `version`, offered at https://murv.studio/velto/<version>.
inline std::string appcastNaming(const std::string& version)
{
    return "<?xml version=\"1.0\"?><rss version=\"2.0\" "
           "xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\"><channel>"
           "<item><sparkle:shortVersionString>"
        + version + "</sparkle:shortVersionString><link>https://murv.studio/velto/" + version
        + "</link></item></channel></rss>";
}

/// An update feed on a loopback server, and the preferences and clock an update manager needs.
class UpdateFeedTest : public ::testing::Test {
protected:
    static constexpr int generousWaitMs = 10'000;

    void serve(beacon::test::CannedResponse response)
    {
        server.setResponse("/appcast.xml", std::move(response));
    }
    void serveVersion(const std::string& version)
    {
        serve({ .status = 200, .body = appcastNaming(version), .contentType = "application/rss+xml" });
    }

    UpdaterSettings settings() const
    {
        UpdaterSettings settings;
        settings.feedUrl = QUrl(QString::fromStdString(server.baseUrl() + "/appcast.xml"));
        settings.currentVersion = QStringLiteral("1.0.0");
        return settings;
    }

    static UpdateCheckResult resultOf(const QSignalSpy& spy, qsizetype index = 0)
    {
        return spy.at(index).at(0).value<UpdateCheckResult>();
    }

    beacon::test::LoopbackHttpServer server;
    MemoryPreferences prefs;
    FakeClock clock;
};
