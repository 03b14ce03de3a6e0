#include "Shared/Model/Entry.SystemField.hpp"

namespace Shared {

Foundation::String EntrySystemField::titleText(ID id)
{
    switch (id) {
    case ID::title:
        return "Title";
    case ID::subtitle:
        return "Subtitle";
    case ID::username:
        return "Username";
    case ID::password:
        return "Password";
    case ID::totpSecretKey:
        return "One-Time Password";
    case ID::website:
        return "Website";
    case ID::notes:
        return "Notes";
    case ID::serviceIdentifiers:
        return "AutoFill Domains";
    case ID::category:
        return "Category";
    case ID::tags:
        return "Tags";
    case ID::safeForInspection:
        return "Safe for Inspection";
    }
    return {};
}

} // namespace Shared
