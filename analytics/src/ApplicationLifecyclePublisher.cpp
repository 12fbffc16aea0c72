#include "beacon/ApplicationLifecyclePublisher.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace beacon {

struct BaseApplicationLifecyclePublisher::Registry {
    struct Entry {
        std::uint64_t id;
        std::shared_ptr<const Callback> callback;
    };
    std::mutex registrationLock; // guards everything below
    std::vector<Entry> didBecomeActiveCallbacks;
    std::vector<Entry> didEnterBackgroundCallbacks;
    std::vector<Entry> didFinishLaunchingCallbacks;
    std::uint64_t nextId = 1;

    std::vector<Entry>& callbacks(BeaconLifecycleEvent event)
    {
        switch (event) {
        case BeaconLifecycleEvent::didBecomeActive:
            return didBecomeActiveCallbacks;
        case BeaconLifecycleEvent::didResignActive:
            return didEnterBackgroundCallbacks;
        case BeaconLifecycleEvent::didFinishLaunching:
            break;
        }
        return didFinishLaunchingCallbacks;
    }
};

BaseApplicationLifecyclePublisher::BaseApplicationLifecyclePublisher()
    : m_registry(std::make_shared<Registry>())
{ }

BaseApplicationLifecyclePublisher::~BaseApplicationLifecyclePublisher() = default;

std::unique_ptr<RegistrationToken> BaseApplicationLifecyclePublisher::registerDidBecomeActive(
    Callback callback)
{
    return add(BeaconLifecycleEvent::didBecomeActive, std::move(callback));
}

std::unique_ptr<RegistrationToken> BaseApplicationLifecyclePublisher::registerDidEnterBackground(
    Callback callback)
{
    return add(BeaconLifecycleEvent::didResignActive, std::move(callback));
}

std::unique_ptr<RegistrationToken> BaseApplicationLifecyclePublisher::registerDidFinishLaunching(
    Callback callback)
{
    return add(BeaconLifecycleEvent::didFinishLaunching, std::move(callback));
}

std::unique_ptr<RegistrationToken> BaseApplicationLifecyclePublisher::add(
    BeaconLifecycleEvent event, Callback callback)
{
    std::uint64_t id = 0;
    {
        const std::lock_guard lock(m_registry->registrationLock);
        id = m_registry->nextId++;
        m_registry->callbacks(event).push_back({ id, std::make_shared<const Callback>(std::move(callback)) });
    }
    return std::make_unique<RegistrationToken>([weak = std::weak_ptr<Registry>(m_registry), event, id] {
        if (const auto registry = weak.lock()) {
            const std::lock_guard lock(registry->registrationLock);
            std::erase_if(
                registry->callbacks(event), [id](const Registry::Entry& entry) { return entry.id == id; });
        }
    });
}

void BaseApplicationLifecyclePublisher::publish(BeaconLifecycleEvent event)
{
    publish(*m_registry, event);
}

void BaseApplicationLifecyclePublisher::publish(Registry& registry, BeaconLifecycleEvent event)
{
    std::vector<Registry::Entry> snapshot;
    {
        const std::lock_guard lock(registry.registrationLock);
        snapshot = registry.callbacks(event);
    }
    for (const auto& entry : snapshot)
        (*entry.callback)();
}

ApplicationLifecyclePublisher::ApplicationLifecyclePublisher(
    const std::shared_ptr<BeaconLifecycleSource>& source)
{
    observe(source);
}

ApplicationLifecyclePublisher::~ApplicationLifecyclePublisher()
{
    observe(nullptr);
}

ApplicationLifecyclePublisher& ApplicationLifecyclePublisher::shared()
{
    // Never destroyed: tokens held by other long-lived objects may be released at exit.
    static auto* publisher = new ApplicationLifecyclePublisher;
    return *publisher;
}

void ApplicationLifecyclePublisher::observe(const std::shared_ptr<BeaconLifecycleSource>& source)
{
    std::shared_ptr<BeaconLifecycleSource> previous;
    {
        const std::lock_guard lock(m_sourceLock);
        previous = std::exchange(m_source, source);
    }
    if (previous && previous != source)
        previous->setHandler(nullptr);
    if (source) {
        // The source may deliver an event while this publisher is being destroyed.
        source->setHandler([weak = std::weak_ptr<Registry>(m_registry)](BeaconLifecycleEvent event) {
            if (const auto registry = weak.lock())
                publish(*registry, event);
        });
    }
}

} // namespace beacon
