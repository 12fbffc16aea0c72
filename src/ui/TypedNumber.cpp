#include "TypedNumber.h"

#include <algorithm>
#include <limits>

namespace TypedNumber {
namespace {
int saturated(qint64 value)
{
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
} // namespace

std::optional<int> parse(const QString& text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty()
        || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok);
    return ok ? saturated(value) : std::numeric_limits<int>::max();
}

int stepped(int value, int delta)
{
    return saturated(qint64(value) + delta);
}

} // namespace TypedNumber
