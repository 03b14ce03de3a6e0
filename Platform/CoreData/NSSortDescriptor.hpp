#pragma once

#include "Platform/Foundation/String.hpp"

namespace CoreData {

// Orders fetched objects by one attribute. Nil comes first when ascending. Text compares by its
// characters (canonically equivalent texts are equal), or ignoring case with `caseInsensitiveCompare`.
class NSSortDescriptor {
public:
    enum class Selector { compare, caseInsensitiveCompare };

    NSSortDescriptor(Foundation::String key, bool ascending = true, Selector selector = Selector::compare)
        : m_key(std::move(key))
        , m_ascending(ascending)
        , m_selector(selector)
    {
    }

    const Foundation::String& key() const { return m_key; }
    bool ascending() const { return m_ascending; }
    Selector selector() const { return m_selector; }
    NSSortDescriptor reversedSortDescriptor() const { return NSSortDescriptor(m_key, !m_ascending, m_selector); }

private:
    Foundation::String m_key;
    bool m_ascending;
    Selector m_selector;
};

} // namespace CoreData
