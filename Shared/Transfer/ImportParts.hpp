#pragma once

#include "Shared/Transfer/ImportedItem.hpp"

#include <cstddef>

namespace Shared {

// Gathers what a reader makes and hands it on a part at a time, so that a file of many items is never
// held whole as items.
class ImportParts {
public:
    static constexpr std::size_t partSize = 1024;

    explicit ImportParts(const ImportReadDelivery& deliver)
        : m_deliver(deliver)
    {
    }

    void add(ImportedItem item)
    {
        m_part.items.push_back(std::move(item));
        deliverWhenFull();
    }
    void addFailure(Foundation::String failure)
    {
        m_part.failures.push_back(std::move(failure));
        deliverWhenFull();
    }
    // Hands on what is left.
    void finish()
    {
        if (!m_part.items.empty() || !m_part.failures.empty())
            deliverPart();
    }

private:
    void deliverWhenFull()
    {
        if (m_part.items.size() + m_part.failures.size() >= partSize)
            deliverPart();
    }
    void deliverPart()
    {
        m_deliver(m_part);
        m_part = {};
    }

    const ImportReadDelivery& m_deliver;
    ImportReadResult m_part;
};

} // namespace Shared
