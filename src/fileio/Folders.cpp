#include "fileio/Folders.h"

#include <cerrno>

#include <sys/stat.h>

#include "fileio/ErrnoText.h"

namespace fileio {
namespace {
/// mkdir that counts an existing folder (or a link to one) as success.
std::error_code makeFolder(const std::filesystem::path& folder)
{
    if (::mkdir(folder.c_str(), 0700) == 0)
        return {};
    const std::error_code error = lastError();
    if (error != std::errc::file_exists)
        return error;
    struct stat info { };
    if (::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return {};
    return std::make_error_code(std::errc::not_a_directory);
}
} // namespace

std::error_code createPrivateFolders(const std::filesystem::path& folder)
{
    if (folder.empty())
        return {};
    std::error_code error = makeFolder(folder);
    if (error != std::errc::no_such_file_or_directory)
        return error;
    const std::filesystem::path parent = folder.parent_path();
    if (parent.empty() || parent == folder)
        return error;
    if (const std::error_code parentError = createPrivateFolders(parent))
        return parentError;
    return makeFolder(folder);
}

} // namespace fileio
