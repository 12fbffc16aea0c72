#include "fileio/Rename.h"

#include <cerrno>

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include "fileio/ErrnoText.h"

namespace fileio {

std::error_code renameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return {};
    if (errno != EINVAL && errno != ENOSYS)
        return lastError();
    // A file system without the flag: a hard link fails just the same when the name is taken.
    if (::link(from.c_str(), to.c_str()) != 0)
        return lastError();
    ::unlink(from.c_str());
    return {};
}

} // namespace fileio
