#include "Shared/Screens/EntryDetailsVC.ConcealState.hpp"

#include <algorithm>

namespace Shared {

bool EntryDetailsVCConcealState::isConcealed(const Foundation::String& revealConcealID) const
{
    return m_mode == Mode::enabled && !m_isOverridingConcealment && std::ranges::find(m_revealedIDs, revealConcealID) == m_revealedIDs.end();
}

EntryDetailsVCConcealState EntryDetailsVCConcealState::withMode(Mode mode) const
{
    auto copy = *this;
    copy.m_mode = mode;
    return copy;
}

EntryDetailsVCConcealState EntryDetailsVCConcealState::revealing(const Foundation::String& id) const
{
    auto copy = *this;
    if (std::ranges::find(copy.m_revealedIDs, id) == copy.m_revealedIDs.end())
        copy.m_revealedIDs.push_back(id);
    return copy;
}

EntryDetailsVCConcealState EntryDetailsVCConcealState::concealing(const Foundation::String& id) const
{
    auto copy = *this;
    std::erase(copy.m_revealedIDs, id);
    return copy;
}

EntryDetailsVCConcealState EntryDetailsVCConcealState::clearingRevealedIDs(bool condition) const
{
    auto copy = *this;
    if (condition)
        copy.m_revealedIDs.clear();
    return copy;
}

EntryDetailsVCConcealState EntryDetailsVCConcealState::overridingConcealment(bool isOverriding) const
{
    auto copy = *this;
    copy.m_isOverridingConcealment = isOverriding;
    return copy;
}

} // namespace Shared
