#pragma once

/// What assistive technology learns about the views beyond what Qt Quick 6.4 tells it:
/// a disabled item reads as disabled (not sensitive, not focusable) and says so when it
/// changes. Qt Quick 6.4 leaves that state out, so a dimmed Skip reads as usable.
namespace QuickAccessibility {

/// Installs the interface factory; once per process, before the first window is shown.
void install();

} // namespace QuickAccessibility
