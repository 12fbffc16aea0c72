#pragma once

#include <filesystem>
#include <system_error>

namespace fileio {

/// Creates `folder` and any missing parents, each readable by its owner only (0700), as the XDG
/// base directory rules ask. Folders that exist keep their mode; a file in the way is `not_a_directory`.
std::error_code createPrivateFolders(const std::filesystem::path& folder);

} // namespace fileio
