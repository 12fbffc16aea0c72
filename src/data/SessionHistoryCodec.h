#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SessionRecord.h"

/// The history file: a compact JSON array of record objects with the keys
/// "id", "date", "duration", "type", "completedFully" and "tag" (only when present).
/// "date" counts seconds since 2001-01-01 UTC.
namespace SessionHistoryCodec {

/// Strict reading: every key but "tag" is required and one bad element makes the
/// whole document unreadable (nothing is returned and `error` says why).
std::optional<std::vector<SessionRecord>> decode(std::string_view document, QString* error = nullptr);

/// Appends one record object, keys in file order, UUID in upper case.
void appendRecord(std::string& out, const SessionRecord& record);
std::string encode(const std::vector<SessionRecord>& records);

} // namespace SessionHistoryCodec
