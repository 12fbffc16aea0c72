#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace fileio {

struct FileContents {
    enum class Status { missing, read, failed } status = Status::missing;
    std::string bytes;
    /// Set when `failed`: the system's reason, "not a regular file" or "file too large".
    std::string error;
    /// The failure was the size limit.
    bool tooLarge = false;
};

/// Reads a regular file of at most `maxSize` bytes. Anything else (a folder, a pipe, a device, a
/// larger file) is a failure; opening never blocks, so a pipe put where a file belongs cannot hang us.
FileContents readWholeFile(const std::filesystem::path& path, std::size_t maxSize);

} // namespace fileio
