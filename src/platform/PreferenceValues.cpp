#include "PreferenceValues.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace PreferenceValues {
namespace {
bool isIntegerType(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}
bool isDoubleType(const QVariant& value)
{
    return value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
}
} // namespace

std::optional<double> number(const QVariant& value)
{
    if (isIntegerType(value) || isDoubleType(value))
        return value.toDouble();
    return std::nullopt;
}

std::optional<double> numberWithin(const QVariant& value, double lowest, double highest)
{
    const std::optional<double> n = number(value);
    if (!n || std::isnan(*n))
        return std::nullopt;
    return std::clamp(*n, lowest, highest);
}

std::optional<bool> exactBoolean(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    return std::nullopt;
}

bool boolean(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (const auto n = number(value))
        return *n != 0.0;
    return false;
}

qint64 integer(const QVariant& value)
{
    if (isIntegerType(value))
        return value.toLongLong();
    if (isDoubleType(value)) {
        const double d = value.toDouble();
        if (!std::isfinite(d) || d >= 9.2e18 || d <= -9.2e18)
            return 0;
        return static_cast<qint64>(d);
    }
    return 0;
}

double real(const QVariant& value)
{
    return number(value).value_or(0.0);
}

std::optional<qint64> exactInteger(const QVariant& value)
{
    if (isIntegerType(value))
        return value.toLongLong();
    return std::nullopt;
}

std::optional<QDateTime> date(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDateTime && value.toDateTime().isValid())
        return value.toDateTime();
    return std::nullopt;
}

std::optional<QString> string(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    return std::nullopt;
}

std::optional<QStringList> stringList(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList();
    if (value.typeId() == QMetaType::QVariantList) {
        QStringList strings;
        for (const QVariant& element : value.toList()) {
            if (element.typeId() != QMetaType::QString)
                return std::nullopt;
            strings.append(element.toString());
        }
        return strings;
    }
    return std::nullopt;
}

std::optional<QVariantMap> map(const QVariant& value)
{
    if (value.typeId() == QMetaType::QVariantMap)
        return value.toMap();
    return std::nullopt;
}

} // namespace PreferenceValues
