#pragma once

#include <cstddef>
#include <string_view>

namespace fileio {

/// True when brackets outside strings nest deeper than `limit`. Checked before parsing: JSON
/// nested that deep would exhaust the stack when decoded, copied or written back.
bool nestsDeeperThan(std::string_view text, std::size_t limit);

} // namespace fileio
