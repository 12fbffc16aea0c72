#pragma once

#include <string>

#include "Calendar.h"
#include "Instant.h"

/// Local date and time in the ISO 8601 extended form with milliseconds and the UTC offset,
/// as exports and hooks hand them out: "2025-12-01T10:30:00.000+01:00".
namespace IsoDateTime {

/// Appends the text; false (nothing appended) for an instant outside the years 0001–9999,
/// which the form cannot hold.
bool append(std::string& out, Instant instant, const Calendar& calendar);
/// The text, or an empty string outside the years 0001–9999.
std::string format(Instant instant, const Calendar& calendar);

} // namespace IsoDateTime
