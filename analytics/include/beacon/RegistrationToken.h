#pragma once

#include <functional>
#include <utility>

namespace beacon {

/// Keeps a registration alive: releasing the token removes it.
class RegistrationToken {
public:
    explicit RegistrationToken(std::function<void()> onDealloc)
        : m_onDealloc(std::move(onDealloc))
    { }
    ~RegistrationToken()
    {
        if (m_onDealloc)
            m_onDealloc();
    }

    RegistrationToken(const RegistrationToken&) = delete;
    RegistrationToken& operator=(const RegistrationToken&) = delete;

private:
    std::function<void()> m_onDealloc;
};

} // namespace beacon
