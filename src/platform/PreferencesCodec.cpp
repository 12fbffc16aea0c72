#include "PreferencesCodec.h"

#include <QDateTime>
#include <QStringList>
#include <algorithm>
#include <limits>
#include <nlohmann/json.hpp>

#include "fileio/JsonNesting.h"

namespace PreferencesCodec {
namespace {
using Json = nlohmann::ordered_json;

constexpr const char* kDateKey = "$date";
constexpr const char* kMapKey = "$map";

/// A one-key object whose key starts with "$" reads as a wrapper, so such a map is wrapped in "$map".
bool looksLikeWrapper(const QVariantMap& map)
{
    return map.size() == 1 && map.firstKey().startsWith(QLatin1Char('$'));
}

bool isWrapper(const Json& object)
{
    return object.size() == 1 && object.begin().key().starts_with('$');
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

/// Reads what it understands; clears `complete` when something was left out.
QVariant fromJson(const Json& json, bool& complete);

QVariantMap objectToMap(const Json& object, bool& complete)
{
    QVariantMap map;
    for (const auto& [key, element] : object.items()) {
        QVariant value = fromJson(element, complete);
        if (value.isValid())
            map.insert(QString::fromStdString(key), value);
    }
    return map;
}

QVariant fromJson(const Json& json, bool& complete)
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
        complete = false; // readable only as an approximation
        return QVariant::fromValue<double>(static_cast<double>(u));
    }
    case Json::value_t::number_float:
        return json.get<double>();
    case Json::value_t::string:
        return QString::fromStdString(json.get<std::string>());
    case Json::value_t::array: {
        const bool allStrings
            = std::all_of(json.begin(), json.end(), [](const Json& e) { return e.is_string(); });
        if (allStrings) {
            QStringList strings;
            for (const Json& e : json)
                strings.append(QString::fromStdString(e.get<std::string>()));
            return strings;
        }
        QVariantList list;
        for (const Json& e : json) {
            QVariant element = fromJson(e, complete);
            if (element.isValid())
                list.append(std::move(element));
        }
        return list;
    }
    case Json::value_t::object:
        if (!isWrapper(json))
            return objectToMap(json, complete);
        if (const auto date = json.find(kDateKey); date != json.end() && date->is_string()) {
            const QDateTime value
                = QDateTime::fromString(QString::fromStdString(date->get<std::string>()), Qt::ISODateWithMs);
            if (value.isValid())
                return value;
        }
        if (const auto map = json.find(kMapKey); map != json.end() && map->is_object())
            return objectToMap(*map, complete);
        complete = false; // a date that is not a date, or a wrapper of a later version
        return {};
    default:
        complete = false; // null
        return {};
    }
}

std::string text(const Json& json)
{
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}
} // namespace

QByteArray encode(const QVariantMap& values, const QMap<QString, QByteArray>& unknown)
{
    QStringList keys = values.keys() + unknown.keys();
    keys.sort();
    keys.removeDuplicates();
    Json document = Json::object();
    for (const QString& key : keys) {
        if (const auto raw = unknown.constFind(key); raw != unknown.cend()) {
            Json kept = Json::parse(raw->cbegin(), raw->cend(), nullptr, false);
            if (!kept.is_discarded())
                document[key.toStdString()] = std::move(kept);
        } else if (const QVariant value = values.value(key); value.isValid()) {
            document[key.toStdString()] = toJson(value);
        }
    }
    // Replace invalid UTF-8 rather than throwing: a preference must never stop a save.
    const std::string written = document.dump(2, ' ', false, Json::error_handler_t::replace);
    return QByteArray::fromStdString(written + '\n');
}

std::optional<Document> decode(const QByteArray& bytes, QString* error)
{
    const auto fail = [error](const QString& reason) -> std::optional<Document> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    // Checked first: the parse and the reading of values both recurse.
    if (fileio::nestsDeeperThan(
            std::string_view(bytes.constData(), std::size_t(bytes.size())), maxNestingDepth))
        return fail(QStringLiteral("nested more than %1 levels deep").arg(maxNestingDepth));
    const Json document = Json::parse(bytes.cbegin(), bytes.cend(), nullptr, false);
    if (document.is_discarded())
        return fail(QStringLiteral("not valid JSON"));
    if (!document.is_object())
        return fail(QStringLiteral("the top level is not an object"));
    Document result;
    for (const auto& [key, element] : document.items()) {
        bool complete = true;
        QVariant value = fromJson(element, complete);
        const QString name = QString::fromStdString(key);
        if (value.isValid())
            result.values.insert(name, value);
        if (!complete)
            result.unknown.insert(name, QByteArray::fromStdString(text(element)));
    }
    return result;
}

} // namespace PreferencesCodec
