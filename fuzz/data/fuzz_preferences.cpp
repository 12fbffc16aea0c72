// The preferences reader on arbitrary bytes: never crashes, and a document it
// accepts serialises to a fixed point (write, read, write gives the same bytes),
// values it does not understand included.
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "platform/PreferencesCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto document = PreferencesCodec::decode(input);
    if (!document)
        return 0;
    const QByteArray written = PreferencesCodec::encode(document->values, document->unknown);
    const auto reread = PreferencesCodec::decode(written);
    if (!reread || PreferencesCodec::encode(reread->values, reread->unknown) != written)
        std::abort();
    return 0;
}
