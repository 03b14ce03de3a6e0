#pragma once

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/URL.hpp"

#include <variant>

namespace Corvendale {

// The attachment preview of the item details (EntryDetailsCoordinator.QuickLookState): none, its file
// being decrypted, or shown from the decrypted copy, which goes when the preview does.
class EntryDetailsCoordinatorQuickLookState : public Foundation::Enumeration<EntryDetailsCoordinatorQuickLookState> {
public:
    struct Inactive {
        friend bool operator==(const Inactive&, const Inactive&) = default;
    };
    struct Decrypting {
        friend bool operator==(const Decrypting&, const Decrypting&) = default;
    };
    struct Decrypted {
        Foundation::URL temporaryDecryptedURL;
        friend bool operator==(const Decrypted&, const Decrypted&) = default;
    };
    // Cases in declared order.
    using Case = std::variant<Inactive, Decrypting, Decrypted>;

    static EntryDetailsCoordinatorQuickLookState inactive() { return EntryDetailsCoordinatorQuickLookState(Inactive {}); }
    static EntryDetailsCoordinatorQuickLookState decrypting() { return EntryDetailsCoordinatorQuickLookState(Decrypting {}); }
    static EntryDetailsCoordinatorQuickLookState decrypted(Foundation::URL temporaryDecryptedURL)
    {
        return EntryDetailsCoordinatorQuickLookState(Decrypted {std::move(temporaryDecryptedURL)});
    }

    const Case& value() const { return m_case; }
    friend bool operator==(const EntryDetailsCoordinatorQuickLookState&, const EntryDetailsCoordinatorQuickLookState&) = default;

private:
    explicit EntryDetailsCoordinatorQuickLookState(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Corvendale
