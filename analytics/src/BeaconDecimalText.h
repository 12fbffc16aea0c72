#pragma once

#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace beacon::detail {

/// The shortest plain decimal text that reads back as `value`, always with a fractional part:
/// 5.0, 30.0, 1700000000.0000002. This is how queue file names and back-off figures are written.
inline std::string decimalText(double value)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf");
    std::array<char, 400> buffer {}; // fixed notation of the largest double fits
    const auto [end, error]
        = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    std::string text(buffer.data(), error == std::errc() ? end : buffer.data());
    if (text.find('.') == std::string::npos)
        text += ".0";
    return text;
}

/// The value of a whole decimal text; nothing for anything else, infinities and NaN included.
inline std::optional<double> parseDecimal(std::string_view text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace beacon::detail
