#pragma once

class IntegrationDetector;
class MiniTimerViewModel;
class QQmlEngine;
class TagManager;
class ThemeColors;
class ThemeManager;
class TimerManager;

/// The shared objects the views bind to. Each exists once, owned by the application.
struct SharedObjects {
    TimerManager* timer = nullptr;
    TagManager* tags = nullptr;
    ThemeManager* theme = nullptr;
    ThemeColors* colors = nullptr;
    IntegrationDetector* detector = nullptr;
    MiniTimerViewModel* popover = nullptr;
};

namespace QmlPublishing {

/// Publishes the objects as singletons of the "Velto" module (FocusTimer, Tags, Theme,
/// Colors, Detector, Popover); C++ keeps ownership. Call once, before any engine loads.
void publish(const SharedObjects& objects);
/// Installs what every engine of the application needs (the symbol images).
void prepare(QQmlEngine& engine);

} // namespace QmlPublishing
