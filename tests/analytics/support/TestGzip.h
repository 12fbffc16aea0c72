#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace beacon::test {

/// Decodes one gzip member with zlib; nothing when `compressed` is not exactly that.
std::optional<std::string> gunzip(std::string_view compressed);

} // namespace beacon::test
