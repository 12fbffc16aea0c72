#pragma once

#include <QString>
#include <optional>

/// Whole numbers the user types or steps in a settings field; the setting brings them within
/// its own limits.
namespace TypedNumber {

/// ASCII digits with blanks around them; more digits than an int holds give the largest int.
/// Anything else (a sign, a fraction, other digits, nothing) is refused.
std::optional<int> parse(const QString& text);
/// `value + delta`, saturating instead of overflowing.
int stepped(int value, int delta);

} // namespace TypedNumber
