#include "BeaconIntegrationBinding.h"

namespace beacon::detail {

IntegrationBinding::~IntegrationBinding()
{
    const std::lock_guard lock(m_kind.lock);
    if (m_kind.bound == this)
        m_kind.bound = nullptr;
}

IntegrationBinding::Result IntegrationBinding::bind(const std::shared_ptr<BeaconSDK>& client)
{
    const std::lock_guard kindLock(m_kind.lock);
    const std::lock_guard lock(m_lock);
    const auto owner = m_client.lock();
    if ((m_kind.bound && m_kind.bound != this) || (m_bound && owner && owner != client))
        return Result::taken;
    if (m_bound && owner == client)
        return Result::alreadyBound;
    m_kind.bound = this;
    m_client = client;
    m_bound = true;
    return Result::bound;
}

bool IntegrationBinding::unbind(const BeaconSDK& client)
{
    const std::lock_guard kindLock(m_kind.lock);
    const std::lock_guard lock(m_lock);
    const auto owner = m_client.lock();
    if (!m_bound || (owner && owner.get() != &client))
        return false;
    m_bound = false;
    m_client.reset();
    if (m_kind.bound == this)
        m_kind.bound = nullptr;
    return true;
}

std::shared_ptr<BeaconSDK> IntegrationBinding::client() const
{
    const std::lock_guard lock(m_lock);
    return m_bound ? m_client.lock() : nullptr;
}

bool IntegrationBinding::isBound() const
{
    const std::lock_guard lock(m_lock);
    return m_bound;
}

} // namespace beacon::detail
