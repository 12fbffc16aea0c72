#pragma once

#include <mutex>

#include "beacon/BeaconLifecycleSource.h"

namespace beacon::test {

/// A lifecycle source the test drives by hand.
class ManualLifecycleSource final : public BeaconLifecycleSource {
public:
    void setHandler(Handler handler) override;
    /// Delivers `event` to the current handler, if any, on the calling thread.
    void send(BeaconLifecycleEvent event);
    bool hasHandler() const;

private:
    mutable std::mutex m_lock;
    Handler m_handler;
};

} // namespace beacon::test
