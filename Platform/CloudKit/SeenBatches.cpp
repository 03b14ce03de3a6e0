#include "Platform/CloudKit/SeenBatches.hpp"

#include "Platform/CloudKit/ChangeBatch.hpp"

#include <algorithm>

namespace CloudKit {

bool SeenBatches::contains(const std::string& fileName) const
{
    auto name = ChangeBatch::parseFileName(fileName);
    if (!name)
        return m_others.contains(fileName);
    auto found = m_ranges.find(name->device);
    if (found == m_ranges.end())
        return false;
    const auto& ranges = found->second;
    auto after = std::upper_bound(ranges.begin(), ranges.end(), name->sequence,
                                  [](std::int64_t sequence, const auto& range) { return sequence < range.first; });
    return after != ranges.begin() && std::prev(after)->second >= name->sequence;
}

void SeenBatches::insert(const std::string& fileName)
{
    auto name = ChangeBatch::parseFileName(fileName);
    if (!name) {
        m_others.insert(fileName);
        return;
    }
    auto& ranges = m_ranges[name->device];
    std::int64_t sequence = name->sequence;
    auto after = std::upper_bound(ranges.begin(), ranges.end(), sequence,
                                  [](std::int64_t value, const auto& range) { return value < range.first; });
    if (after != ranges.begin() && std::prev(after)->second >= sequence)
        return;
    bool joinsBefore = after != ranges.begin() && std::prev(after)->second == sequence - 1;
    bool joinsAfter = after != ranges.end() && after->first == sequence + 1;
    if (joinsBefore && joinsAfter) {
        std::prev(after)->second = after->second;
        ranges.erase(after);
    } else if (joinsBefore) {
        std::prev(after)->second = sequence;
    } else if (joinsAfter) {
        after->first = sequence;
    } else {
        ranges.insert(after, {sequence, sequence});
    }
}

nlohmann::ordered_json SeenBatches::encoded() const
{
    nlohmann::ordered_json devices = nlohmann::ordered_json::object();
    for (const auto& [device, ranges] : m_ranges) {
        auto& list = devices[device] = nlohmann::ordered_json::array();
        for (const auto& [first, last] : ranges)
            list.push_back({first, last});
    }
    return {{"devices", std::move(devices)}, {"others", m_others}};
}

std::optional<SeenBatches> SeenBatches::decode(const nlohmann::ordered_json& json)
{
    if (!json.is_object() || !json.contains("devices") || !json.contains("others"))
        return std::nullopt;
    const auto& devices = json["devices"];
    const auto& others = json["others"];
    if (!devices.is_object() || !others.is_array())
        return std::nullopt;
    SeenBatches seen;
    for (const auto& [device, ranges] : devices.items()) {
        if (!ranges.is_array())
            return std::nullopt;
        std::int64_t previous = 0;
        auto& list = seen.m_ranges[device];
        for (const auto& range : ranges) {
            if (!range.is_array() || range.size() != 2 || !range[0].is_number_integer() || !range[1].is_number_integer())
                return std::nullopt;
            auto first = range[0].get<std::int64_t>();
            auto last = range[1].get<std::int64_t>();
            if (first <= previous + (list.empty() ? 0 : 1) || last < first)
                return std::nullopt;
            list.emplace_back(first, last);
            previous = last;
        }
    }
    for (const auto& name : others) {
        if (!name.is_string())
            return std::nullopt;
        seen.m_others.insert(name.get<std::string>());
    }
    return seen;
}

} // namespace CloudKit
