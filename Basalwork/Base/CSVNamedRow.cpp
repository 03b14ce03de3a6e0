#include "Basalwork/Base/CSVNamedRow.hpp"

#include <utility>

namespace Basalwork {

CSVNamedRow::Header::Header(Labels labels)
    : m_labels(std::move(labels))
{
    for (std::size_t i = 0; i < m_labels.size(); ++i) {
        if (m_labels[i])
            m_firstIndex.try_emplace(*m_labels[i], i);
    }
}

std::optional<std::size_t> CSVNamedRow::Header::firstIndex(const Foundation::String& label) const
{
    auto found = m_firstIndex.find(label);
    return found == m_firstIndex.end() ? std::nullopt : std::optional(found->second);
}

CSVNamedRow::CSVNamedRow(std::initializer_list<CSVNamedValue> pairs)
{
    Labels labels;
    labels.reserve(pairs.size());
    m_values.reserve(pairs.size());
    for (const auto& pair : pairs) {
        labels.push_back(pair.columnLabel);
        m_values.push_back(pair.value);
    }
    m_header = std::make_shared<const Header>(std::move(labels));
}

CSVNamedRow::CSVNamedRow(std::shared_ptr<const Header> header, CSVRow values)
    : m_header(std::move(header))
    , m_values(std::move(values))
{
}

bool operator==(const CSVNamedRow& lhs, const CSVNamedRow& rhs)
{
    if (lhs.size() != rhs.size())
        return false;
    for (std::size_t i = 0; i < lhs.size(); ++i) {
        if (lhs.value(i) != rhs.value(i) || lhs.columnLabel(i) != rhs.columnLabel(i))
            return false;
    }
    return true;
}

} // namespace Basalwork
