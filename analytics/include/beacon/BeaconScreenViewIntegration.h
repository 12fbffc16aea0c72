#pragma once

#include <memory>
#include <optional>
#include <string>

#include "beacon/BeaconIntegration.h"

namespace beacon {
namespace detail {
class IntegrationBinding;
}

/// Records `$screen` for screens the application shows. Elsewhere this hooks into the UI toolkit by
/// method interposition; the desktop has no such hook, so nothing is recorded on its own: a UI layer
/// that wants screen views calls `screenDidAppear`. One client at a time in the whole process may
/// have it installed.
class BeaconScreenViewIntegration final : public BeaconIntegration {
public:
    BeaconScreenViewIntegration();
    ~BeaconScreenViewIntegration() override;

    std::string_view name() const override { return "BeaconScreenViewIntegration"; }
    bool requiresSwizzling() const override { return true; }
    std::optional<std::string> install(const std::shared_ptr<BeaconSDK>& client) override;
    void uninstall(const BeaconSDK& client) override;

    /// Captures `$screen` named `title` while installed and `captureScreenViews` is on.
    void screenDidAppear(const std::string& title);

private:
    const std::unique_ptr<detail::IntegrationBinding> m_binding;
};

} // namespace beacon
