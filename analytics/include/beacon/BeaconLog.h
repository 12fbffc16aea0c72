#pragma once

#include <string_view>

namespace beacon {

/// Switches the library's debug log on or off for the whole process.
void setDebugLogEnabled(bool enabled);
bool isDebugLogEnabled();

/// Writes one line to standard output while the debug log is on. Lines that do
/// not already start with "[Beacon]" get the "[Beacon] " prefix.
void debugLog(std::string_view message);

} // namespace beacon
