#pragma once

#include "Shared/Model/ErrorEnumeration.hpp"

namespace Corvendale {

// Why the attachment coordinator could not do its job.
struct AttachmentCoordinatorErrorCases {
    // Files go into the fields of an item being edited, so only an editing context takes them.
    struct UnableToAttachFileWithoutEditingContext { };
};

class AttachmentCoordinatorError
    : public Shared::ErrorEnumeration<AttachmentCoordinatorError, AttachmentCoordinatorErrorCases::UnableToAttachFileWithoutEditingContext>,
      public AttachmentCoordinatorErrorCases {
public:
    static AttachmentCoordinatorError unableToAttachFileWithoutEditingContext()
    {
        return AttachmentCoordinatorError(UnableToAttachFileWithoutEditingContext {});
    }

    std::string domain() const override { return "Corvendale.AttachmentCoordinatorError"; }
    std::string description() const override { return "unableToAttachFileWithoutEditingContext"; }

private:
    using ErrorEnumeration::ErrorEnumeration;
};

} // namespace Corvendale
