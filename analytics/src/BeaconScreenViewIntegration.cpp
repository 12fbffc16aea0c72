#include "beacon/BeaconScreenViewIntegration.h"

#include "beacon/BeaconConfig.h"
#include "beacon/BeaconLog.h"
#include "beacon/BeaconSDK.h"

namespace beacon {
namespace {
// Screens are the application's: two clients recording them would count every screen twice.
std::mutex g_installedLock;
const BeaconScreenViewIntegration* g_installed = nullptr; // g_installedLock
} // namespace

BeaconScreenViewIntegration::~BeaconScreenViewIntegration()
{
    const std::lock_guard lock(g_installedLock);
    if (g_installed == this)
        g_installed = nullptr;
}

std::optional<std::string> BeaconScreenViewIntegration::install(const std::shared_ptr<BeaconSDK>& client)
{
    if (!client)
        return std::string("no client");
    const std::lock_guard registryLock(g_installedLock);
    const std::lock_guard lock(m_lock);
    const auto owner = m_beacon.lock();
    if ((g_installed && g_installed != this) || (m_installed && owner && owner != client))
        return std::string("Autocapture integration already installed to another BeaconSDK instance.");
    g_installed = this;
    m_beacon = client;
    m_installed = true;
    return std::nullopt;
}

void BeaconScreenViewIntegration::uninstall(const BeaconSDK& client)
{
    const std::lock_guard registryLock(g_installedLock);
    const std::lock_guard lock(m_lock);
    const auto owner = m_beacon.lock();
    if (!m_installed || (owner && owner.get() != &client))
        return;
    m_installed = false;
    m_beacon.reset();
    if (g_installed == this)
        g_installed = nullptr;
}

void BeaconScreenViewIntegration::screenDidAppear(const std::string& title)
{
    std::shared_ptr<BeaconSDK> beacon;
    {
        const std::lock_guard lock(m_lock);
        if (m_installed)
            beacon = m_beacon.lock();
    }
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
