#pragma once

/// Names other programs rely on.
namespace AppIds {
/// Desktop file, D-Bus name while running, analytics folder.
inline constexpr const char* application = "studio.murv.Velto";
/// Velto's object on the session bus while running.
inline constexpr const char* objectPath = "/studio/murv/Velto";
/// The companion music app; it owns this D-Bus name while running.
inline constexpr const char* calmix = "studio.murv.Calmix";
/// The companion message: a broadcast signal on the session bus.
inline constexpr const char* companionSignalPath = "/studio/murv/Velto";
inline constexpr const char* companionSignalInterface = "studio.murv.Calmix";
inline constexpr const char* companionSignalMember = "Action";
} // namespace AppIds
