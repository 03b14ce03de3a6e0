#include "Shared/Screens/Menu.Action.hpp"

#include "Platform/Foundation/FatalError.hpp"

namespace Shared {

MenuAction::MenuAction(Kind kind)
    : m_kind(kind)
{
    switch (kind) {
    case Kind::showHistory:
    case Kind::hideHistory:
    case Kind::previousPasswordAction:
    case Kind::previousOneTimePasswordAction:
    case Kind::previousFieldValueAction:
    case Kind::addSectionAbove:
    case Kind::addSectionBelow:
    case Kind::addFieldAbove:
    case Kind::addFieldBelow:
    case Kind::addField:
    case Kind::changeItemCategory:
    case Kind::changeFieldType:
    case Kind::copyUsername:
    case Kind::copyPassword:
    case Kind::copyOneTimePassword:
    case Kind::showPasswordInLargeType:
    case Kind::showOneTimePasswordInLargeType:
        Foundation::fatalError("Menu.Action needs a value for this kind");
    default:
        break;
    }
}

Foundation::String MenuAction::text() const
{
    if (auto payload = as<Text>())
        return payload->text;
    return {};
}

Foundation::String MenuAction::titleText() const
{
    switch (m_kind) {
    case Kind::copy:
        return "Copy";
    case Kind::copySecretKey:
        return "Copy Secret Key";
    case Kind::showInLargeType:
        return "Show in Large Type";
    case Kind::reveal:
        return "Reveal";
    case Kind::conceal:
        return "Conceal";
    case Kind::setAsDefaultUsername:
        return "Set as Default Username";
    case Kind::useDefaultUsername:
        return "Use Default Username";
    case Kind::generatePassword:
        return "Generate Password";
    case Kind::generatePIN:
        return "Generate PIN";
    case Kind::composeEmail:
        return "Compose Email";
    case Kind::call:
        return "Call";
    case Kind::openWebsite:
        return "Open Website";
    case Kind::showInMaps:
        return "Show in Maps";
    case Kind::edit:
        return "Edit";
    case Kind::useAsSubtitle:
        return "Use as Subtitle";
    case Kind::stopUsingAsSubtitle:
        return "Stop Using as Subtitle";
    case Kind::sectionEditingMode:
        return "Edit Sections";
    case Kind::deleteSection:
        return "Delete Section";
    case Kind::fieldEditingMode:
        return "Edit Fields";
    case Kind::deleteField:
        return "Delete Field";
    case Kind::quickLook:
        return "Quick Look";
    case Kind::saveAttachmentTo:
        return "Save To…";
    case Kind::share:
        return "Share…";
    case Kind::showHistory:
        return "Show History";
    case Kind::hideHistory:
        return "Hide History";
    case Kind::previousPasswordAction:
    case Kind::previousOneTimePasswordAction:
    case Kind::previousFieldValueAction:
        return "Restore";
    case Kind::addSectionAbove:
    case Kind::addSectionBelow:
        return Shared::titleText(std::get<SectionInsertion>(m_payload).sectionTemplate);
    case Kind::addFieldAbove:
    case Kind::addFieldBelow:
    case Kind::addField:
        return Shared::titleText(std::get<FieldInsertion>(m_payload).category);
    case Kind::changeItemCategory:
        return Shared::titleText(std::get<ItemCategory>(m_payload).category);
    case Kind::changeFieldType:
        return Shared::titleText(std::get<FieldCategory>(m_payload).category);
    case Kind::openWebsiteAndQuit:
        return "Open Website and Quit";
    case Kind::favorite:
        return "Favorite";
    case Kind::unfavorite:
        return "Unfavorite";
    case Kind::duplicate:
        return "Duplicate";
    case Kind::archive:
        return "Archive";
    case Kind::unarchive:
        return "Unarchive";
    case Kind::moveToTrash:
        return "Move to Trash";
    case Kind::restore:
        return "Restore";
    case Kind::deletePermanently:
        return "Delete Permanently";
    case Kind::copyUsername:
        return "Copy Username";
    case Kind::copyPassword:
        return "Copy Password";
    case Kind::copyOneTimePassword:
        return "Copy One-Time Password";
    case Kind::showPasswordInLargeType:
        return "Show Password in Large Type";
    case Kind::showOneTimePasswordInLargeType:
        return "Show One-Time Password in Large Type";
    }
    return {};
}

Foundation::String MenuAction::systemImageName() const
{
    switch (m_kind) {
    case Kind::copy:
    case Kind::copySecretKey:
        return "doc.on.doc";
    case Kind::showInLargeType:
    case Kind::showPasswordInLargeType:
    case Kind::showOneTimePasswordInLargeType:
        return "textformat.size";
    case Kind::reveal:
        return "eye";
    case Kind::conceal:
        return "eye.slash";
    case Kind::setAsDefaultUsername:
        return "person.crop.circle.badge.checkmark";
    case Kind::useDefaultUsername:
        return "person.crop.circle";
    case Kind::generatePassword:
        return "wand.and.stars";
    case Kind::generatePIN:
        return "number";
    case Kind::composeEmail:
        return "envelope";
    case Kind::call:
        return "phone";
    case Kind::openWebsite:
        return "safari";
    case Kind::openWebsiteAndQuit:
        return "arrow.up.forward.app";
    case Kind::showInMaps:
        return "map";
    case Kind::edit:
        return "pencil";
    case Kind::useAsSubtitle:
        return "text.badge.checkmark";
    case Kind::stopUsingAsSubtitle:
        return "text.badge.xmark";
    case Kind::sectionEditingMode:
        return "rectangle.stack";
    case Kind::fieldEditingMode:
        return "list.bullet";
    case Kind::deleteSection:
    case Kind::deleteField:
    case Kind::moveToTrash:
        return "trash";
    case Kind::quickLook:
        return "eye";
    case Kind::saveAttachmentTo:
        return "square.and.arrow.down";
    case Kind::share:
        return "square.and.arrow.up";
    case Kind::showHistory:
    case Kind::hideHistory:
        return "clock.arrow.circlepath";
    case Kind::previousPasswordAction:
    case Kind::previousOneTimePasswordAction:
    case Kind::previousFieldValueAction:
    case Kind::restore:
        return "arrow.uturn.backward";
    case Kind::addSectionAbove:
    case Kind::addFieldAbove:
        return "arrow.up.to.line";
    case Kind::addSectionBelow:
    case Kind::addFieldBelow:
        return "arrow.down.to.line";
    case Kind::addField:
        return "plus";
    case Kind::changeItemCategory:
    case Kind::changeFieldType:
        return {};
    case Kind::favorite:
        return "star";
    case Kind::unfavorite:
        return "star.slash";
    case Kind::duplicate:
        return "plus.square.on.square";
    case Kind::archive:
        return "archivebox";
    case Kind::unarchive:
        return "tray.and.arrow.up";
    case Kind::deletePermanently:
        return "xmark.bin";
    case Kind::copyUsername:
        return "person";
    case Kind::copyPassword:
        return "key";
    case Kind::copyOneTimePassword:
        return "clock";
    }
    return {};
}

bool MenuAction::isDestructive() const
{
    switch (m_kind) {
    case Kind::deleteSection:
    case Kind::deleteField:
    case Kind::moveToTrash:
    case Kind::deletePermanently:
        return true;
    default:
        return false;
    }
}

} // namespace Shared
