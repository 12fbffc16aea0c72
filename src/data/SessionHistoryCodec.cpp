#include "SessionHistoryCodec.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

namespace SessionHistoryCodec {
namespace {
using Json = nlohmann::json;

/// Builds records straight from the parser's events, without a document tree:
/// a long history loads several times faster this way.
class HistoryReader final : public nlohmann::json_sax<Json> {
public:
    std::vector<SessionRecord> records;
    QString error;

    bool null() override { return scalar(Value::null()); }
    bool boolean(bool value) override { return scalar(Value::boolean(value)); }
    bool number_integer(number_integer_t value) override { return scalar(Value::number(double(value))); }
    bool number_unsigned(number_unsigned_t value) override { return scalar(Value::number(double(value))); }
    bool number_float(number_float_t value, const string_t&) override { return scalar(Value::number(value)); }
    bool string(string_t& value) override { return scalar(Value::text(value)); }
    bool binary(binary_t&) override { return fail(QStringLiteral("binary data is not allowed")); }

    bool start_object(std::size_t) override
    {
        if (m_skipDepth > 0 || (m_depth == 2 && !isKnownKey(m_key))) {
            ++m_skipDepth; // an unknown key holding an object: ignored
            return true;
        }
        if (m_depth == 0)
            return fail(QStringLiteral("the top level is not an array"));
        if (m_depth == 2)
            return fail(elementText()
                + QStringLiteral(": the key \"%1\" holds an object").arg(QString::fromStdString(m_key)));
        m_record = Partial {};
        m_depth = 2;
        return true;
    }

    bool key(string_t& value) override
    {
        if (m_skipDepth == 0)
            m_key = value;
        return true;
    }

    bool end_object() override
    {
        if (m_skipDepth > 0) {
            --m_skipDepth;
            return true;
        }
        m_depth = 1;
        return finishRecord();
    }

    bool start_array(std::size_t) override
    {
        if (m_skipDepth > 0 || (m_depth == 2 && !isKnownKey(m_key))) {
            ++m_skipDepth;
            return true;
        }
        if (m_depth == 0) {
            m_depth = 1;
            return true;
        }
        if (m_depth == 1)
            return fail(elementText() + QStringLiteral(" is not an object"));
        return fail(elementText()
            + QStringLiteral(": the key \"%1\" holds an array").arg(QString::fromStdString(m_key)));
    }

    bool end_array() override
    {
        if (m_skipDepth > 0) {
            --m_skipDepth;
            return true;
        }
        m_depth = 0;
        return true;
    }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& ex) override
    {
        return fail(QString::fromUtf8(ex.what()));
    }

private:
    struct Value {
        enum class Kind { null, boolean, number, text } kind;
        bool flag = false;
        double real = 0.0;
        const std::string* string = nullptr;
        static Value null() { return { Kind::null }; }
        static Value boolean(bool b) { return { Kind::boolean, b }; }
        static Value number(double d) { return { Kind::number, false, d }; }
        static Value text(const std::string& s) { return { Kind::text, false, 0.0, &s }; }
    };
    struct Partial {
        SessionRecord record;
        bool hasId = false, hasDate = false, hasDuration = false, hasType = false, hasCompleted = false;
    };

    static bool isKnownKey(const std::string& key)
    {
        return key == "id" || key == "date" || key == "duration" || key == "type" || key == "completedFully"
            || key == "tag";
    }

    QString elementText() const { return QStringLiteral("element %1").arg(records.size()); }

    bool fail(const QString& message)
    {
        if (error.isEmpty())
            error = message;
        return false;
    }

    bool wrongType(const char* expected)
    {
        return fail(elementText()
            + QStringLiteral(": the key \"%1\" is not %2")
                  .arg(QString::fromStdString(m_key), QLatin1String(expected)));
    }

    bool scalar(const Value& value)
    {
        if (m_skipDepth > 0)
            return true;
        if (m_depth == 0)
            return fail(QStringLiteral("the top level is not an array"));
        if (m_depth == 1)
            return fail(elementText() + QStringLiteral(" is not an object"));
        return assign(value);
    }

    bool assign(const Value& value)
    {
        Partial& p = m_record;
        if (m_key == "id") {
            if (value.kind != Value::Kind::text)
                return wrongType("a string");
            const std::string& text = *value.string;
            const QUuid id = QUuid::fromString(QLatin1String(text.data(), qsizetype(text.size())));
            const bool isNilText = text == "00000000-0000-0000-0000-000000000000";
            if (text.size() != 36 || text.front() == '{' || (id.isNull() && !isNilText))
                return fail(elementText() + QStringLiteral(": the key \"id\" is not a UUID"));
            p.record.id = id;
            p.hasId = true;
        } else if (m_key == "date") {
            if (value.kind != Value::Kind::number)
                return wrongType("a number");
            p.record.date = Instant::fromReferenceSeconds(value.real);
            p.hasDate = true;
        } else if (m_key == "duration") {
            if (value.kind != Value::Kind::number)
                return wrongType("a number");
            p.record.duration = value.real;
            p.hasDuration = true;
        } else if (m_key == "type") {
            if (value.kind != Value::Kind::text)
                return wrongType("a string");
            const auto type = sessionTypeFromRawValue(*value.string);
            if (!type)
                return fail(elementText()
                    + QStringLiteral(
                        ": the key \"type\" holds \"%1\", which is not focus, shortBreak or longBreak")
                          .arg(QString::fromStdString(*value.string)));
            p.record.type = *type;
            p.hasType = true;
        } else if (m_key == "completedFully") {
            if (value.kind != Value::Kind::boolean)
                return wrongType("true or false");
            p.record.completedFully = value.flag;
            p.hasCompleted = true;
        } else if (m_key == "tag") {
            if (value.kind == Value::Kind::null)
                p.record.tag.reset();
            else if (value.kind == Value::Kind::text)
                p.record.tag = QString::fromStdString(*value.string);
            else
                return wrongType("a string");
        }
        return true;
    }

    bool finishRecord()
    {
        const Partial& p = m_record;
        const char* missing = !p.hasId ? "id"
            : !p.hasDate               ? "date"
            : !p.hasDuration           ? "duration"
            : !p.hasType               ? "type"
            : !p.hasCompleted          ? "completedFully"
                                       : nullptr;
        if (missing)
            return fail(
                elementText() + QStringLiteral(": the key \"%1\" is missing").arg(QLatin1String(missing)));
        records.push_back(std::move(m_record.record));
        return true;
    }

    int m_depth = 0; // 0 outside, 1 in the top-level array, 2 in a record
    int m_skipDepth = 0;
    std::string m_key;
    Partial m_record;
};

void appendNumber(std::string& out, double value)
{
    if (!std::isfinite(value))
        value = 0.0; // cannot come from a parsed file; never write a token JSON lacks
    char buffer[32];
    std::to_chars_result result {};
    if (value == std::trunc(value) && std::fabs(value) < 9.0e15)
        result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(value));
    else
        result
            = std::to_chars(buffer, buffer + sizeof buffer, value); // shortest text that reads back exactly
    out.append(buffer, result.ptr);
}
} // namespace

std::optional<std::vector<SessionRecord>> decode(std::string_view document, QString* error)
{
    HistoryReader reader;
    const bool ok = Json::sax_parse(document.begin(), document.end(), &reader);
    if (!ok || !reader.error.isEmpty()) {
        if (error)
            *error = reader.error.isEmpty() ? QStringLiteral("the document is not a history") : reader.error;
        return std::nullopt;
    }
    return std::move(reader.records);
}

void appendRecord(std::string& out, const SessionRecord& record)
{
    out.append(R"({"id":")");
    out.append(record.id.toByteArray(QUuid::WithoutBraces).toUpper().toStdString());
    out.append(R"(","date":)");
    appendNumber(out, record.date.referenceSeconds());
    out.append(R"(,"duration":)");
    appendNumber(out, record.duration);
    out.append(R"(,"type":")");
    out.append(rawValue(record.type));
    out.append(R"(","completedFully":)");
    out.append(record.completedFully ? "true" : "false");
    if (record.tag) {
        out.append(R"(,"tag":)");
        out.append(Json(record.tag->toStdString()).dump(-1, ' ', false, Json::error_handler_t::replace));
    }
    out.push_back('}');
}

std::string encode(const std::vector<SessionRecord>& records)
{
    std::string out;
    out.reserve(records.size() * 130 + 2);
    out.push_back('[');
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i > 0)
            out.push_back(',');
        appendRecord(out, records[i]);
    }
    out.push_back(']');
    return out;
}

} // namespace SessionHistoryCodec
