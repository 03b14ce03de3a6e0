#pragma once

#include "Shared/Model/ErrorEnumeration.hpp"

#include "Platform/Foundation/String.hpp"

namespace Shared {

// Failures of an edit of one item. The limits keep an item small enough to show and sync whole.
struct EntryErrorCases {
    struct SectionLimitReached {
        std::int64_t limit;
    };
    struct SectionNotFound {
        std::int64_t index;
    };
    struct FieldLimitReached {
        std::int64_t limit;
    };
    struct FieldNotFound {
        std::int64_t section;
        std::int64_t index;
    };
    struct PreviousValueNotFound {
        Foundation::String id;
    };
};

class EntryError : public ErrorEnumeration<EntryError, EntryErrorCases::SectionLimitReached, EntryErrorCases::SectionNotFound,
                                           EntryErrorCases::FieldLimitReached, EntryErrorCases::FieldNotFound,
                                           EntryErrorCases::PreviousValueNotFound>,
                   public EntryErrorCases {
public:
    static EntryError sectionLimitReached(std::int64_t limit) { return EntryError(SectionLimitReached {limit}); }
    static EntryError sectionNotFound(std::int64_t index) { return EntryError(SectionNotFound {index}); }
    static EntryError fieldLimitReached(std::int64_t limit) { return EntryError(FieldLimitReached {limit}); }
    static EntryError fieldNotFound(std::int64_t section, std::int64_t index) { return EntryError(FieldNotFound {section, index}); }
    static EntryError previousValueNotFound(Foundation::String id) { return EntryError(PreviousValueNotFound {std::move(id)}); }

    // Reaching a limit is the user's doing; the screen explains it.
    bool shouldTrackInAnalytics() const override { return !is<SectionLimitReached>() && !is<FieldLimitReached>(); }

    std::string domain() const override { return "Shared.EntryError"; }
    std::string description() const override;

private:
    using ErrorEnumeration::ErrorEnumeration;
};

} // namespace Shared
