// The history reader on arbitrary bytes: never crashes, and whatever it accepts
// survives a write and a second read unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "data/SessionHistoryCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto records = SessionHistoryCodec::decode(input);
    if (!records)
        return 0;
    const std::string written = SessionHistoryCodec::encode(*records);
    const auto reread = SessionHistoryCodec::decode(written);
    if (!reread || *reread != *records || SessionHistoryCodec::encode(*reread) != written)
        std::abort();
    return 0;
}
