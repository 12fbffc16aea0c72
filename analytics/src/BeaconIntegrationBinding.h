#pragma once

#include <memory>
#include <mutex>

namespace beacon {

class BeaconSDK;

namespace detail {

/// Which client an integration works for. An integration hooks into something the whole process
/// shares (lifecycle callbacks, screens), so of each kind only one may be bound at a time, and to
/// one client: two would record every launch or screen twice.
class IntegrationBinding {
public:
    /// The one binding of a kind; each kind keeps one of these for the whole process.
    struct Kind {
        std::mutex lock;
        const IntegrationBinding* bound = nullptr; // lock
    };

    enum class Result { bound, alreadyBound, taken };

    explicit IntegrationBinding(Kind& kind)
        : m_kind(kind)
    { }
    ~IntegrationBinding();
    IntegrationBinding(const IntegrationBinding&) = delete;
    IntegrationBinding& operator=(const IntegrationBinding&) = delete;

    /// `taken` when another binding of the kind, or another live client, has it.
    Result bind(const std::shared_ptr<BeaconSDK>& client);
    /// False when bound to another live client or not at all.
    bool unbind(const BeaconSDK& client);
    /// The client while bound and still alive.
    std::shared_ptr<BeaconSDK> client() const;
    bool isBound() const;

private:
    Kind& m_kind;
    mutable std::mutex m_lock;
    std::weak_ptr<BeaconSDK> m_client; // m_lock
    bool m_bound = false; // m_lock
};

} // namespace detail
} // namespace beacon
