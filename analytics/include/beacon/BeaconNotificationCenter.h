#pragma once

#include <functional>
#include <memory>
#include <string>

#include "beacon/RegistrationToken.h"

namespace beacon {

/// One posted notification; `object` identifies the sender and is never dereferenced here.
struct BeaconNotification {
    std::string name;
    const void* object = nullptr;
};

/// In-process notifications by name, for the library's parts that must not know each other.
class BeaconNotificationCenter {
public:
    using Observer = std::function<void(const BeaconNotification&)>;

    BeaconNotificationCenter();
    ~BeaconNotificationCenter();
    BeaconNotificationCenter(const BeaconNotificationCenter&) = delete;
    BeaconNotificationCenter& operator=(const BeaconNotificationCenter&) = delete;

    static BeaconNotificationCenter& defaultCenter();

    /// Calls `observer` for every notification named `name` until the token is released.
    [[nodiscard]] std::unique_ptr<RegistrationToken> addObserver(std::string name, Observer observer);
    /// Calls the matching observers on the posting thread, outside any lock.
    void post(const BeaconNotification& notification);

private:
    struct Registry;
    std::shared_ptr<Registry> m_registry;
};

} // namespace beacon
