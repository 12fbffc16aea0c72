#include "CapturedLog.h"

#include <algorithm>
#include <sstream>

#include <gtest/gtest.h>

#include "beacon/BeaconLog.h"

namespace beacon::test {

CapturedLog::CapturedLog()
{
    setDebugLogEnabled(true);
    testing::internal::CaptureStdout();
}

CapturedLog::~CapturedLog()
{
    lines();
}

const std::vector<std::string>& CapturedLog::lines()
{
    if (m_capturing) {
        m_capturing = false;
        setDebugLogEnabled(false);
        std::istringstream output(testing::internal::GetCapturedStdout());
        for (std::string line; std::getline(output, line);)
            m_lines.push_back(line);
    }
    return m_lines;
}

bool CapturedLog::contains(const std::string& text)
{
    const auto& all = lines();
    return std::any_of(all.begin(), all.end(),
        [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

} // namespace beacon::test
