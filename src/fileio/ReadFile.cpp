#include "fileio/ReadFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fileio/ErrnoText.h"

namespace fileio {
namespace {
void failTooLarge(FileContents& contents)
{
    contents.error = "file too large";
    contents.tooLarge = true;
}
} // namespace

FileContents readWholeFile(const std::filesystem::path& path, std::size_t maxSize)
{
    FileContents contents;
    // Non-blocking: opening a FIFO for reading would otherwise wait for a writer.
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
        failTooLarge(contents);
    } else {
        // One byte more than the file holds: the read that finds the end then needs no larger buffer.
        contents.bytes.resize(std::min(static_cast<std::size_t>(info.st_size), maxSize) + 1);
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
                failTooLarge(contents);
                break;
            }
        }
    }
    ::close(fd);
    if (contents.status == FileContents::Status::failed)
        contents.bytes = std::string();
    return contents;
}

} // namespace fileio
