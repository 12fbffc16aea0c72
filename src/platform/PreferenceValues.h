#pragma once

#include <QDateTime>
#include <QStringList>
#include <QVariant>
#include <optional>

/// Reading rules for stored preference values. A value of the wrong type never
/// throws and never converts silently where the caller asked for an exact type.
namespace PreferenceValues {

/// The value when it is an integer or a double (not a bool, not a string).
std::optional<double> number(const QVariant& value);
/// A number held within [lowest, highest]: one outside reads as the nearest bound; nothing
/// when absent, not a number or NaN.
std::optional<double> numberWithin(const QVariant& value, double lowest, double highest);
/// The value when it is a bool (not a number, not a string).
std::optional<bool> exactBoolean(const QVariant& value);
/// Booleans as stored; numbers count as true when not zero; anything else is false.
bool boolean(const QVariant& value);
/// Integers as stored, doubles truncated toward zero; anything else is 0.
qint64 integer(const QVariant& value);
/// Numbers as stored; anything else is 0.
double real(const QVariant& value);
/// The value when it is an integer (not a double, not a bool).
std::optional<qint64> exactInteger(const QVariant& value);
std::optional<QDateTime> date(const QVariant& value);
std::optional<QString> string(const QVariant& value);
/// The value when it is an array whose every element is a string.
std::optional<QStringList> stringList(const QVariant& value);
std::optional<QVariantMap> map(const QVariant& value);

} // namespace PreferenceValues
