#include "Shared/Stores/ExporterRecordSource.hpp"

namespace Shared {

void ExporterRecordSource::readEntries(bool includingTrashed, const std::function<void(std::size_t count)>& counted,
                                        const std::function<void(std::vector<Entry>& batch)>& batch) const
{
    auto entries = allEntries();
    if (!includingTrashed)
        std::erase_if(entries, [](const Entry& entry) { return entry.isTrashed(); });
    counted(entries.size());
    if (!entries.empty())
        batch(entries);
}

} // namespace Shared
