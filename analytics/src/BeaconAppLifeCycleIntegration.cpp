#include "beacon/BeaconAppLifeCycleIntegration.h"

#include "BeaconIntegrationBinding.h"
#include "beacon/ApplicationLifecyclePublisher.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconContext.h"
#include "beacon/BeaconLog.h"
#include "beacon/BeaconPlatform.h"
#include "beacon/BeaconPreferenceStore.h"
#include "beacon/BeaconSDK.h"
#include "beacon/BeaconStorage.h"

namespace beacon {
namespace {
// Lifecycle callbacks are process-wide: two clients recording them would count every launch twice.
detail::IntegrationBinding::Kind g_lifecycleIntegrations;
} // namespace

std::shared_ptr<BeaconAppLifeCycleIntegration> BeaconAppLifeCycleIntegration::create(
    BaseApplicationLifecyclePublisher* publisher)
{
    return std::shared_ptr<BeaconAppLifeCycleIntegration>(
        new BeaconAppLifeCycleIntegration(publisher ? *publisher : ApplicationLifecyclePublisher::shared()));
}

BeaconAppLifeCycleIntegration::BeaconAppLifeCycleIntegration(BaseApplicationLifecyclePublisher& publisher)
    : m_publisher(publisher)
    , m_binding(std::make_unique<detail::IntegrationBinding>(g_lifecycleIntegrations))
{ }

BeaconAppLifeCycleIntegration::~BeaconAppLifeCycleIntegration() = default;

std::optional<std::string> BeaconAppLifeCycleIntegration::install(const std::shared_ptr<BeaconSDK>& client)
{
    if (!client)
        return std::string("no client");
    switch (m_binding->bind(client)) {
    case detail::IntegrationBinding::Result::taken:
        return std::string("App life cycle integration already installed to another BeaconSDK instance.");
    case detail::IntegrationBinding::Result::alreadyBound:
        return std::nullopt;
    case detail::IntegrationBinding::Result::bound:
        break;
    }
    // Registered outside the lock: a callback may be delivered at once.
    const std::weak_ptr<BeaconAppLifeCycleIntegration> weak = weak_from_this();
    auto launching = m_publisher.registerDidFinishLaunching([weak] {
        if (const auto self = weak.lock())
            self->applicationDidFinishLaunching();
    });
    auto active = m_publisher.registerDidBecomeActive([weak] {
        if (const auto self = weak.lock())
            self->applicationDidBecomeActive();
    });
    auto background = m_publisher.registerDidEnterBackground([weak] {
        if (const auto self = weak.lock())
            self->applicationDidEnterBackground();
    });
    const std::lock_guard lock(m_lock);
    // Uninstalled meanwhile: the registrations go with the local tokens, after the lock is released.
    if (!m_binding->isBound())
        return std::nullopt;
    m_didFinishLaunchingToken = std::move(launching);
    m_didBecomeActiveToken = std::move(active);
    m_didEnterBackgroundToken = std::move(background);
    return std::nullopt;
}

void BeaconAppLifeCycleIntegration::uninstall(const BeaconSDK& client)
{
    std::unique_ptr<RegistrationToken> tokens[3];
    {
        // Unbound and emptied in one step, so that an install meanwhile keeps its own registrations.
        const std::lock_guard lock(m_lock);
        if (!m_binding->unbind(client))
            return;
        tokens[0] = std::move(m_didFinishLaunchingToken);
        tokens[1] = std::move(m_didBecomeActiveToken);
        tokens[2] = std::move(m_didEnterBackgroundToken);
    }
    // Released here, outside the lock: each release takes the publisher's lock.
}

std::shared_ptr<BeaconSDK> BeaconAppLifeCycleIntegration::client() const
{
    return m_binding->client();
}

bool BeaconAppLifeCycleIntegration::capturing(const std::shared_ptr<BeaconSDK>& client) const
{
    const std::shared_ptr<const BeaconConfig> config = client->config();
    return config && config->captureApplicationLifecycleEvents;
}

void BeaconAppLifeCycleIntegration::applicationDidFinishLaunching()
{
    const auto beacon = client();
    if (!beacon)
        return;
    if (!capturing(beacon)) {
        debugLog("[Beacon] Skipping Application Installed/Application Updated event - "
                 "captureApplicationLifecycleEvents is disabled in configuration");
        return;
    }
    const std::shared_ptr<const BeaconConfig> config = beacon->config();
    const BeaconApplicationInfo& application = platformOrHeadless(config->platform)->application;

    const std::optional<std::filesystem::path> folder = BeaconStorage::folderFor(*config);
    BeaconPreferenceStore preferences(folder ? *folder / preferencesFileName : std::filesystem::path());
    const std::optional<std::string> previousVersion = preferences.string(versionKey);
    // A launch without a build is remembered as null, not as no entry: otherwise every launch of such
    // an application would count as a new installation.
    const std::optional<nlohmann::json> storedBuild = preferences.value(buildKey);
    const std::optional<std::string> previousBuild = storedBuild && storedBuild->is_string()
        ? std::optional(storedBuild->get<std::string>())
        : std::nullopt;

    BeaconProperties properties;
    if (application.shortVersion)
        properties["version"] = *application.shortVersion;
    if (application.build)
        properties["build"] = BeaconPropertyValue(appBuildValue(*application.build));
    if (!storedBuild) {
        beacon->capture("Application Installed", properties);
    } else if (previousBuild != application.build) {
        if (previousVersion)
            properties["previous_version"] = *previousVersion;
        if (previousBuild)
            properties["previous_build"] = BeaconPropertyValue(appBuildValue(*previousBuild));
        beacon->capture("Application Updated", properties);
    }
    if (application.shortVersion)
        preferences.setValue(versionKey, *application.shortVersion);
    else
        preferences.removeValue(versionKey);
    preferences.setValue(
        buildKey, application.build ? nlohmann::json(*application.build) : nlohmann::json(nullptr));
    preferences.synchronize();
}

void BeaconAppLifeCycleIntegration::applicationDidBecomeActive()
{
    const auto beacon = client();
    if (!beacon)
        return;
    bool freshLaunch = false;
    {
        const std::lock_guard lock(m_lock);
        if (!m_isAppBackgrounded) {
            debugLog("[Beacon] Skipping Application Opened event - app already in foreground");
            return;
        }
        m_isAppBackgrounded = false;
        freshLaunch = m_isFreshAppLaunch;
    }
    if (!capturing(beacon)) {
        debugLog("[Beacon] Skipping Application Opened event - captureApplicationLifecycleEvents is disabled "
                 "in configuration");
        return;
    }
    BeaconProperties properties { { "from_background", !freshLaunch } };
    if (freshLaunch) {
        const std::shared_ptr<const BeaconConfig> config = beacon->config();
        const BeaconApplicationInfo& application = platformOrHeadless(config->platform)->application;
        if (application.shortVersion)
            properties["version"] = *application.shortVersion;
        if (application.build)
            properties["build"] = BeaconPropertyValue(appBuildValue(*application.build));
    }
    beacon->capture("Application Opened", properties);
    const std::lock_guard lock(m_lock);
    m_isFreshAppLaunch = false;
}

void BeaconAppLifeCycleIntegration::applicationDidEnterBackground()
{
    const auto beacon = client();
    if (!beacon)
        return;
    {
        const std::lock_guard lock(m_lock);
        if (m_isAppBackgrounded)
            return;
        m_isAppBackgrounded = true;
    }
    if (!capturing(beacon)) {
        debugLog("[Beacon] Skipping Application Backgrounded event - captureApplicationLifecycleEvents is "
                 "disabled in configuration");
        return;
    }
    beacon->capture("Application Backgrounded");
}

} // namespace beacon
