#include "Shared/Screens/ProcessingAction.hpp"

namespace Shared {

Foundation::String ProcessingAction::titleText() const
{
    switch (kind) {
    case Kind::attachFile:
        return "Attaching File…";
    case Kind::decryptAttachment:
        return "Decrypting Attachment…";
    case Kind::exportFile:
        return "Exporting…";
    }
    return "Processing…";
}

} // namespace Shared
