#include "beacon/BeaconGzip.h"

#include <algorithm>
#include <climits>
#include <new>

#include <zlib.h>

namespace beacon {
namespace {
constexpr std::size_t kChunkSize = 16384;
constexpr int kGzipWindowBits = 15 + 16; // 32 KiB window plus the gzip wrapper
constexpr int kMemoryLevel = 9;

/// Releases the stream on every path out of gzipCompress.
struct DeflateStream {
    z_stream stream {};
    bool initialised = false;
    ~DeflateStream()
    {
        if (initialised)
            deflateEnd(&stream);
    }
};
} // namespace

GzipError GzipError::fromZlib(int code, const char* message)
{
    GzipError error;
    switch (code) {
    case Z_STREAM_ERROR:
        error.kind = Kind::stream;
        break;
    case Z_DATA_ERROR:
        error.kind = Kind::data;
        break;
    case Z_MEM_ERROR:
        error.kind = Kind::memory;
        break;
    case Z_BUF_ERROR:
        error.kind = Kind::buffer;
        break;
    case Z_VERSION_ERROR:
        error.kind = Kind::version;
        break;
    default:
        error.kind = Kind::unknown;
        break;
    }
    error.message = message && *message ? message : "Unknown gzip error";
    return error;
}

GzipResult gzipCompress(std::string_view input)
{
    GzipResult result;
    DeflateStream deflater;
    z_stream& stream = deflater.stream;
    const int initCode = deflateInit2(
        &stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kGzipWindowBits, kMemoryLevel, Z_DEFAULT_STRATEGY);
    if (initCode != Z_OK) {
        result.error = GzipError::fromZlib(initCode, stream.msg);
        return result;
    }
    deflater.initialised = true;

    const char* next = input.data();
    std::size_t remaining = input.size();
    std::string& out = result.data;
    std::size_t produced = 0;
    try {
        for (;;) {
            // avail_in is 32-bit: feed larger inputs in slices.
            if (stream.avail_in == 0 && remaining > 0) {
                const auto slice = static_cast<uInt>(std::min<std::size_t>(remaining, UINT_MAX));
                stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(next));
                stream.avail_in = slice;
                next += slice;
                remaining -= slice;
            }
            if (produced == out.size())
                out.resize(out.size() + kChunkSize);
            stream.next_out = reinterpret_cast<Bytef*>(out.data() + produced);
            stream.avail_out = static_cast<uInt>(std::min<std::size_t>(out.size() - produced, UINT_MAX));
            const uInt availableBefore = stream.avail_out;
            const int code = deflate(&stream, remaining == 0 ? Z_FINISH : Z_NO_FLUSH);
            produced += availableBefore - stream.avail_out;
            if (code == Z_STREAM_END)
                break;
            if (code != Z_OK) {
                result.error = GzipError::fromZlib(code, stream.msg);
                result.data.clear();
                return result;
            }
        }
    } catch (const std::bad_alloc&) {
        result.error = GzipError::fromZlib(Z_MEM_ERROR, zError(Z_MEM_ERROR));
        result.data.clear();
        return result;
    }
    out.resize(produced);
    return result;
}

} // namespace beacon
