#include "TestGzip.h"

#include <zlib.h>

namespace beacon::test {

std::optional<std::string> gunzip(std::string_view compressed)
{
    z_stream stream {};
    if (inflateInit2(&stream, 15 + 16) != Z_OK) // gzip wrapper only, not zlib or raw
        return std::nullopt;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    std::string out;
    char buffer[65536];
    int code = Z_OK;
    while (code == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        code = inflate(&stream, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - stream.avail_out);
        if (code == Z_BUF_ERROR && stream.avail_in == 0)
            break; // input ended before the stream did
    }
    const bool complete = code == Z_STREAM_END && stream.avail_in == 0;
    inflateEnd(&stream);
    if (!complete)
        return std::nullopt;
    return out;
}

} // namespace beacon::test
