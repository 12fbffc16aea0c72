#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace beacon {

/// Why compressing an upload body failed.
struct GzipError {
    enum class Kind { stream, data, memory, buffer, version, unknown };

    Kind kind = Kind::unknown;
    std::string message; ///< zlib's message, or "Unknown gzip error" when it gives none

    /// Maps a zlib return code and its optional message.
    static GzipError fromZlib(int code, const char* message);

    bool operator==(const GzipError&) const = default;
};

/// The compressed bytes, or the reason there are none.
struct GzipResult {
    std::string data;
    std::optional<GzipError> error;

    explicit operator bool() const { return !error; }
};

/// Compresses `input` into a gzip member (default level, 32 KiB window, memory level 9).
GzipResult gzipCompress(std::string_view input);

} // namespace beacon
