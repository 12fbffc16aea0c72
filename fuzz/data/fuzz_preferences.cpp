// The preferences reader on arbitrary bytes: never crashes, and a document it
// accepts serialises to a fixed point (write, read, write gives the same bytes).
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "platform/PreferencesCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto values = PreferencesCodec::decode(input);
    if (!values)
        return 0;
    const QByteArray written = PreferencesCodec::encode(*values);
    const auto reread = PreferencesCodec::decode(written);
    if (!reread || PreferencesCodec::encode(*reread) != written)
        std::abort();
    return 0;
}
