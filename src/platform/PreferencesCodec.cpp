#include "PreferencesCodec.h"

#include <QDateTime>
#include <QStringList>
#include <algorithm>
#include <limits>
#include <nlohmann/json.hpp>

namespace PreferencesCodec {
namespace {
using Json = nlohmann::ordered_json;

constexpr const char* kDateKey = "$date";
constexpr const char* kMapKey = "$map";

bool looksLikeWrapper(const QVariantMap& map)
{
    return map.size() == 1 && (map.contains(QLatin1String(kDateKey)) || map.contains(QLatin1String(kMapKey)));
}

Json toJson(const QVariant& value);

Json mapToJson(const QVariantMap& map)
{
    Json object = Json::object();
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (it.value().isValid())
            object[it.key().toStdString()] = toJson(it.value());
    }
    if (looksLikeWrapper(map))
        return Json { { kMapKey, std::move(object) } };
    return object;
}

Json toJson(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::LongLong:
        return value.toLongLong();
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return value.toULongLong();
    case QMetaType::Float:
    case QMetaType::Double:
        return value.toDouble();
    case QMetaType::QString:
        return value.toString().toStdString();
    case QMetaType::QDateTime:
        return Json { { kDateKey, value.toDateTime().toUTC().toString(Qt::ISODateWithMs).toStdString() } };
    case QMetaType::QStringList: {
        Json array = Json::array();
        for (const QString& s : value.toStringList())
            array.push_back(s.toStdString());
        return array;
    }
    case QMetaType::QVariantList: {
        Json array = Json::array();
        for (const QVariant& element : value.toList())
            array.push_back(toJson(element));
        return array;
    }
    case QMetaType::QVariantMap:
        return mapToJson(value.toMap());
    case QMetaType::QVariantHash: {
        QVariantMap map;
        const QVariantHash hash = value.toHash();
        for (auto it = hash.cbegin(); it != hash.cend(); ++it)
            map.insert(it.key(), it.value());
        return mapToJson(map);
    }
    default:
        return value.toString().toStdString();
    }
}

QVariant fromJson(const Json& json);

QVariantMap objectToMap(const Json& object)
{
    QVariantMap map;
    for (const auto& [key, element] : object.items()) {
        QVariant value = fromJson(element);
        if (value.isValid())
            map.insert(QString::fromStdString(key), std::move(value));
    }
    return map;
}

QVariant fromJson(const Json& json)
{
    switch (json.type()) {
    case Json::value_t::boolean:
        return json.get<bool>();
    case Json::value_t::number_integer:
        return QVariant::fromValue<qint64>(json.get<qint64>());
    case Json::value_t::number_unsigned: {
        const auto u = json.get<quint64>();
        if (u <= static_cast<quint64>(std::numeric_limits<qint64>::max()))
            return QVariant::fromValue<qint64>(static_cast<qint64>(u));
        return QVariant::fromValue<double>(static_cast<double>(u));
    }
    case Json::value_t::number_float:
        return json.get<double>();
    case Json::value_t::string:
        return QString::fromStdString(json.get<std::string>());
    case Json::value_t::array: {
        const bool allStrings = std::all_of(json.begin(), json.end(), [](const Json& e) { return e.is_string(); });
        if (allStrings) {
            QStringList strings;
            for (const Json& e : json)
                strings.append(QString::fromStdString(e.get<std::string>()));
            return strings;
        }
        QVariantList list;
        for (const Json& e : json)
            list.append(fromJson(e));
        return list;
    }
    case Json::value_t::object:
        if (json.size() == 1 && json.contains(kDateKey) && json[kDateKey].is_string()) {
            const QDateTime date = QDateTime::fromString(QString::fromStdString(json[kDateKey].get<std::string>()), Qt::ISODateWithMs);
            return date.isValid() ? QVariant(date) : QVariant();
        }
        if (json.size() == 1 && json.contains(kMapKey) && json[kMapKey].is_object())
            return objectToMap(json[kMapKey]);
        return objectToMap(json);
    default:
        return {};
    }
}
} // namespace

QByteArray encode(const QVariantMap& values)
{
    Json document = Json::object();
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (it.value().isValid())
            document[it.key().toStdString()] = toJson(it.value());
    }
    // Replace invalid UTF-8 rather than throwing: a preference must never stop a save.
    const std::string text = document.dump(2, ' ', false, Json::error_handler_t::replace);
    return QByteArray::fromStdString(text + '\n');
}

std::optional<QVariantMap> decode(const QByteArray& bytes, QString* error)
{
    const Json document = Json::parse(bytes.cbegin(), bytes.cend(), nullptr, false);
    if (document.is_discarded()) {
        if (error)
            *error = QStringLiteral("not valid JSON");
        return std::nullopt;
    }
    if (!document.is_object()) {
        if (error)
            *error = QStringLiteral("the top level is not an object");
        return std::nullopt;
    }
    return objectToMap(document);
}

} // namespace PreferencesCodec
