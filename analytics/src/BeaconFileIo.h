#pragma once

// Whole-file reads and crash-safe writes shared by the key-file store and the event queue.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace beacon::detail {

struct FileContents {
    enum class Status { missing, read, failed } status = Status::missing;
    std::string bytes;
    std::string error; ///< set when `failed`
};

/// Reads a regular file of at most `maxSize` bytes. Anything else (a folder, a pipe, a larger
/// file) is a failure; opening never blocks, so a pipe put where a file belongs cannot hang us.
FileContents readWholeFile(const std::filesystem::path& path, std::size_t maxSize);

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

/// Writes `bytes` to a temporary file in the same folder and renames it into place, so that a
/// crashed process leaves either the whole file or none. The temporary is removed on failure.
std::error_code writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
    WriteMode mode = WriteMode::replace, Durability durability = Durability::synced);

/// True for the temporary files `writeFileAtomically` leaves behind when the process dies mid-write.
bool isAtomicWriteLeftover(std::string_view fileName);

/// True when brackets outside strings nest deeper than `limit`; such JSON would exhaust the stack when
/// copied or written back.
bool nestsDeeperThan(std::string_view text, std::size_t limit);

std::string errnoText(int error);

} // namespace beacon::detail
