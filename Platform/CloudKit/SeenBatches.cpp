#include "Platform/CloudKit/SeenBatches.hpp"

#include "Platform/CloudKit/ChangeBatch.hpp"
#include "Platform/Foundation/JSONStreamWriter.hpp"
#include "Platform/Foundation/JSONView.hpp"

#include <algorithm>
#include <iterator>

namespace CloudKit {

bool SeenBatches::contains(const std::string& fileName) const
{
    auto name = ChangeBatch::parseFileName(fileName);
    if (!name)
        return m_others.contains(fileName);
    return contains(name->device, name->sequence);
}

bool SeenBatches::contains(const std::string& device, std::int64_t sequence) const
{
    auto found = m_ranges.find(device);
    if (found == m_ranges.end())
        return false;
    const auto& ranges = found->second;
    auto after = std::upper_bound(ranges.begin(), ranges.end(), sequence,
                                  [](std::int64_t value, const auto& range) { return value < range.first; });
    return after != ranges.begin() && std::prev(after)->second >= sequence;
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

void SeenBatches::insert(const SeenBatches& other)
{
    for (const auto& [device, ranges] : other.m_ranges) {
        auto& mine = m_ranges[device];
        std::vector<std::pair<std::int64_t, std::int64_t>> merged;
        merged.reserve(mine.size() + ranges.size());
        std::merge(mine.begin(), mine.end(), ranges.begin(), ranges.end(), std::back_inserter(merged));
        mine.clear();
        for (const auto& range : merged) {
            if (!mine.empty() && range.first <= mine.back().second + 1)
                mine.back().second = std::max(mine.back().second, range.second);
            else
                mine.push_back(range);
        }
    }
    m_others.insert(other.m_others.begin(), other.m_others.end());
}

bool SeenBatches::includes(const SeenBatches& other) const
{
    for (const auto& [device, ranges] : other.m_ranges) {
        auto found = m_ranges.find(device);
        for (const auto& [first, last] : ranges) {
            if (found == m_ranges.end())
                return false;
            const auto& mine = found->second;
            auto after = std::upper_bound(mine.begin(), mine.end(), first,
                                          [](std::int64_t value, const auto& range) { return value < range.first; });
            if (after == mine.begin() || std::prev(after)->second < last)
                return false;
        }
    }
    return std::includes(m_others.begin(), m_others.end(), other.m_others.begin(), other.m_others.end());
}

void SeenBatches::encode(Foundation::JSONStreamWriter& writer) const
{
    writer.beginObject().key("devices").beginObject();
    for (const auto& [device, ranges] : m_ranges) {
        writer.key(device).beginArray();
        for (const auto& [first, last] : ranges)
            writer.beginArray().integer(first).integer(last).endArray();
        writer.endArray();
    }
    writer.endObject().key("others").beginArray();
    for (const auto& name : m_others)
        writer.string(name);
    writer.endArray().endObject();
}

std::optional<SeenBatches> SeenBatches::decode(const Foundation::JSONView& json)
{
    auto devices = json.find("devices");
    auto others = json.find("others");
    if (!devices || !others || !devices->isObject() || !others->isArray())
        return std::nullopt;
    SeenBatches seen;
    for (auto [device, ranges] : devices->members()) {
        if (!ranges.isArray())
            return std::nullopt;
        std::int64_t previous = 0;
        auto& list = seen.m_ranges[std::string(device)];
        for (auto range : ranges.elements()) {
            if (!range.isArray() || range.size() != 2 || !range[0].isInteger() || !range[1].isInteger())
                return std::nullopt;
            auto first = range[0].int64();
            auto last = range[1].int64();
            if (!first || !last || *first <= previous + (list.empty() ? 0 : 1) || *last < *first)
                return std::nullopt;
            list.emplace_back(*first, *last);
            previous = *last;
        }
    }
    for (auto name : others->elements()) {
        if (!name.isString())
            return std::nullopt;
        seen.m_others.emplace(*name.string());
    }
    return seen;
}

} // namespace CloudKit
