#pragma once

#include <string>
#include <vector>

namespace beacon::test {

/// Switches the library's debug log on and collects what it prints until `lines()`.
/// Only one may be active at a time.
class CapturedLog {
public:
    CapturedLog();
    ~CapturedLog();
    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;

    /// Stops capturing and returns the printed lines.
    const std::vector<std::string>& lines();
    /// Stops capturing and tells whether some line contains `text`.
    bool contains(const std::string& text);

private:
    bool m_capturing = true;
    std::vector<std::string> m_lines;
};

} // namespace beacon::test
