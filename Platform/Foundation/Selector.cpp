#include "Platform/Foundation/Selector.hpp"

#include <algorithm>
#include <mutex>
#include <unordered_set>

namespace Foundation {
namespace {

struct Names {
    std::mutex mutex;
    std::unordered_set<std::string> names; // nodes never move, so pointers into it stay valid
};

Names& names()
{
    static auto* instance = new Names; // never destroyed: selectors may be used while the process exits
    return *instance;
}

} // namespace

Selector::Selector(std::string_view name)
{
    auto& interned = names();
    std::lock_guard lock(interned.mutex);
    m_name = &*interned.names.emplace(name).first;
}

const std::string& Selector::name() const
{
    static const std::string none;
    return m_name ? *m_name : none;
}

std::size_t Selector::argumentCount() const
{
    return m_name ? static_cast<std::size_t>(std::count(m_name->begin(), m_name->end(), ':')) : 0;
}

} // namespace Foundation
