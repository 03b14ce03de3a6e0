#pragma once

#include "Shared/Model/Entry.Field.hpp"
#include "Shared/Model/Entry.SystemField.hpp"

#include "Platform/Foundation/Enumeration.hpp"

#include <variant>

namespace Shared {

// The field whose text an item's list row shows under its title (Entry::SubtitleSource): a system
// field by its identifier or a custom field by its position.
class EntrySubtitleSource : public Foundation::Enumeration<EntrySubtitleSource> {
public:
    struct SystemField {
        EntrySystemField::ID id;
        friend bool operator==(const SystemField&, const SystemField&) = default;
    };
    struct CustomField {
        EntryField::ID id;
        friend bool operator==(const CustomField&, const CustomField&) = default;
    };
    // Cases in declared order.
    using Case = std::variant<SystemField, CustomField>;

    static EntrySubtitleSource systemField(EntrySystemField::ID id) { return EntrySubtitleSource(SystemField {id}); }
    static EntrySubtitleSource customField(EntryField::ID id) { return EntrySubtitleSource(CustomField {id}); }

    const Case& value() const { return m_case; }

    void encode(Foundation::Encoder& encoder) const;
    static EntrySubtitleSource decode(Foundation::Decoder& decoder);
    friend bool operator==(const EntrySubtitleSource&, const EntrySubtitleSource&) = default;

private:
    explicit EntrySubtitleSource(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Shared
