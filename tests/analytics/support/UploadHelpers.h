#pragma once

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace beacon::test {

/// The "index" property of each event, in order.
std::vector<int> indexesOf(const std::vector<nlohmann::json>& events);
/// The "index" properties grouped by the "thread" property, each group in the order of `events`.
std::map<int, std::vector<int>> indexesByThread(const std::vector<nlohmann::json>& events);
/// from, from + 1, … to - 1.
std::vector<int> range(int from, int to);
/// The queue's pause-line form of `time`: "2023-11-14 22:13:25 +0000".
std::string utcText(std::chrono::system_clock::time_point time);

} // namespace beacon::test
