#include "beacon/BeaconScreenViewIntegration.h"

#include "BeaconIntegrationBinding.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconLog.h"
#include "beacon/BeaconSDK.h"

namespace beacon {
namespace {
// Screens are the application's: two clients recording them would count every screen twice.
detail::IntegrationBinding::Kind g_screenViewIntegrations;
} // namespace

BeaconScreenViewIntegration::BeaconScreenViewIntegration()
    : m_binding(std::make_unique<detail::IntegrationBinding>(g_screenViewIntegrations))
{ }

BeaconScreenViewIntegration::~BeaconScreenViewIntegration() = default;

std::optional<std::string> BeaconScreenViewIntegration::install(const std::shared_ptr<BeaconSDK>& client)
{
    if (!client)
        return std::string("no client");
    if (m_binding->bind(client) == detail::IntegrationBinding::Result::taken)
        return std::string("Autocapture integration already installed to another BeaconSDK instance.");
    return std::nullopt;
}

void BeaconScreenViewIntegration::uninstall(const BeaconSDK& client)
{
    m_binding->unbind(client);
}

void BeaconScreenViewIntegration::screenDidAppear(const std::string& title)
{
    const std::shared_ptr<BeaconSDK> beacon = m_binding->client();
    if (!beacon)
        return;
    const std::shared_ptr<const BeaconConfig> config = beacon->config();
    if (!config || !config->captureScreenViews) {
        debugLog("[Beacon] Skipping $screen event - captureScreenViews is disabled in configuration");
        return;
    }
    beacon->screen(title);
}

} // namespace beacon
