#pragma once

#include <cstddef>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

namespace beacon {

class BeaconClock;

/// Queued items, one file each in one folder, oldest first.
///
/// A file is named after the time it was added, in seconds since 1970 as a decimal number
/// ("1700000000.25"), so that the folder listing sorted by value is the queue order. Names never
/// repeat and always grow, even for items added in the same instant or after the clock went back.
/// Every file is written whole or not at all. Safe to use from several threads.
class BeaconFileBackedQueue {
public:
    struct Item {
        std::string name;
        std::string data;
    };

    /// Larger items are refused when added and treated as corrupt when read.
    static constexpr std::size_t maxItemSize = std::size_t { 32 } * 1024 * 1024;
    /// A legacy queue file larger than this is not migrated.
    static constexpr std::size_t maxLegacyFileSize = std::size_t { 256 } * 1024 * 1024;

    /// Nothing touches the disk before `setup`. Names are taken from `clock` (the system clock when null).
    explicit BeaconFileBackedQueue(
        std::filesystem::path folder, std::shared_ptr<BeaconClock> clock = nullptr);

    BeaconFileBackedQueue(const BeaconFileBackedQueue&) = delete;
    BeaconFileBackedQueue& operator=(const BeaconFileBackedQueue&) = delete;

    /// The folder.
    const std::filesystem::path& queue() const { return m_queue; }
    std::filesystem::path url(std::string_view name) const { return m_queue / name; }

    /// Creates the folder, moves the events of a legacy queue file (a JSON array of event objects)
    /// into files of their own and deletes it, then loads the folder's listing in queue order.
    void setup(const std::optional<std::filesystem::path>& oldQueue = std::nullopt);

    /// Writes `data` as a new last item; its name, or nothing when it could not be written.
    /// A folder that has disappeared is made again.
    std::optional<std::string> add(std::string_view data);

    /// The data of up to `count` items from the front. Items whose file is gone, or cannot be read
    /// (the file is then deleted), are reported, skipped and leave the queue.
    std::vector<std::string> peek(std::size_t count);
    /// `peek` with the names, for removing exactly what was read.
    std::vector<Item> peekItems(std::size_t count);

    /// Removes up to `count` items from the front.
    void pop(std::size_t count);
    /// Removes the item at `index` (0 is the oldest); nothing when there is none.
    void remove(std::size_t index);
    /// Removes the named items that are still queued; other names are ignored.
    void remove(const std::vector<std::string>& names);

    std::size_t depth() const;
    /// The queued names, oldest first.
    std::vector<std::string> names() const;

    /// The file name for a time: the shortest decimal text that reads back as exactly `seconds`,
    /// with at least one fractional digit ("1700000000.0").
    static std::string fileName(double seconds);
    /// The value of a file name; nothing for a name that is not a finite decimal number.
    static std::optional<double> valueOf(std::string_view fileName);

private:
    struct Entry {
        std::string name;
        std::optional<double> value;
    };
    static bool before(const Entry& a, const Entry& b);

    void createFolder();
    void migrate(const std::filesystem::path& oldQueue);
    void load();
    /// The next name at or after `seconds` that is later than every name given out or loaded.
    double nextValue(double seconds);
    /// Writes a new file named at or after `seconds`; its entry, or nothing after logging `failure` + error.
    /// `synced` files also survive a power loss.
    std::optional<Entry> write(
        std::string_view data, double seconds, bool bumpPastIssued, std::string_view failure, bool synced);
    void insert(Entry entry);
    bool dropName(std::string_view name);
    void deleteFile(std::string_view name) const;

    const std::filesystem::path m_queue;
    const std::shared_ptr<BeaconClock> m_clock;

    std::mutex m_nameLock;
    std::optional<double> m_lastIssued; // m_nameLock

    mutable std::shared_mutex m_itemsLock;
    std::deque<Entry> m_items; // m_itemsLock; sorted with `before`
};

} // namespace beacon
