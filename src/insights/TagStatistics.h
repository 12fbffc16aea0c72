#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "platform/Instant.h"

class Calendar;
class SessionStore;

/// The completed focus time of one tag.
struct TagStats {
    QString tag; ///< the name as stored on the records
    qint64 totalMinutes = 0; ///< whole minutes, truncated per record
    int sessionCount = 0;

    bool operator==(const TagStats&) const = default;
};

/// Where a tag's slice of the ring starts and ends, in degrees; -90 is the top.
struct SliceAngles {
    double start = -90.0;
    double end = -90.0;
};

/// Completed, tagged focus records at or after `cutoff` (all of them without one), grouped by
/// the exact tag text, most minutes first; ties go to more sessions, then to the name.
std::vector<TagStats> tagStatistics(
    const SessionStore& store, const Calendar& calendar, std::optional<Instant> cutoff);
/// Slices in row order, clockwise from the top, each as wide as its share of the minutes.
std::vector<SliceAngles> sliceAngles(const std::vector<TagStats>& rows);
/// Sum of the rows' minutes.
qint64 totalMinutes(const std::vector<TagStats>& rows);
