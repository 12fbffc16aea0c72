#include "beacon/BeaconNotificationCenter.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace beacon {

struct BeaconNotificationCenter::Registry {
    struct Entry {
        std::uint64_t id;
        std::string name;
        std::shared_ptr<const Observer> observer;
    };
    std::mutex lock;
    std::vector<Entry> entries;
    std::uint64_t nextId = 1;
};

BeaconNotificationCenter::BeaconNotificationCenter()
    : m_registry(std::make_shared<Registry>())
{ }

BeaconNotificationCenter::~BeaconNotificationCenter() = default;

BeaconNotificationCenter& BeaconNotificationCenter::defaultCenter()
{
    // Never destroyed: observers may still be released while the process exits.
    static auto* center = new BeaconNotificationCenter;
    return *center;
}

std::unique_ptr<RegistrationToken> BeaconNotificationCenter::addObserver(std::string name, Observer observer)
{
    std::uint64_t id = 0;
    {
        const std::lock_guard guard(m_registry->lock);
        id = m_registry->nextId++;
        m_registry->entries.push_back(
            { id, std::move(name), std::make_shared<const Observer>(std::move(observer)) });
    }
    // The token may outlive the centre, so it holds the registry weakly.
    return std::make_unique<RegistrationToken>([weak = std::weak_ptr<Registry>(m_registry), id] {
        if (const auto registry = weak.lock()) {
            const std::lock_guard guard(registry->lock);
            std::erase_if(registry->entries, [id](const Registry::Entry& entry) { return entry.id == id; });
        }
    });
}

void BeaconNotificationCenter::post(const BeaconNotification& notification)
{
    std::vector<std::shared_ptr<const Observer>> matching;
    {
        const std::lock_guard guard(m_registry->lock);
        for (const auto& entry : m_registry->entries) {
            if (entry.name == notification.name)
                matching.push_back(entry.observer);
        }
    }
    for (const auto& observer : matching)
        (*observer)(notification);
}

} // namespace beacon
