#pragma once

#include "Platform/Foundation/String.hpp"

#include <vector>

namespace Shared {

// Which secrets the details show in the clear (EntryDetailsVC::ConcealState). With concealing enabled
// a secret is masked unless the person revealed it (by its reveal identifier, Menu::Source) or holds the
// reveal-all override (the Option key); with concealing disabled nothing is masked.
class EntryDetailsVCConcealState {
public:
    enum class Mode { enabled, disabled };

    Mode mode() const { return m_mode; }
    const std::vector<Foundation::String>& revealedIDs() const { return m_revealedIDs; }
    bool isOverridingConcealment() const { return m_isOverridingConcealment; }

    bool isConcealed(const Foundation::String& revealConcealID) const;

    EntryDetailsVCConcealState withMode(Mode mode) const;
    EntryDetailsVCConcealState revealing(const Foundation::String& id) const;
    EntryDetailsVCConcealState concealing(const Foundation::String& id) const;
    EntryDetailsVCConcealState clearingRevealedIDs() const { return clearingRevealedIDs(true); }
    EntryDetailsVCConcealState clearingRevealedIDs(bool condition) const;
    EntryDetailsVCConcealState overridingConcealment(bool isOverriding) const;

    friend bool operator==(const EntryDetailsVCConcealState&, const EntryDetailsVCConcealState&) = default;

private:
    Mode m_mode = Mode::enabled;
    std::vector<Foundation::String> m_revealedIDs;
    bool m_isOverridingConcealment = false;
};

} // namespace Shared
