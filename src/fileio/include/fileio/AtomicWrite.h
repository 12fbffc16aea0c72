#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace fileio {

enum class WriteMode {
    replace, ///< an existing file is replaced
    createNew, ///< an existing file is left alone and the write fails with `file_exists`
};

enum class Durability {
    /// The data and the rename are synced: the file survives a power loss or an OS crash.
    synced,
    /// No syncing: a killed process still leaves the whole file or none, but a power loss or an OS
    /// crash may lose the file (or leave it empty). Many times cheaper.
    unsynced,
};

/// Writes `bytes` to a temporary file beside `path` (".<name>.XXXXXX") and renames it into place,
/// so that a crashed process leaves either the whole old file or the whole new one.
///
/// Every write, the sync and the close are checked; on any failure the temporary is removed, the
/// old file is left as it was, and the system's reason is returned. A new file is readable by its
/// owner only (0600); a replaced file's mode is kept. When replacing, temporaries of `path` left
/// by writers that died are removed first.
std::error_code writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
    WriteMode mode = WriteMode::replace, Durability durability = Durability::synced);

/// True for names of the form `writeFileAtomically` gives its temporaries (".<name>.XXXXXX").
bool isAtomicWriteLeftover(std::string_view fileName);

} // namespace fileio
