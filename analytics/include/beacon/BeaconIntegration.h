#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace beacon {

class BeaconSDK;

/// An optional feature that hooks a client into the application (lifecycle events, screen views).
/// The client installs the ones its configuration asks for at set-up and on opt-in, and uninstalls
/// them on opt-out and close.
class BeaconIntegration {
public:
    virtual ~BeaconIntegration() = default;

    /// The name the client's log lines use.
    virtual std::string_view name() const = 0;
    /// Whether it needs method interposition, which the configuration can forbid (`enableSwizzling`).
    virtual bool requiresSwizzling() const { return false; }

    /// Starts working for `client`; the reason when it cannot.
    virtual std::optional<std::string> install(const std::shared_ptr<BeaconSDK>& client) = 0;
    /// Stops working for `client`; nothing when it was installed elsewhere or not at all.
    virtual void uninstall(const BeaconSDK& client) = 0;
};

} // namespace beacon
