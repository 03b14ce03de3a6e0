#include "Shared/Stores/TagStore.hpp"

#include <algorithm>

namespace Shared {

TagStore::TagStore(std::shared_ptr<RecordSource> recordStore)
    : m_recordStore(std::move(recordStore))
{
}

std::vector<Foundation::String> TagStore::tags() const
{
    auto tags = m_recordStore->tagsInUse();
    std::sort(tags.begin(), tags.end(), [](const auto& lhs, const auto& rhs) {
        auto left = lhs.lowercased();
        auto right = rhs.lowercased();
        return left == right ? lhs < rhs : left < right;
    });
    tags.erase(std::unique(tags.begin(), tags.end()), tags.end());
    return tags;
}

std::vector<Foundation::String> TagStore::suggestions(const Foundation::String& prefix, const std::vector<Foundation::String>& excluding) const
{
    auto lowered = prefix.lowercased();
    std::vector<Foundation::String> result;
    for (const auto& tag : tags()) {
        if (tag.lowercased().hasPrefix(lowered) && std::find(excluding.begin(), excluding.end(), tag) == excluding.end())
            result.push_back(tag);
    }
    return result;
}

} // namespace Shared
