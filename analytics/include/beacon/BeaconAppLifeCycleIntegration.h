#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "beacon/BeaconIntegration.h"
#include "beacon/RegistrationToken.h"

namespace beacon {

class BaseApplicationLifecyclePublisher;
namespace detail {
class IntegrationBinding;
}

/// Records "Application Installed", "Application Updated", "Application Opened" and
/// "Application Backgrounded" from the application's lifecycle. The last seen version and build
/// are kept in "beacon.lifecycle" in the client's storage folder. One client at a time in the whole
/// process may have it installed.
class BeaconAppLifeCycleIntegration final
    : public BeaconIntegration,
      public std::enable_shared_from_this<BeaconAppLifeCycleIntegration> {
public:
    static constexpr const char* versionKey = "BCNVersionKey";
    static constexpr const char* buildKey = "BCNBuildKeyV2";
    static constexpr const char* preferencesFileName = "beacon.lifecycle";

    /// Listens to the process-wide lifecycle publisher unless given another one (which must outlive it).
    static std::shared_ptr<BeaconAppLifeCycleIntegration> create(
        BaseApplicationLifecyclePublisher* publisher = nullptr);
    ~BeaconAppLifeCycleIntegration() override;

    std::string_view name() const override { return "BeaconAppLifeCycleIntegration"; }
    std::optional<std::string> install(const std::shared_ptr<BeaconSDK>& client) override;
    void uninstall(const BeaconSDK& client) override;

    // The three lifecycle reactions; called by the publisher, public for hosts that drive them directly.
    void applicationDidFinishLaunching();
    void applicationDidBecomeActive();
    void applicationDidEnterBackground();

private:
    explicit BeaconAppLifeCycleIntegration(BaseApplicationLifecyclePublisher& publisher);

    /// The client while installed and still alive.
    std::shared_ptr<BeaconSDK> client() const;
    bool capturing(const std::shared_ptr<BeaconSDK>& client) const;

    BaseApplicationLifecyclePublisher& m_publisher;

    const std::unique_ptr<detail::IntegrationBinding> m_binding;
    mutable std::mutex m_lock;
    bool m_isFreshAppLaunch = true; // m_lock
    bool m_isAppBackgrounded = true; // m_lock
    std::unique_ptr<RegistrationToken> m_didBecomeActiveToken; // m_lock
    std::unique_ptr<RegistrationToken> m_didEnterBackgroundToken; // m_lock
    std::unique_ptr<RegistrationToken> m_didFinishLaunchingToken; // m_lock
};

} // namespace beacon
