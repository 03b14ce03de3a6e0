#pragma once

#include "Shared/Model/Entry.Field.hpp"

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/URL.hpp"

#include <variant>

namespace Corvendale {

// What the open document picker of the item details is for (EntryDetailsCoordinator.DocumentPickerAction):
// a file to import into an attachment field, or a decrypted copy to save elsewhere.
class EntryDetailsCoordinatorDocumentPickerAction : public Foundation::Enumeration<EntryDetailsCoordinatorDocumentPickerAction> {
public:
    struct ImportAttachmentToField {
        Shared::EntryField::ID fieldID;
        friend bool operator==(const ImportAttachmentToField&, const ImportAttachmentToField&) = default;
    };
    struct ExportAttachment {
        Foundation::URL temporaryDecryptedURL;
        friend bool operator==(const ExportAttachment&, const ExportAttachment&) = default;
    };
    // Cases in declared order.
    using Case = std::variant<ImportAttachmentToField, ExportAttachment>;

    static EntryDetailsCoordinatorDocumentPickerAction importAttachmentToField(Shared::EntryField::ID fieldID)
    {
        return EntryDetailsCoordinatorDocumentPickerAction(ImportAttachmentToField {fieldID});
    }
    static EntryDetailsCoordinatorDocumentPickerAction exportAttachment(Foundation::URL temporaryDecryptedURL)
    {
        return EntryDetailsCoordinatorDocumentPickerAction(ExportAttachment {std::move(temporaryDecryptedURL)});
    }

    const Case& value() const { return m_case; }
    friend bool operator==(const EntryDetailsCoordinatorDocumentPickerAction&, const EntryDetailsCoordinatorDocumentPickerAction&) = default;

private:
    explicit EntryDetailsCoordinatorDocumentPickerAction(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Corvendale
