#include "Shared/Screens/EntriesVC.Items.hpp"

#include "Platform/Foundation/Error.hpp"

namespace Shared {

EntriesVCItems::EntriesVCItems(std::vector<EntryIndex> indices)
{
    auto summaries = std::make_shared<Summaries>();
    summaries->reserve(indices.size());
    for (auto& index : indices)
        summaries->push_back(std::make_shared<const EntryIndex>(std::move(index)));
    m_read = [summaries] { return *summaries; };
}

EntriesVCItems EntriesVCItems::shared(Summaries summaries)
{
    EntriesVCItems items;
    items.m_read = [summaries = std::make_shared<const Summaries>(std::move(summaries))] { return *summaries; };
    return items;
}

EntriesVCItems EntriesVCItems::deferred(std::function<Summaries()> read)
{
    EntriesVCItems items;
    items.m_read = std::move(read);
    return items;
}

EntriesVCItems::Summaries EntriesVCItems::read() const
{
    if (!m_read)
        return {};
    try {
        return m_read();
    } catch (const Foundation::Error&) {
        return {};
    }
}

} // namespace Shared
