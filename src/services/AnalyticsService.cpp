#include "AnalyticsService.h"

#include <QCoreApplication>
#include <QSysInfo>

#include "AnalyticsClient.h"
#include "beacon/BeaconConfig.h"
#include "platform/Clock.h"
#include "platform/PreferenceValues.h"
#include "platform/Preferences.h"

namespace {
constexpr double kHeartbeatInterval = 86400.0;
const std::string kApp = "velto";
} // namespace

AnalyticsService::AnalyticsService(Dependencies dependencies, QObject* parent)
    : QObject(parent)
    , m_deps(std::move(dependencies))
{ }

bool AnalyticsService::doNotTrackRequested()
{
    // Only an explicit "0" or "false" lets tracking go ahead; "1", "true", "yes" … all opt out.
    const QString value = qEnvironmentVariable("DO_NOT_TRACK").trimmed();
    return !value.isEmpty() && value != QLatin1String("0")
        && value.compare(QLatin1String("false"), Qt::CaseInsensitive) != 0;
}

QString AnalyticsService::appVersion()
{
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QStringLiteral("unknown") : version;
}

bool AnalyticsService::userAllowsSharing() const
{
    return PreferenceValues::exactBoolean(m_deps.preferences.value(QLatin1String(shareUsageKey)))
        .value_or(true);
}

void AnalyticsService::setUserAllowsSharing(bool allowed)
{
    if (m_deps.doNotTrack)
        return;
    m_deps.preferences.setValue(QLatin1String(shareUsageKey), allowed);
    if (allowed) {
        setup();
    } else if (m_initialized) {
        m_deps.client.close();
        m_initialized = false;
    }
    emit sharingChanged();
}

void AnalyticsService::setup()
{
    if (m_initialized || !isSharing())
        return;
    auto config = std::make_shared<beacon::BeaconConfig>(
        VELTO_ANALYTICS_KEY, m_deps.host.value_or(VELTO_ANALYTICS_HOST));
    config->captureScreenViews = false;
    config->captureApplicationLifecycleEvents = false;
    config->platform = m_deps.platform;
    config->clock = m_deps.clientClock;
    m_deps.client.setup(std::move(config));
    m_deps.client.identify(deviceIdentifier().toStdString());
    m_initialized = true;
    sendHeartbeatIfNeeded();
}

void AnalyticsService::sendHeartbeatIfNeeded()
{
    if (!isSharing())
        return;
    const Instant now = m_deps.clock.now();
    const auto last = PreferenceValues::date(m_deps.preferences.value(QLatin1String(lastHeartbeatKey)));
    // A stored date in the future (the clock was set back) also counts: the next
    // heartbeat waits until a day after it.
    if (last && now.secondsSince(Instant::fromDateTime(*last)) < kHeartbeatInterval)
        return;
    m_deps.client.capture("app_heartbeat",
        { { "app", kApp }, { "version", appVersion().toStdString() },
            { "os_version", QSysInfo::prettyProductName().toStdString() } });
    m_deps.preferences.setValue(QLatin1String(lastHeartbeatKey), now.toDateTime());
}

void AnalyticsService::trackDashboardOpened(const QString& section)
{
    if (!isSharing())
        return;
    m_deps.client.capture(
        "dashboard_opened", { { "app", kApp }, { "section", section.toLower().toStdString() } });
}
