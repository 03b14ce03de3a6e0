// What the item details' menu actions do: while viewing, a change is saved at once and synced; while
// editing, it stays in the state's editing context until Done.

#include "Corvendale/Screens/Details/EntryDetailsCoordinator.hpp"

#include "Corvendale/Screens/Details/EntryDetailsCoordinatorDelegate.hpp"
#include "Corvendale/Screens/Details/MailCoordinator.hpp"
#include "Corvendale/Screens/LargeViewer/LargeViewerV.Content.hpp"
#include "Corvendale/Services/URLOpener.hpp"

#include "Shared/Model/EntryError.hpp"
#include "Shared/Model/TOTP.hpp"
#include "Shared/Screens/EntryDetailsVC.hpp"
#include "Shared/Screens/PasswordGeneratorC.hpp"
#include "Shared/Screens/PasteboardCoordinator.hpp"
#include "Shared/Screens/UIAlertController.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"

#include "Basalwork/Base/CreditCardNumber.hpp"
#include "Basalwork/Base/DispatchQueue.hpp"
#include "Basalwork/Base/String.hpp"
#include "Basalwork/Interface/AlertController.hpp"
#include "Basalwork/Interface/PresentationSource.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/PercentEncoding.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <string>

namespace Corvendale {

namespace {

using Foundation::String;
using Shared::MenuAction;
using Shared::MenuSource;
using State = EntryDetailsCoordinator::State;
using SystemID = Shared::Entry::SystemField::ID;
using Category = Shared::Entry::Field::Category;
using Kind = MenuAction::Kind;

// The row to select after `edit` waits for the editing rows.
constexpr double editSelectionDelay = 0.3;
// Where an address is looked up: the desktop's maps handler takes geo: queries.
constexpr const char* mapsBaseURL = "geo:0,0";

const char* const performContext = "perform(action:menuSource:sourceView:)";

String trimmed(const String& text)
{
    return text.trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines());
}

// The field's title, else its category's, after "previous ".
String previousFieldTitle(const Shared::Entry& entry, const MenuSource::PreviousFieldValue& previous)
{
    const auto* field = EntryDetailsCoordinator::findField(entry, previous.id);
    return String("previous ") + (field && field->title ? *field->title : Shared::titleText(previous.category));
}


} // namespace

// --- Values -------------------------------------------------------------------------------------------

const Shared::Entry::Field* EntryDetailsCoordinator::findField(const Shared::Entry& entry, Shared::Entry::Field::ID id)
{
    try {
        return &entry.field(id);
    } catch (const Foundation::Error&) {
        return nullptr;
    }
}

std::optional<Shared::Entry::SubtitleSource> EntryDetailsCoordinator::subtitleSource(const MenuSource& source)
{
    if (const auto* field = source.as<MenuSource::SystemField>())
        return Shared::Entry::SubtitleSource::systemField(field->id);
    if (auto id = source.customFieldID())
        return Shared::Entry::SubtitleSource::customField(*id);
    return std::nullopt;
}

std::optional<String> EntryDetailsCoordinator::text(const Shared::Entry& entry, const MenuSource& menuSource) const
{
    if (const auto* field = menuSource.as<MenuSource::SystemField>())
        return entry.text(field->id);
    if (const auto* previous = menuSource.as<MenuSource::PreviousPassword>()) {
        if (const auto* value = entry.previousPassword(previous->historyID))
            return value->text;
        return std::nullopt;
    }
    if (const auto* previous = menuSource.as<MenuSource::PreviousTOTPSecretKey>()) {
        if (const auto* value = entry.previousTOTPSecretKey(previous->historyID))
            return value->text;
        return std::nullopt;
    }
    if (const auto* section = menuSource.as<MenuSource::Section>()) {
        if (section->index < 0 || section->index >= static_cast<std::int64_t>(entry.sections.size()))
            return std::nullopt;
        return entry.sections[static_cast<std::size_t>(section->index)].title;
    }
    if (const auto* previous = menuSource.as<MenuSource::PreviousFieldValue>()) {
        const auto* field = findField(entry, previous->id);
        const auto* value = field ? field->previousValue(previous->historyID) : nullptr;
        return value ? std::optional(value->text) : std::nullopt;
    }
    if (auto id = menuSource.customFieldID()) {
        const auto* field = findField(entry, *id);
        return field ? std::optional(field->text) : std::nullopt;
    }
    return std::nullopt;
}

std::optional<Shared::TOTP> EntryDetailsCoordinator::previousValue(const MenuSource& menuSource) const
{
    auto entry = m_state.entry();
    if (!entry)
        return std::nullopt;
    auto parsed = [](const String& text) -> std::optional<Shared::TOTP> {
        try {
            return Shared::TOTP(text);
        } catch (const Foundation::Error&) {
            return std::nullopt;
        }
    };
    if (const auto* field = menuSource.as<MenuSource::SystemField>()) {
        if (field->id == SystemID::totpSecretKey)
            return entry->currentTOTP();
        return std::nullopt;
    }
    if (const auto* previous = menuSource.as<MenuSource::PreviousTOTPSecretKey>()) {
        const auto* value = entry->previousTOTPSecretKey(previous->historyID);
        return value ? parsed(value->text) : std::nullopt;
    }
    if (const auto* field = menuSource.as<MenuSource::CustomField>()) {
        const auto* found = findField(*entry, field->id);
        if (field->category != Category::oneTimePassword || !found)
            return std::nullopt;
        return parsed(found->text);
    }
    if (const auto* previous = menuSource.as<MenuSource::PreviousFieldValue>()) {
        const auto* found = findField(*entry, previous->id);
        const auto* value = found ? found->previousValue(previous->historyID) : nullptr;
        if (previous->category != Category::oneTimePassword || !value)
            return std::nullopt;
        return parsed(value->text);
    }
    return std::nullopt;
}

std::optional<String> EntryDetailsCoordinator::copyableText(const MenuSource& menuSource) const
{
    auto entry = m_state.entry();
    if (!entry)
        return std::nullopt;
    auto value = text(*entry, menuSource).value_or(String());
    if (auto id = menuSource.customFieldID()) {
        if (const auto* field = findField(*entry, *id); field && field->category == Category::creditCardNumber)
            return Basalwork::CreditCardNumber(trimmed(value)).withoutSpaces();
    }
    if (auto totp = previousValue(menuSource))
        return totp->generateOrInvalidSecretKeyText(Foundation::Date::now());
    return value;
}

std::optional<String> EntryDetailsCoordinator::copiedNotificationTitle(const MenuSource& menuSource) const
{
    auto entry = m_state.entry();
    if (!entry)
        return std::nullopt;
    if (const auto* field = menuSource.as<MenuSource::SystemField>())
        return Shared::EntrySystemField::titleText(field->id);
    if (menuSource.as<MenuSource::PreviousPassword>())
        return String("previous password");
    if (menuSource.as<MenuSource::PreviousTOTPSecretKey>())
        return String("previous one-time password");
    if (const auto* section = menuSource.as<MenuSource::Section>()) {
        if (section->index < 0 || section->index >= static_cast<std::int64_t>(entry->sections.size()))
            return std::nullopt;
        return entry->sections[static_cast<std::size_t>(section->index)].title;
    }
    if (const auto* field = menuSource.as<MenuSource::CustomField>()) {
        const auto* found = findField(*entry, field->id);
        return found ? found->title : std::nullopt;
    }
    if (const auto* previous = menuSource.as<MenuSource::PreviousFieldValue>())
        return previousFieldTitle(*entry, *previous);
    return std::nullopt;
}

std::optional<String> EntryDetailsCoordinator::copiedSecretKeyNotificationTitle(const MenuSource& menuSource) const
{
    // The same titles, for the rows that hold a secret key.
    if (menuSource.as<MenuSource::PreviousPassword>() || menuSource.as<MenuSource::Section>())
        return std::nullopt;
    return copiedNotificationTitle(menuSource);
}

std::optional<LargeViewerVContent> EntryDetailsCoordinator::largeViewerContent(const MenuSource& menuSource) const
{
    auto entry = m_state.entry();
    if (!entry)
        return std::nullopt;
    auto value = text(*entry, menuSource).value_or(String());
    std::optional<Category> rowCategory;
    if (const auto* field = menuSource.as<MenuSource::CustomField>())
        rowCategory = field->category;
    else if (const auto* previous = menuSource.as<MenuSource::PreviousFieldValue>())
        rowCategory = previous->category;
    if (rowCategory == Category::password)
        return LargeViewerVContent::password(value);
    if (rowCategory == Category::pin)
        return LargeViewerVContent::pin(value);
    const auto* system = menuSource.as<MenuSource::SystemField>();
    if (menuSource.as<MenuSource::PreviousPassword>() || (system && system->id == SystemID::password))
        return LargeViewerVContent::password(value);
    if (auto totp = previousValue(menuSource))
        return LargeViewerVContent::totp(*totp);
    if (auto id = menuSource.customFieldID()) {
        if (const auto* field = findField(*entry, *id); field && field->category == Category::creditCardNumber)
            return LargeViewerVContent::text(Basalwork::CreditCardNumber(trimmed(value)).withSpaces());
    }
    return LargeViewerVContent::text(value);
}

// --- Performing ---------------------------------------------------------------------------------------

void EntryDetailsCoordinator::perform(const MenuAction& action, const MenuSource& menuSource, const std::shared_ptr<UIKit::UIView>& sourceView)
{
    if (m_state.is<State::Viewing>())
        performWhileViewing(action, menuSource, sourceView);
    else if (m_state.is<State::Editing>())
        performWhileEditing(action, menuSource, sourceView);
}

void EntryDetailsCoordinator::copy(const std::optional<String>& text, const std::optional<String>& title, bool isSensitive)
{
    auto delegate = this->delegate();
    if (!delegate || !text)
        return;
    dependencies().pasteboardCoordinator->copy(*text, isSensitive);
    delegate->presentInAppNotification(title.value_or(String()));
}

void EntryDetailsCoordinator::changeStoredEntry(const std::function<void(Shared::RecordStore::EditingContext&, const String&)>& change)
{
    auto entryID = m_state.entryID();
    if (!entryID)
        return;
    try {
        auto context = dependencies().recordStore->makeEditingContext();
        change(*context, *entryID);
        context->save();
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, performContext, true);
        return;
    }
    startSync();
}

void EntryDetailsCoordinator::performAttachmentAction(const MenuAction& action, const MenuSource& menuSource,
                                                      const std::shared_ptr<UIKit::UIView>& sourceView)
{
    try {
        auto found = attachment(menuSource);
        if (!found)
            return;
        if (action.kind() == Kind::quickLook)
            presentQuickLook(*found, true);
        else if (action.kind() == Kind::saveAttachmentTo)
            presentSaveTo(*found, true);
        else if (action.kind() == Kind::share && sourceView)
            presentShare(*found, Basalwork::PresentationSource::view(sourceView), true);
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, performContext, true);
    }
}

void EntryDetailsCoordinator::composeEmail(const String& to, bool animated)
{
    const auto& application = UIKit::UIApplication::shared();
    if (auto url = MailCoordinator::mailtoURL(to, std::nullopt, std::nullopt); url && application->canOpenURL(*url))
        return application->open(*url, {}, nullptr);
    present(Shared::UIAlertControllers::makeUnableToSendMail(String("Open in Mail")), animated);
}

void EntryDetailsCoordinator::performWhileViewing(const MenuAction& action, const MenuSource& menuSource,
                                                  const std::shared_ptr<UIKit::UIView>& sourceView)
{
    auto openLink = [this](const std::optional<Foundation::URL>& url) {
        if (url)
            URLOpener::open(*url, std::static_pointer_cast<UIKit::UIViewController>(sharedSelf(this)));
    };
    auto entry = m_state.entry();
    auto rowText = [&] { return entry ? text(*entry, menuSource) : std::nullopt; };
    switch (action.kind()) {
    case Kind::copy:
        copy(copyableText(menuSource), copiedNotificationTitle(menuSource), menuSource.isSensitive());
        break;
    case Kind::copySecretKey:
        copy(rowText().value_or(String()), copiedSecretKeyNotificationTitle(menuSource).value_or(String()) + " secret key", menuSource.isSensitive());
        break;
    case Kind::showInLargeType: {
        auto content = largeViewerContent(menuSource);
        if (auto delegate = this->delegate(); delegate && content)
            delegate->presentLargeViewer(*content);
        break;
    }
    case Kind::reveal:
    case Kind::conceal:
    case Kind::showHistory:
    case Kind::hideHistory: {
        bool isConcealment = action.kind() == Kind::reveal || action.kind() == Kind::conceal;
        auto id = isConcealment ? menuSource.revealConcealID() : menuSource.historyVisibilityID();
        if (!id)
            break;
        State next = action.kind() == Kind::reveal ? m_state.revealing(*id)
            : action.kind() == Kind::conceal       ? m_state.concealing(*id)
            : action.kind() == Kind::showHistory   ? m_state.showingHistory(*id)
                                                   : m_state.hidingHistory(*id);
        try {
            transition(std::move(next), false, false, true);
        } catch (const Foundation::Error& error) {
            handleUnexpectedError(error, performContext, true);
        }
        break;
    }
    case Kind::call:
        if (auto number = rowText())
            call(*number);
        break;
    case Kind::openWebsite:
        if (auto website = rowText())
            openLink(Basalwork::websiteURL(*website));
        break;
    case Kind::showInMaps:
        if (auto address = rowText())
            openLink(Foundation::URL::string(String(mapsBaseURL) + "?q=" + String(Foundation::percentEncodedQueryValue(address->utf8()))));
        break;
    case Kind::edit: {
        if (auto entryID = m_state.entryID())
            transitionToEdit(*entryID, false, std::nullopt, true);
        auto self = sharedSelf(this);
        Basalwork::asyncAfter(*Foundation::DispatchQueue::main(), editSelectionDelay,
                              [self, menuSource] { self->m_entryDetailsVC->select(menuSource, true); });
        break;
    }
    case Kind::useAsSubtitle:
        if (auto subtitle = subtitleSource(menuSource))
            changeStoredEntry([&](auto& context, const String& entryID) { context.setSubtitleSource(subtitle, entryID); });
        break;
    case Kind::previousPasswordAction:
        changeStoredEntry([&](auto& context, const String& entryID) { context.restorePreviousPassword(action.text(), entryID); });
        break;
    case Kind::previousOneTimePasswordAction:
        changeStoredEntry([&](auto& context, const String& entryID) { context.restorePreviousTOTPSecretKey(action.text(), entryID); });
        break;
    case Kind::previousFieldValueAction:
        if (const auto* previous = action.as<MenuAction::FieldPreviousValue>())
            changeStoredEntry(
                [&](auto& context, const String& entryID) { context.restorePreviousFieldValue(previous->fieldID, previous->historyID, entryID); });
        break;
    case Kind::changeItemCategory:
        if (const auto* category = action.as<MenuAction::ItemCategory>())
            changeStoredEntry([&](auto& context, const String& entryID) { context.setCategory(category->category, entryID); });
        break;
    case Kind::composeEmail:
        if (auto address = rowText())
            composeEmail(*address, true);
        break;
    case Kind::quickLook:
    case Kind::saveAttachmentTo:
    case Kind::share:
        performAttachmentAction(action, menuSource, sourceView);
        break;
    default:
        break;
    }
}

void EntryDetailsCoordinator::presentLimitAlert(bool isFieldLimit, const std::shared_ptr<UIKit::UIView>& sourceView)
{
    auto anchor = Basalwork::PresentationSource::view(sourceView ? sourceView : view());
    auto alert = isFieldLimit ? Shared::UIAlertControllers::makeFieldLimitReached(anchor) : Shared::UIAlertControllers::makeSectionLimitReached(anchor);
    present(alert, true);
    try {
        updateView(true);
    } catch (const Foundation::Error&) {
    }
}

void EntryDetailsCoordinator::performWhileEditing(const MenuAction& action, const MenuSource& menuSource,
                                                  const std::shared_ptr<UIKit::UIView>& sourceView)
{
    const auto editing = *m_state.as<State::Editing>();
    auto& context = *editing.editingContext;
    const auto& entryID = editing.entryID;
    const auto& preferences = dependencies().preferenceStore;
    try {
        switch (action.kind()) {
        case Kind::setAsDefaultUsername: {
            const auto* field = menuSource.as<MenuSource::SystemField>();
            auto entry = m_state.entry();
            if (field && field->id == SystemID::username && entry)
                preferences->setDefaultUsername(entry->username);
            break;
        }
        case Kind::useDefaultUsername:
            m_menuSourceToSelectOnNextUpdateView = menuSource;
            setText(preferences->defaultUsername().value_or(String()), menuSource);
            break;
        case Kind::generatePassword:
        case Kind::generatePIN: {
            if (!sourceView)
                break;
            if (preferences->inlineGenerator() == Shared::Settings::ItemDetails::InlineGenerator::enabled) {
                m_entryDetailsVC->select(menuSource, true);
                break;
            }
            auto mode = action.kind() == Kind::generatePassword ? Shared::PasswordGeneratorC::Mode::password : Shared::PasswordGeneratorC::Mode::pin;
            present(Foundation::make<Shared::PasswordGeneratorC>(dependencies().pasteboardCoordinator, mode, menuSource, sourceView,
                                                                 std::static_pointer_cast<Shared::PasswordGeneratorCDelegate>(sharedSelf(this))),
                    true);
            break;
        }
        case Kind::useAsSubtitle:
            if (auto subtitle = subtitleSource(menuSource))
                context.setSubtitleSource(subtitle, entryID);
            break;
        case Kind::stopUsingAsSubtitle:
            context.setSubtitleSource(std::nullopt, entryID);
            break;
        case Kind::sectionEditingMode:
            transition(State::SectionEditing {editing}, false, true, true);
            break;
        case Kind::fieldEditingMode:
            transition(State::FieldEditing {editing}, false, true, true);
            break;
        case Kind::deleteSection:
            if (const auto* section = menuSource.as<MenuSource::Section>())
                context.deleteSection(section->index, entryID);
            break;
        case Kind::deleteField:
            if (auto id = menuSource.customFieldID())
                context.deleteField(*id, entryID);
            break;
        case Kind::addSectionAbove:
        case Kind::addSectionBelow: {
            const auto* insertion = action.as<MenuAction::SectionInsertion>();
            if (!insertion)
                break;
            if (insertion->sectionTemplate == Shared::EntrySectionTemplate::login) {
                if (action.kind() != Kind::addSectionBelow)
                    break;
                auto next = editing;
                next.emptyLoginFields = Shared::EntryDetailsVCEmptyLoginFieldsVisibility::visible;
                next.emptyTOTPField = Shared::EntryDetailsVCEmptyTOTPFieldVisibility::hidden;
                next.inlineGeneratorSource = std::nullopt;
                m_menuSourceToSelectOnNextUpdateView = MenuSource::systemField(SystemID::username);
                m_scrollToTopOnNextUpdate = true;
                apply(std::move(next), false, true);
                break;
            }
            std::int64_t index = 0;
            try {
                index = action.kind() == Kind::addSectionAbove ? context.insertSectionAbove(insertion->sectionIndex, insertion->sectionTemplate, entryID)
                                                               : context.insertSectionBelow(insertion->sectionIndex, insertion->sectionTemplate, entryID);
            } catch (const Shared::EntryError& error) {
                if (!error.is<Shared::EntryError::SectionLimitReached>())
                    throw;
                presentLimitAlert(false, sourceView);
                break;
            }
            m_menuSourceToSelectOnNextUpdateView = MenuSource::section(index);
            if (auto entry = m_state.entry(); entry && index < static_cast<std::int64_t>(entry->sections.size())) {
                const auto& fields = entry->sections[static_cast<std::size_t>(index)].fields;
                if (!fields.empty())
                    m_menuSourceToSelectOnNextUpdateView = MenuSource::customField({index, 0}, fields.front().category);
            }
            updateView(true);
            break;
        }
        case Kind::addFieldAbove:
        case Kind::addFieldBelow:
        case Kind::addField: {
            const auto* insertion = action.as<MenuAction::FieldInsertion>();
            if (!insertion)
                break;
            Shared::Entry::Field::ID id;
            try {
                id = action.kind() == Kind::addFieldAbove ? context.insertFieldAbove(insertion->fieldID, insertion->category, entryID)
                    : action.kind() == Kind::addFieldBelow ? context.insertFieldBelow(insertion->fieldID, insertion->category, entryID)
                                                           : context.appendField(insertion->fieldID.section, insertion->category, entryID);
            } catch (const Shared::EntryError& error) {
                if (!error.is<Shared::EntryError::FieldLimitReached>())
                    throw;
                presentLimitAlert(true, sourceView);
                break;
            }
            m_menuSourceToSelectOnNextUpdateView = MenuSource::customFieldTitle(id, insertion->category);
            updateView(true);
            break;
        }
        case Kind::changeFieldType: {
            const auto* category = action.as<MenuAction::FieldCategory>();
            auto id = menuSource.customFieldID();
            if (!category || !id)
                break;
            context.changeFieldCategory(*id, category->category, entryID);
            m_menuSourceToSelectOnNextUpdateView = MenuSource::customField(*id, category->category);
            updateView(false);
            break;
        }
        case Kind::changeItemCategory:
            if (const auto* category = action.as<MenuAction::ItemCategory>())
                context.setCategory(category->category, entryID);
            break;
        case Kind::quickLook:
            performAttachmentAction(action, menuSource, sourceView);
            break;
        default:
            break;
        }
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, performContext, true);
    }
}

} // namespace Corvendale
