#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "beacon/BeaconLifecycleSource.h"
#include "beacon/RegistrationToken.h"

namespace beacon {

/// Fans the application's lifecycle changes out to registered callbacks. Callbacks run
/// on the thread that delivers the change, outside the registration lock, so they may
/// register or release tokens themselves.
class BaseApplicationLifecyclePublisher {
public:
    using Callback = std::function<void()>;

    BaseApplicationLifecyclePublisher();
    virtual ~BaseApplicationLifecyclePublisher();
    BaseApplicationLifecyclePublisher(const BaseApplicationLifecyclePublisher&) = delete;
    BaseApplicationLifecyclePublisher& operator=(const BaseApplicationLifecyclePublisher&) = delete;

    /// Each stays registered until its token is released (the token may outlive the publisher).
    [[nodiscard]] std::unique_ptr<RegistrationToken> registerDidBecomeActive(Callback callback);
    [[nodiscard]] std::unique_ptr<RegistrationToken> registerDidEnterBackground(Callback callback);
    [[nodiscard]] std::unique_ptr<RegistrationToken> registerDidFinishLaunching(Callback callback);

protected:
    /// Calls every callback registered for `event`.
    void publish(BeaconLifecycleEvent event);

    struct Registry;
    static void publish(Registry& registry, BeaconLifecycleEvent event);
    std::shared_ptr<Registry> m_registry;

private:
    std::unique_ptr<RegistrationToken> add(BeaconLifecycleEvent event, Callback callback);
};

/// The publisher fed by the platform's lifecycle source.
class ApplicationLifecyclePublisher final : public BaseApplicationLifecyclePublisher {
public:
    ApplicationLifecyclePublisher() = default;
    explicit ApplicationLifecyclePublisher(const std::shared_ptr<BeaconLifecycleSource>& source);
    /// Stops listening to its source.
    ~ApplicationLifecyclePublisher() override;

    /// The process-wide instance; it listens to nothing until `observe` is called.
    static ApplicationLifecyclePublisher& shared();

    /// Listens to `source` from now on, letting go of the previous one; null stops listening.
    void observe(const std::shared_ptr<BeaconLifecycleSource>& source);

private:
    std::mutex m_sourceLock;
    std::shared_ptr<BeaconLifecycleSource> m_source; // m_sourceLock
};

} // namespace beacon
