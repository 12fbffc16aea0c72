#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVariantMap>
#include <optional>

/// The preferences file format: one JSON object, key → value, that keeps types.
///
/// Booleans, integers, doubles (always written with a fraction or exponent),
/// strings and arrays are plain JSON. Two wrappers carry what JSON lacks:
///   {"$date": "2026-12-07T09:30:00.000Z"}   a date (UTC, milliseconds)
///   {"$map": {...}}                        a map whose only key starts with "$"
/// Any other one-key object whose key starts with "$" is a wrapper of a later version.
namespace PreferencesCodec {

/// Deeper nesting makes a document unreadable (decoding recurses).
constexpr std::size_t maxNestingDepth = 64;

struct Document {
    QVariantMap values;
    /// Stored values not (wholly) understood, such as null, a "$date" that is not a
    /// date or an unknown wrapper, kept as JSON text so a save writes them back
    /// unchanged. `values` holds only the understood part of such a value, if any.
    QMap<QString, QByteArray> unknown;
};

/// `unknown` values are written as they are, in place of `values` under the same key.
QByteArray encode(const QVariantMap& values, const QMap<QString, QByteArray>& unknown = {});
/// Nothing when the bytes are not such a document; `error` then says why.
std::optional<Document> decode(const QByteArray& bytes, QString* error = nullptr);

} // namespace PreferencesCodec
