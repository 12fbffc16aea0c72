#include "BeaconFileIo.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace beacon::detail {
namespace {
std::error_code lastError()
{
    return { errno, std::generic_category() };
}

/// Moves `from` to `to` unless `to` exists.
std::error_code renameNoReplace(const char* from, const char* to)
{
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return {};
    if (errno != EINVAL && errno != ENOSYS)
        return lastError();
    // A file system without the flag: a hard link fails just the same when the name is taken.
    if (::link(from, to) != 0)
        return lastError();
    ::unlink(from);
    return {};
}
} // namespace

std::string errnoText(int error)
{
    return std::error_code(error, std::generic_category()).message();
}

FileContents readWholeFile(const std::filesystem::path& path, std::size_t maxSize)
{
    FileContents contents;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT) {
            contents.status = FileContents::Status::failed;
            contents.error = errnoText(errno);
        }
        return contents;
    }
    contents.status = FileContents::Status::failed;
    struct stat info { };
    if (::fstat(fd, &info) != 0) {
        contents.error = errnoText(errno);
    } else if (!S_ISREG(info.st_mode)) {
        contents.error = "not a regular file";
    } else if (static_cast<std::uint64_t>(info.st_size) > maxSize) {
        contents.error = "file too large";
    } else {
        contents.bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        for (;;) {
            if (done == contents.bytes.size()) // the file may have grown since fstat
                contents.bytes.resize(std::min(done * 2 + 4096, maxSize + 1));
            const ssize_t got = ::read(fd, contents.bytes.data() + done, contents.bytes.size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                contents.error = errnoText(errno);
                break;
            }
            if (got == 0) {
                contents.bytes.resize(done);
                contents.status = FileContents::Status::read;
                break;
            }
            done += static_cast<std::size_t>(got);
            if (done > maxSize) {
                contents.error = "file too large";
                break;
            }
        }
    }
    ::close(fd);
    if (contents.status == FileContents::Status::failed)
        contents.bytes.clear();
    return contents;
}

std::error_code writeFileAtomically(
    const std::filesystem::path& path, std::string_view bytes, WriteMode mode, Durability durability)
{
    // Appended piece by piece: GCC 12 warns wrongly (-Wrestrict) about "." + std::string at -O3.
    std::string name(".");
    name.append(path.filename().native()).append(".XXXXXX");
    std::string temporary = (path.parent_path() / name).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return lastError();
    std::size_t done = 0;
    std::error_code error;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote < 0) {
            error = lastError();
            break;
        }
        done += static_cast<std::size_t>(wrote);
    }
    if (!error && durability == Durability::synced && ::fsync(fd) != 0)
        error = lastError();
    if (::close(fd) != 0 && !error)
        error = lastError();
    if (!error) {
        if (mode == WriteMode::createNew)
            error = renameNoReplace(temporary.c_str(), path.c_str());
        else if (::rename(temporary.c_str(), path.c_str()) != 0)
            error = lastError();
    }
    if (error) {
        ::unlink(temporary.c_str());
        return error;
    }
    if (durability == Durability::unsynced)
        return {};
    // Make the rename itself durable.
    const int folder = ::open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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

bool nestsDeeperThan(std::string_view text, std::size_t limit)
{
    std::size_t depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit)
                return true;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return false;
}

} // namespace beacon::detail
