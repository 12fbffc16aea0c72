// Temporaries that crashed writers left beside a file go at its next save, and
// nothing else does: not other files' temporaries, not look-alikes, and not the
// temporary of a writer that is still at work.
#include <atomic>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "RawFiles.h"

#include "fileio/AtomicWrite.h"

namespace {
namespace fs = std::filesystem;

struct Folder {
    fs::path path = [] {
        std::string pattern = (fs::temp_directory_path() / "fileio-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("no temporary folder");
        return fs::path(pattern);
    }();
    ~Folder()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

TEST(AtomicWrite, ASaveRemovesOnlyTheLeftoversOfItsOwnFile)
{
    Folder folder;
    const fs::path file = folder.path / "sessions.json";
    writeRaw(file, "old");
    const std::set<std::string> kept {
        "sessions.json",
        ".sessions.json.backup.json", // not six characters
        ".sessions.json.Ab-2Cd", // not characters mkostemp picks
        "sessions.json.Ab12Cd", // not hidden
        ".preferences.json.Ab12Cd", // another file's
        ".sessions.json.inUse1", // a writer still holds it
        ".sessions.json.Folder", // a folder
    };
    for (const std::string& name : kept) {
        if (name != "sessions.json" && name != ".sessions.json.Folder")
            writeRaw(folder.path / name, "keep");
    }
    fs::create_directory(folder.path / ".sessions.json.Folder");
    writeRaw(folder.path / ".sessions.json.Ab12Cd", "a crashed save");
    writeRaw(folder.path / ".sessions.json.zZ9yY8", "another");
    fs::create_directory(folder.path / "elsewhere");
    writeRaw(folder.path / "elsewhere" / ".sessions.json.Ab12Cd", "not beside the file");

    const int live = ::open((folder.path / ".sessions.json.inUse1").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(live, 0);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    EXPECT_FALSE(fileio::writeFileAtomically(file, "new"));
    ::close(live);

    std::set<std::string> expected = kept;
    expected.insert("elsewhere");
    EXPECT_EQ(entriesOf(folder.path), expected);
    EXPECT_EQ(readRaw(file), "new");
    EXPECT_EQ(entriesOf(folder.path / "elsewhere"), std::set<std::string> { ".sessions.json.Ab12Cd" });
}

TEST(AtomicWrite, WritersOfOneFileNeverTakeEachOthersTemporary)
{
    Folder folder;
    const fs::path file = folder.path / "beacon.flags";
    std::atomic<int> failures { 0 };
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([&, t] {
            const std::string bytes(4096, char('a' + t));
            for (int i = 0; i < 300; ++i) {
                if (fileio::writeFileAtomically(
                        file, bytes, fileio::WriteMode::replace, fileio::Durability::unsynced))
                    ++failures;
            }
        });
    }
    for (std::thread& writer : writers)
        writer.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(entriesOf(folder.path), std::set<std::string> { "beacon.flags" });
    EXPECT_EQ(readRaw(file).size(), 4096u);
}

} // namespace
