#include "UploadHelpers.h"

#include <ctime>

namespace beacon::test {

std::vector<int> indexesOf(const std::vector<nlohmann::json>& events)
{
    std::vector<int> indexes;
    for (const nlohmann::json& event : events)
        indexes.push_back(event["properties"]["index"].get<int>());
    return indexes;
}

std::map<int, std::vector<int>> indexesByThread(const std::vector<nlohmann::json>& events)
{
    std::map<int, std::vector<int>> byThread;
    for (const nlohmann::json& event : events)
        byThread[event["properties"]["thread"].get<int>()].push_back(event["properties"]["index"].get<int>());
    return byThread;
}

std::vector<int> range(int from, int to)
{
    std::vector<int> values;
    for (int i = from; i < to; ++i)
        values.push_back(i);
    return values;
}

std::string utcText(std::chrono::system_clock::time_point time)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm utc {};
    ::gmtime_r(&seconds, &utc);
    char text[40];
    return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S +0000", &utc));
}

} // namespace beacon::test
