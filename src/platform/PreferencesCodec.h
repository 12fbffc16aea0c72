#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>
#include <optional>

/// The preferences file format: one JSON object, key → value, that keeps types.
///
/// Booleans, integers, doubles (always written with a fraction or exponent),
/// strings and arrays are plain JSON. Two wrappers carry what JSON lacks:
///   {"$date": "2026-12-07T09:30:00.000Z"}   a date (UTC, milliseconds)
///   {"$map": {...}}                        a map that would otherwise look like a wrapper
namespace PreferencesCodec {

QByteArray encode(const QVariantMap& values);
/// Nothing when the bytes are not such a document; `error` then says why.
std::optional<QVariantMap> decode(const QByteArray& bytes, QString* error = nullptr);

} // namespace PreferencesCodec
