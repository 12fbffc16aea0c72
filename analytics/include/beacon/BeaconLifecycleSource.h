#pragma once

#include <functional>

namespace beacon {

enum class BeaconLifecycleEvent {
    didFinishLaunching,
    didBecomeActive,
    didResignActive, ///< the application went to the background
};

/// Where the application's launch and activation changes come from (on the desktop:
/// Qt's application state). Implemented by the host application.
class BeaconLifecycleSource {
public:
    using Handler = std::function<void(BeaconLifecycleEvent)>;
    virtual ~BeaconLifecycleSource() = default;
    /// Delivers every later event to `handler`, one at a time, replacing any earlier
    /// handler; an empty handler stops delivery.
    virtual void setHandler(Handler handler) = 0;
};

/// For processes without an application object: no event ever arrives.
class SilentLifecycleSource final : public BeaconLifecycleSource {
public:
    void setHandler(Handler) override { }
};

} // namespace beacon
