// Feeds arbitrary bytes to the storage's key-file reader. Whatever it accepts must
// survive a round trip: read, write back, read again gives the same value.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <stdlib.h>

#include "beacon/BeaconStorage.h"

namespace {
using beacon::BeaconStorage;
using beacon::StorageKey;
using Json = nlohmann::json;

std::filesystem::path makeFolder()
{
    // Memory-backed when possible: every write is synced to disk.
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
        ? std::filesystem::path("/dev/shm")
        : std::filesystem::temp_directory_path();
    std::string pattern = (base / "fuzz-beacon-key-file-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        std::abort();
    return pattern;
}

struct Folder {
    std::filesystem::path path = makeFolder();
    ~Folder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void writeRaw(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Folder folder;
    static const BeaconStorage storage(folder.path);
    if (size == 0)
        return 0;
    // The first byte picks the key (the wrapping name depends on it), the rest is the file.
    const auto& keys = beacon::allStorageKeys();
    const StorageKey key = keys[data[0] % keys.size()];
    const std::filesystem::path file = storage.url(key);

    writeRaw(file, data + 1, size - 1);
    const auto json = storage.getJson(key);
    const auto text = storage.getString(key);
    const auto flag = storage.getBool(key);
    const auto dictionary = storage.getDictionary(key);
    require(!text || !flag); // one file cannot hold both a string and a bool
    require(!dictionary || (json && *json == *dictionary));

    if (json) {
        storage.setJson(key, *json);
        const auto again = storage.getJson(key);
        require(again.has_value());
        if (json->is_object() || json->is_array())
            require(*again == *json);
        else // a bare scalar comes back wrapped under the key's name
            require(*again == Json::object({ { std::string(beacon::rawValue(key)), *json } }));
    }
    if (text) {
        storage.setString(key, *text);
        require(storage.getString(key) == text);
    }
    if (flag) {
        storage.setBool(key, *flag);
        require(storage.getBool(key) == flag);
    }
    storage.remove(key);
    require(!storage.getJson(key));
    return 0;
}
