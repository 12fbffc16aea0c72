#pragma once

#include <filesystem>
#include <system_error>

namespace fileio {

/// Moves `from` to `to` unless `to` exists (then `file_exists`). Never copies, so it works on
/// any kind of file, a pipe or a folder included, and never blocks on one.
std::error_code renameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace fileio
