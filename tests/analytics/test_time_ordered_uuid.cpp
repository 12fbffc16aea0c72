#include "beacon/TimeBasedEpochGenerator.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <set>
#include <span>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ManualClock.h"

namespace {

using beacon::BeaconClock;
using beacon::BeaconUuid;
using beacon::TimeBasedEpochGenerator;
using beacon::test::ManualClock;
using std::chrono::milliseconds;

using Entropy = std::array<std::uint8_t, 10>;

BeaconClock::TimePoint atMillis(std::uint64_t millis)
{
    return BeaconClock::TimePoint(milliseconds(millis));
}

/// A secure source that hands out fixed bytes and counts how often it was asked.
struct FixedRandom {
    Entropy bytes {};
    int calls = 0;
    bool works = true;

    TimeBasedEpochGenerator::SecureRandom source()
    {
        return [this](std::span<std::uint8_t> out) {
            ++calls;
            if (!works)
                return false;
            std::copy(bytes.begin(), bytes.end(), out.begin());
            return true;
        };
    }
};

std::uint64_t timestampOf(const BeaconUuid& id)
{
    std::uint64_t millis = 0;
    for (int i = 0; i < 6; ++i)
        millis = millis << 8 | id.bytes()[static_cast<std::size_t>(i)];
    return millis;
}

/// The last eight bytes as a number: the counting part, clear of the version and variant bits.
std::uint64_t tailOf(const BeaconUuid& id)
{
    std::uint64_t tail = 0;
    for (std::size_t i = 8; i < 16; ++i)
        tail = tail << 8 | id.bytes()[i];
    return tail & 0x3FFF'FFFF'FFFF'FFFFull;
}

TEST(TimeOrderedUuid, LaysOutMillisecondsThenEntropyWithVersionAndVariantBits)
{
    auto clock = std::make_shared<ManualClock>(atMillis(0x0123'4567'89AB) + std::chrono::microseconds(999));
    FixedRandom random;
    random.bytes.fill(0xFF);
    TimeBasedEpochGenerator generator(clock, random.source());

    const BeaconUuid id = generator.timeOrderedUuid();
    const auto& b = id.bytes();
    EXPECT_EQ(timestampOf(id), 0x0123'4567'89ABu) << "the fraction of a millisecond is dropped";
    EXPECT_EQ(b[6], 0x7F);
    EXPECT_EQ(b[7], 0xFF);
    EXPECT_EQ(b[8], 0xBF);
    for (std::size_t i = 9; i < 16; ++i)
        EXPECT_EQ(b[i], 0xFF) << "byte " << i;
    EXPECT_EQ(id.version(), 7);
    EXPECT_EQ(id.toString(), "01234567-89AB-7FFF-BFFF-FFFFFFFFFFFF");

    random.bytes.fill(0x00);
    clock->advance(milliseconds(1));
    const BeaconUuid low = generator.timeOrderedUuid();
    EXPECT_EQ(low.bytes()[6], 0x70);
    EXPECT_EQ(low.bytes()[8], 0x80);
}

TEST(TimeOrderedUuid, ClockBeforeTheEpochDoesNotWrapIntoTheFuture)
{
    auto clock = std::make_shared<ManualClock>(atMillis(0) - std::chrono::hours(1));
    FixedRandom random;
    TimeBasedEpochGenerator generator(clock, random.source());
    EXPECT_EQ(timestampOf(generator.timeOrderedUuid()), 0u);
}

TEST(TimeOrderedUuid, WithinOneMillisecondCountsUpCarryingTowardsTheFirstByte)
{
    auto clock = std::make_shared<ManualClock>(atMillis(1'700'000'000'000));
    FixedRandom random;
    random.bytes = { 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x12, 0xFF, 0xFF };
    TimeBasedEpochGenerator generator(clock, random.source());

    const BeaconUuid first = generator.timeOrderedUuid();
    const BeaconUuid second = generator.timeOrderedUuid();
    const BeaconUuid third = generator.timeOrderedUuid();

    EXPECT_EQ(random.calls, 1) << "entropy is drawn once per millisecond";
    EXPECT_EQ(first.toString(), "018BCFE5-6800-7102-8304-05060712FFFF");
    EXPECT_EQ((std::array { first.bytes()[13], first.bytes()[14], first.bytes()[15] }),
        (std::array<std::uint8_t, 3> { 0x12, 0xFF, 0xFF }));
    EXPECT_EQ((std::array { second.bytes()[13], second.bytes()[14], second.bytes()[15] }),
        (std::array<std::uint8_t, 3> { 0x13, 0x00, 0x00 }));
    EXPECT_EQ((std::array { third.bytes()[13], third.bytes()[14], third.bytes()[15] }),
        (std::array<std::uint8_t, 3> { 0x13, 0x00, 0x01 }));
    // Same millisecond: only the last ten bytes differ, and the ids sort in creation order.
    EXPECT_TRUE(std::equal(first.bytes().begin(), first.bytes().begin() + 6, third.bytes().begin()));
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    EXPECT_LT(first.toString(), second.toString());
    EXPECT_LT(second.toString(), third.toString());
}

TEST(TimeOrderedUuid, ANewMillisecondDrawsFreshEntropy)
{
    auto clock = std::make_shared<ManualClock>(atMillis(1'000));
    FixedRandom random;
    random.bytes.fill(0xAA);
    TimeBasedEpochGenerator generator(clock, random.source());

    const BeaconUuid first = generator.timeOrderedUuid();
    generator.timeOrderedUuid();
    clock->advance(milliseconds(1));
    const BeaconUuid later = generator.timeOrderedUuid();

    EXPECT_EQ(random.calls, 2);
    EXPECT_EQ(timestampOf(later), 1'001u);
    EXPECT_EQ(tailOf(later), tailOf(first)) << "counting restarts from the fresh bytes";
    EXPECT_LT(first, later);
}

TEST(TimeOrderedUuid, FallsBackToAGeneralPurposeGeneratorWhenSecureBytesFail)
{
    auto clock = std::make_shared<ManualClock>(atMillis(5'000));
    FixedRandom random;
    random.works = false;
    TimeBasedEpochGenerator generator(clock, random.source());

    std::set<std::uint64_t> tails;
    for (int i = 0; i < 8; ++i) {
        const BeaconUuid id = generator.timeOrderedUuid();
        EXPECT_EQ(id.version(), 7);
        EXPECT_EQ(id.bytes()[8] & 0xC0, 0x80);
        tails.insert(tailOf(id));
        clock->advance(milliseconds(1));
    }
    EXPECT_EQ(random.calls, 8);
    EXPECT_EQ(tails.size(), 8u) << "each millisecond still gets its own random entropy";
}

TEST(TimeOrderedUuid, SharedGeneratorMakesDistinctVersion7Ids)
{
    auto& generator = TimeBasedEpochGenerator::shared();
    EXPECT_EQ(&generator, &TimeBasedEpochGenerator::shared());
    std::set<BeaconUuid> ids;
    for (int i = 0; i < 20'000; ++i) {
        const BeaconUuid id = generator.timeOrderedUuid();
        ASSERT_EQ(id.version(), 7);
        ASSERT_EQ(id.bytes()[8] & 0xC0, 0x80);
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), 20'000u);
}

TEST(TimeOrderedUuid, SystemSecureRandomFillsTheWholeSpan)
{
    std::array<std::uint8_t, 64> bytes {};
    ASSERT_TRUE(TimeBasedEpochGenerator::systemSecureRandom(bytes));
    EXPECT_TRUE(std::any_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b != 0; }));
    EXPECT_TRUE(std::any_of(bytes.begin() + 56, bytes.end(), [](std::uint8_t b) { return b != 0; }))
        << "the tail is filled too (fails with probability 2^-64)";
}

TEST(TimeOrderedUuid, ThreadsSharingOneMillisecondGetConsecutiveOrderedIds)
{
    // Pinned to one millisecond with a known start, the only way for every id to be
    // unique and every thread's ids to rise is one shared, serialised counter.
    auto clock = std::make_shared<ManualClock>(atMillis(42));
    FixedRandom random;
    TimeBasedEpochGenerator generator(clock, random.source());
    constexpr int kThreads = 4;
    constexpr int kPerThread = 5'000;

    std::vector<std::vector<BeaconUuid>> made(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            made[static_cast<std::size_t>(t)].reserve(kPerThread);
            for (int i = 0; i < kPerThread; ++i)
                made[static_cast<std::size_t>(t)].push_back(generator.timeOrderedUuid());
        });
    }
    for (auto& thread : threads)
        thread.join();

    std::vector<BeaconUuid> all;
    for (const auto& ids : made) {
        EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
        EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end()) << "strictly increasing per thread";
        all.insert(all.end(), ids.begin(), ids.end());
    }
    std::sort(all.begin(), all.end());
    ASSERT_EQ(all.size(), static_cast<std::size_t>(kThreads * kPerThread));
    for (std::size_t i = 0; i < all.size(); ++i)
        ASSERT_EQ(tailOf(all[i]), i) << "gap or duplicate at position " << i;
    EXPECT_EQ(random.calls, 1);
}

} // namespace
