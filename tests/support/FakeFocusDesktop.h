#pragma once

#include "platform/DoNotDisturb.h"
#include "platform/GlobalShortcuts.h"
#include "platform/IdleMonitor.h"
#include "platform/ScreenLockWatcher.h"

/// Stand-ins for the desktop's screen lock, idleness, Do Not Disturb and shortcuts: tests
/// emit their signals and read what was asked of them.
class FakeScreenLock final : public ScreenLockWatcher {
public:
    bool isLocked() const override { return false; }
};

class FakeIdleMonitor final : public IdleMonitor {
public:
    bool available() const override { return true; }
    void watch(int thresholdMinutes) override { threshold = thresholdMinutes; }
    void stop() override { threshold = 0; }
    int threshold = 0; ///< 0 while not watching
};

class FakeDoNotDisturb final : public DoNotDisturb {
public:
    bool available() const override { return true; }
    QString unavailableReason() const override { return {}; }
    bool holding() const override { return held; }
    void hold() override { held = true; }
    void release() override { held = false; }
    void whenReleased(QObject*, std::function<void()> action) override { action(); }
    bool held = false;
};

class FakeGlobalShortcuts final : public GlobalShortcuts {
public:
    bool available() const override { return false; }
};
