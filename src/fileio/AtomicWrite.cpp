#include "fileio/AtomicWrite.h"

#include <cerrno>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fileio/ErrnoText.h"
#include "fileio/Rename.h"

namespace fileio {
namespace {
constexpr std::size_t kRandomLength = 6; // mkostemp's "XXXXXX"
// A cleaner can take a fresh temporary before its writer locks it; this many tries is plenty.
constexpr int kMaxCreateAttempts = 8;

bool isRandomPart(std::string_view text)
{
    if (text.size() != kRandomLength)
        return false;
    for (const char c : text) {
        const bool alphanumeric = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alphanumeric)
            return false;
    }
    return true;
}

bool isTemporaryOf(std::string_view entry, std::string_view fileName)
{
    return entry.size() == fileName.size() + 2 + kRandomLength && entry.front() == '.'
        && entry.substr(1, fileName.size()) == fileName && entry[1 + fileName.size()] == '.'
        && isRandomPart(entry.substr(2 + fileName.size()));
}

std::filesystem::path folderOf(const std::filesystem::path& path)
{
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

/// Removes the temporaries of `fileName` in `folder` that no live writer holds. A writer keeps
/// its temporary locked until it is renamed, so a concurrent save is never disturbed.
void removeLeftovers(const std::filesystem::path& folder, std::string_view fileName)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (!isTemporaryOf(name, fileName))
            continue;
        const int fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat opened { };
        struct stat named { };
        // Only our own kind of file, still under that name, and not held by a writer.
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_uid == ::geteuid()
            && ::flock(fd, LOCK_EX | LOCK_NB) == 0
            && ::fstatat(dirFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0
            && named.st_ino == opened.st_ino && named.st_dev == opened.st_dev)
            ::unlinkat(dirFd, entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

/// Creates and locks a new temporary beside `path`; -1 with `errno` set on failure.
int createTemporary(const std::filesystem::path& path, std::string& temporary)
{
    // Appended piece by piece: GCC 12 warns wrongly (-Wrestrict) about "." + std::string at -O3.
    std::string name(".");
    name.append(path.filename().native()).append(".XXXXXX");
    for (int attempt = 0; attempt < kMaxCreateAttempts; ++attempt) {
        temporary = (folderOf(path) / name).string();
        const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
        if (fd < 0)
            return -1;
        ::flock(fd, LOCK_EX); // waits only while a cleaner looks at it; a file system without locks is fine
        struct stat info { };
        if (::fstat(fd, &info) == 0 && info.st_nlink > 0)
            return fd;
        ::close(fd); // a cleaner removed it before we held the lock
    }
    errno = EAGAIN;
    return -1;
}

std::error_code writeAll(int fd, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote < 0)
            return lastError();
        done += static_cast<std::size_t>(wrote);
    }
    return {};
}
} // namespace

std::error_code writeFileAtomically(
    const std::filesystem::path& path, std::string_view bytes, WriteMode mode, Durability durability)
{
    if (mode == WriteMode::replace) // before writing: on a full disk the leftovers may be what fills it
        removeLeftovers(folderOf(path), path.filename().native());

    std::string temporary;
    const int fd = createTemporary(path, temporary);
    if (fd < 0)
        return lastError();
    std::error_code error;
    struct stat old { };
    if (mode == WriteMode::replace && ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)
        && ::fchmod(fd, old.st_mode & 07777) != 0)
        error = lastError();
    if (!error)
        error = writeAll(fd, bytes);
    if (!error && durability == Durability::synced && ::fsync(fd) != 0)
        error = lastError();
    // The lock lives as long as any descriptor of the file: this one keeps it through the rename,
    // while closing `fd` still reports a failed final flush.
    const int lockFd = ::dup(fd);
    if (::close(fd) != 0 && !error)
        error = lastError();
    if (!error) {
        if (mode == WriteMode::createNew)
            error = renameNoReplace(temporary, path);
        else if (::rename(temporary.c_str(), path.c_str()) != 0)
            error = lastError();
    }
    if (error)
        ::unlink(temporary.c_str());
    if (lockFd >= 0)
        ::close(lockFd);
    if (error)
        return error;
    if (durability == Durability::unsynced)
        return {};
    // Makes the rename itself durable. The new file is in place whatever happens here, so a failure
    // is not reported: the caller must not believe the old content is still there.
    const int folder = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return {};
}

bool isAtomicWriteLeftover(std::string_view fileName)
{
    // "." + name + "." + six characters chosen by mkostemp
    return fileName.size() > 8 && fileName.front() == '.' && fileName[fileName.size() - 7] == '.';
}

} // namespace fileio
