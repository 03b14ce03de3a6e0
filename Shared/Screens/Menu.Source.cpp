#include "Shared/Screens/Menu.Source.hpp"

#include "Shared/Screens/Menu.Action.hpp"

#include <string>

namespace Shared {

namespace {

constexpr const char* passwordHistoryID = "Password";
constexpr const char* totpHistoryID = "OneTimePassword";

Foundation::String fieldKey(const char* prefix, EntryField::ID id)
{
    return Foundation::String(std::string(prefix) + "." + std::to_string(id.section) + "." + std::to_string(id.index));
}

} // namespace

Foundation::String MenuSource::historyVisibilityID(EntryField::ID id)
{
    return fieldKey("Field", id);
}

std::optional<EntryField::ID> MenuSource::customFieldID() const
{
    if (auto field = as<CustomFieldTitle>())
        return field->id;
    if (auto field = as<CustomField>())
        return field->id;
    if (auto field = as<PreviousFieldValue>())
        return field->id;
    return std::nullopt;
}

std::optional<Foundation::String> MenuSource::historyVisibilityID() const
{
    if (auto field = as<SystemField>()) {
        if (field->id == EntrySystemField::ID::password)
            return Foundation::String(passwordHistoryID);
        if (field->id == EntrySystemField::ID::totpSecretKey)
            return Foundation::String(totpHistoryID);
        return std::nullopt;
    }
    if (as<PreviousPassword>())
        return Foundation::String(passwordHistoryID);
    if (as<PreviousTOTPSecretKey>())
        return Foundation::String(totpHistoryID);
    if (auto field = as<CustomField>())
        return historyVisibilityID(field->id);
    if (auto field = as<PreviousFieldValue>())
        return historyVisibilityID(field->id);
    return std::nullopt;
}

std::optional<Foundation::String> MenuSource::revealConcealID() const
{
    if (auto field = as<SystemField>()) {
        if (field->id == EntrySystemField::ID::password)
            return Foundation::String(passwordHistoryID);
        return std::nullopt;
    }
    if (auto previous = as<PreviousPassword>())
        return Foundation::String(std::string("PreviousPassword.") + previous->historyID.utf8());
    // A one-time password shows its code, which is no secret worth hiding; its secret never shows.
    if (auto field = as<CustomField>()) {
        if (isSecret(field->category) && field->category != EntryField::Category::oneTimePassword)
            return fieldKey("Field", field->id);
        return std::nullopt;
    }
    if (auto previous = as<PreviousFieldValue>()) {
        if (isSecret(previous->category) && previous->category != EntryField::Category::oneTimePassword)
            return Foundation::String(fieldKey("PreviousFieldValue", previous->id).utf8() + "." + previous->historyID.utf8());
    }
    return std::nullopt;
}

bool MenuSource::isSensitive() const
{
    if (auto field = as<SystemField>())
        return field->id == EntrySystemField::ID::password || field->id == EntrySystemField::ID::totpSecretKey;
    if (as<PreviousPassword>() || as<PreviousTOTPSecretKey>())
        return true;
    if (auto field = as<CustomField>())
        return isSecret(field->category);
    if (auto previous = as<PreviousFieldValue>())
        return isSecret(previous->category);
    return false;
}

std::optional<MenuAction> MenuSource::quickAction() const
{
    if (auto field = as<SystemField>()) {
        switch (field->id) {
        case EntrySystemField::ID::title:
        case EntrySystemField::ID::subtitle:
        case EntrySystemField::ID::username:
        case EntrySystemField::ID::password:
        case EntrySystemField::ID::totpSecretKey:
        case EntrySystemField::ID::website:
        case EntrySystemField::ID::notes:
            return MenuAction(MenuAction::Kind::copy);
        default:
            return std::nullopt;
        }
    }
    if (as<PreviousPassword>() || as<PreviousTOTPSecretKey>())
        return MenuAction(MenuAction::Kind::copy);
    if (auto field = as<CustomField>()) {
        if (field->category == EntryField::Category::attachment)
            return MenuAction(MenuAction::Kind::quickLook);
        return MenuAction(MenuAction::Kind::copy);
    }
    if (auto previous = as<PreviousFieldValue>()) {
        if (previous->category != EntryField::Category::attachment)
            return MenuAction(MenuAction::Kind::copy);
    }
    return std::nullopt;
}

} // namespace Shared
