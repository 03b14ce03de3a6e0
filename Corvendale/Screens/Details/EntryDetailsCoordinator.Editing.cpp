// The item details' answers to the screen while a person works with one item: the header, the add
// buttons, typing, clearing, moving rows and the generators.

#include "Corvendale/Screens/Details/EntryDetailsCoordinator.hpp"

#include "Corvendale/Screens/Details/EntryDetailsCoordinatorDelegate.hpp"
#include "Corvendale/Services/AppKitBridge.hpp"
#include "Corvendale/Screens/Settings/AutoFillC.hpp"

#include "Shared/Screens/EntryDetailsTVC.hpp"
#include "Shared/Screens/EntryDetailsVC.hpp"
#include "Shared/Screens/PasswordGeneratorC.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Stores/TagStore.hpp"

#include "Basalwork/Base/DispatchQueue.hpp"
#include "Basalwork/Base/String.hpp"
#include "Basalwork/Interface/UISplitViewController.hpp"
#include "Basalwork/Interface/UIView.hpp"
#include "Basalwork/Interface/UIViewController.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UISplitViewController.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIWindow.hpp"

namespace Corvendale {

namespace {

using Foundation::String;
using Shared::MenuSource;
using State = EntryDetailsCoordinator::State;
using SystemID = Shared::Entry::SystemField::ID;
using Category = Shared::Entry::Field::Category;

// Header actions that open a confirmation wait until the keyboard has gone.
constexpr double headerActionDelay = 0.25;
constexpr double selectInListDelay = 0.1;

bool isPasswordOrPINSource(const MenuSource& source)
{
    if (const auto* field = source.as<MenuSource::SystemField>())
        return field->id == SystemID::password;
    if (const auto* field = source.as<MenuSource::CustomField>())
        return field->category == Category::password || field->category == Category::pin;
    return false;
}

// The generator's settings for a PIN field, or a previous PIN, as the option changes name them.
bool isPINSource(const MenuSource& source)
{
    if (const auto* field = source.as<MenuSource::CustomField>())
        return field->category == Category::pin;
    if (const auto* previous = source.as<MenuSource::PreviousFieldValue>())
        return previous->category == Category::pin;
    return false;
}

void endEditing(const UIKit::UIView& view)
{
    if (auto responder = Basalwork::findFirstResponder(view))
        responder->resignFirstResponder();
}

} // namespace

// --- Header -------------------------------------------------------------------------------------------

void EntryDetailsCoordinator::didSelectEdit(Shared::EntryDetailsVHeaderV&)
{
    if (!m_state.is<State::Viewing>() && !m_state.isEditingCase())
        return;
    if (auto entryID = m_state.entryID())
        transitionToEdit(*entryID, false, std::nullopt, true);
}

void EntryDetailsCoordinator::didSelectDone(Shared::EntryDetailsVHeaderV&)
{
    if (m_state.is<State::SectionEditing>() || m_state.is<State::FieldEditing>()) {
        State::Editing editing;
        static_cast<State::EditingPayload&>(editing) = *m_state.editingPayload();
        editing.inlineGeneratorSource = std::nullopt;
        try {
            apply(std::move(editing), true, true);
        } catch (const Foundation::Error& error) {
            handleUnexpectedError(error, "didSelectDone(headerV:)", true);
        }
        return;
    }
    const auto* editing = m_state.as<State::Editing>();
    if (!editing)
        return;
    auto entryID = editing->entryID;
    bool backButtonWasShown = editing->backButton == Shared::EntryDetailsVCBackButtonVisibility::visible;
    auto delegate = this->delegate();
    bool isSelectingMultiple = delegate && delegate->isSelectingMultipleEntries();
    // A new item is in no list yet: once saved, it is selected there like an item edited from the list.
    bool isNew = false;
    try {
        isNew = !dependencies().recordStore->containsEntry(entryID);
        saveCurrentEdits();
        if (isSelectingMultiple)
            apply(State::MultipleSelection {{entryID}, dependencies().recordStore}, false, true);
        else
            apply(viewingState(entryID), false, true);
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, "didSelectDone(headerV:)", true);
        return;
    }
    if (backButtonWasShown || (isNew && !isSelectingMultiple)) {
        std::weak_ptr<EntryDetailsCoordinator> weak = sharedSelf(this);
        Basalwork::asyncAfter(*Foundation::DispatchQueue::main(), selectInListDelay, [weak, entryID] {
            auto self = weak.lock();
            if (!self)
                return;
            auto split = self->splitViewController();
            if (auto delegate = self->delegate(); delegate && split && Basalwork::isExpanded(*split))
                delegate->selectEntryInList(entryID);
        });
    }
    offerAutoFillSettings();
}

void EntryDetailsCoordinator::offerAutoFillSettings()
{
    const auto& preferences = *dependencies().preferenceStore;
    auto entry = m_state.entry();
    if (!entry)
        return;
    switch (dependencies().recordStore->autoFillAvailability()) {
    case Shared::RecordStoreAutoFillAvailability::unsupportedSystem:
        return;
    case Shared::RecordStoreAutoFillAvailability::disabled:
        if (preferences.didOfferAutoFillForPasswords() || !Basalwork::hasAtLeastOneNonWhitespaceCharacter(entry->username)
            || !Basalwork::hasAtLeastOneNonWhitespaceCharacter(entry->password))
            return;
        presentAutoFillSettings();
        dependencies().preferenceStore->setDidOfferAutoFillForPasswords(true);
        return;
    case Shared::RecordStoreAutoFillAvailability::enabled:
        if (preferences.didOfferAutoFillForPasswords() || preferences.didOfferAutoFillForOneTimePasswords()
            || !Basalwork::hasAtLeastOneNonWhitespaceCharacter(entry->totpSecretKey))
            return;
        presentAutoFillSettings();
        dependencies().preferenceStore->setDidOfferAutoFillForPasswords(true);
        dependencies().preferenceStore->setDidOfferAutoFillForOneTimePasswords(true);
        return;
    }
}

void EntryDetailsCoordinator::presentAutoFillSettings()
{
    present(Foundation::make<AutoFillC>(sharedSelf(this)), true);
}

void EntryDetailsCoordinator::didSelectDone(AutoFillC&)
{
    if (!std::dynamic_pointer_cast<AutoFillC>(presentedViewController()))
        return;
    std::weak_ptr<EntryDetailsCoordinator> weak = sharedSelf(this);
    dismiss(true, [weak] {
        // Offered as an edit ends, the page opened while nothing held the keyboard, so it has nothing to
        // give back: the details take it, or the window's keys and commands would reach no one.
        auto self = weak.lock();
        auto window = self && self->isViewLoaded() ? self->view()->window() : nullptr;
        if (window && !window->firstResponder())
            self->becomeFirstResponder();
    });
}

void EntryDetailsCoordinator::didSelectPinWindow(Shared::EntryDetailsVHeaderV&)
{
    if (UIKit::UIApplication::shared()->delegate())
        AppKitBridge::toggleMainWindowPinning(dependencies().appKitBridge, *dependencies().preferenceStore);
}

void EntryDetailsCoordinator::didSelectLock(Shared::EntryDetailsVHeaderV&)
{
    dependencies().authenticationStore->lock(Shared::AuthenticationStore::LockKind::allowBiometry, true, false,
                                             "EntryDetailsCoordinator.didSelectLock");
}

void EntryDetailsCoordinator::didSelectDismiss(Shared::EntryDetailsVHeaderV&)
{
    if (auto delegate = this->delegate())
        delegate->dismissPresented(*this);
}

void EntryDetailsCoordinator::didSelectCancel(Shared::EntryDetailsVHeaderV&)
{
    cancelAfterAsking();
}

void EntryDetailsCoordinator::didSelectRestore(Shared::EntryDetailsVHeaderV&)
{
    const auto* viewing = m_state.as<State::Viewing>();
    if (!viewing)
        return;
    if (auto delegate = this->delegate())
        delegate->updateIsTrashed(false, {viewing->entryID});
}

// --- Rows and buttons ---------------------------------------------------------------------------------

void EntryDetailsCoordinator::didSelect(const MenuSource& menuSource, const std::shared_ptr<UIKit::UIView>& sourceView, UIKit::CGRect,
                                        Shared::EntryDetailsTVC&)
{
    const auto entryID = m_state.entryID();
    if (!entryID)
        return;
    const bool isViewing = m_state.is<State::Viewing>();
    const auto* editing = m_state.as<State::Editing>();
    if (!isViewing && !editing)
        return;
    auto delegate = this->delegate();
    std::vector<String> entryIDs {*entryID};
    if (const auto* header = menuSource.as<MenuSource::Header>()) {
        using Item = MenuSource::HeaderItem;
        try {
            switch (header->item) {
            case Item::favorite:
            case Item::unfavorite: {
                bool isFavorite = header->item == Item::favorite;
                if (editing)
                    editing->editingContext->setFavorite(isFavorite, *entryID);
                else if (delegate)
                    delegate->updateIsFavorite(isFavorite, entryIDs);
                break;
            }
            case Item::unarchive:
                if (isViewing) {
                    if (delegate)
                        delegate->updateIsArchived(false, entryIDs);
                    break;
                }
                if (isViewLoaded())
                    endEditing(*view());
                {
                    std::weak_ptr<EntryDetailsCoordinator> weak = sharedSelf(this);
                    Basalwork::asyncAfter(*Foundation::DispatchQueue::main(), headerActionDelay, [weak, entryIDs] {
                        auto self = weak.lock();
                        if (auto delegate = self ? self->delegate() : nullptr)
                            delegate->updateIsArchived(false, entryIDs);
                    });
                }
                break;
            case Item::moveToTrash:
                if (isViewing) {
                    if (delegate)
                        delegate->updateIsTrashed(true, entryIDs);
                    break;
                }
                confirmAfterEndingEditing(Confirmation::moveToTrash, *entryID, sourceView);
                break;
            case Item::restore:
                if (isViewing && delegate)
                    delegate->updateIsTrashed(false, entryIDs);
                break;
            case Item::deletePermanently:
                if (isViewing && delegate)
                    delegate->permanentlyDelete(entryIDs);
                break;
            case Item::duplicate:
            case Item::archive: {
                auto confirmation = header->item == Item::duplicate ? Confirmation::duplicate : Confirmation::archive;
                if (isViewing)
                    presentConfirmation(confirmation, *entryID, sourceView);
                else
                    confirmAfterEndingEditing(confirmation, *entryID, sourceView);
                break;
            }
            case Item::share:
                if (isViewing)
                    presentShareMenuConfirmation(*entryID, sourceView, true);
                break;
            }
        } catch (const Foundation::Error& error) {
            handleUnexpectedError(error, "didSelect(menuSource:sourceView:rectInSourceView:entryDetailsTVC:)", true);
        }
        return;
    }
    const auto* button = menuSource.as<MenuSource::ShowHidden>();
    if (!button || !editing)
        return;
    try {
        switch (button->kind) {
        case MenuSource::ShowHiddenKind::emptyLoginFields: {
            auto next = *editing;
            next.emptyLoginFields = Shared::EntryDetailsVCEmptyLoginFieldsVisibility::visible;
            transition(std::move(next), false, false, true);
            break;
        }
        case MenuSource::ShowHiddenKind::emptyTOTPField: {
            auto next = *editing;
            next.emptyTOTPField = Shared::EntryDetailsVCEmptyTOTPFieldVisibility::visible;
            transition(std::move(next), false, false, true);
            break;
        }
        case MenuSource::ShowHiddenKind::autoFill:
            presentAutoFillSettings();
            break;
        case MenuSource::ShowHiddenKind::autoFillDomains:
            transition(m_state.with(dependencies().recordStore->autoFillAvailability(), true), false, false, true);
            break;
        }
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, "didSelect(menuSource:sourceView:rectInSourceView:entryDetailsTVC:)", true);
    }
    (void)sourceView;
}

void EntryDetailsCoordinator::confirmAfterEndingEditing(Confirmation confirmation, const String& entryID,
                                                        const std::shared_ptr<UIKit::UIView>& sourceView)
{
    if (isViewLoaded())
        endEditing(*view());
    std::weak_ptr<EntryDetailsCoordinator> weak = sharedSelf(this);
    Basalwork::asyncAfter(*Foundation::DispatchQueue::main(), headerActionDelay, [weak, confirmation, entryID, sourceView] {
        if (auto self = weak.lock())
            self->presentConfirmation(confirmation, entryID, sourceView);
    });
}

void EntryDetailsCoordinator::didBeginEditingText(const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    if (!isPasswordOrPINSource(menuSource))
        return;
    auto next = m_state;
    if (const auto* editing = m_state.as<State::Editing>()) {
        auto changed = *editing;
        changed.inlineGeneratorSource = menuSource;
        next = std::move(changed);
    }
    try {
        transition(std::move(next), false, false, true);
    } catch (const Foundation::Error&) {
    }
}

void EntryDetailsCoordinator::didEndEditingText(const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    const auto* editing = m_state.as<State::Editing>();
    if (!editing || !editing->inlineGeneratorSource || !(*editing->inlineGeneratorSource == menuSource))
        return;
    State::Editing changed;
    static_cast<State::EditingPayload&>(changed) = *editing;
    changed.inlineGeneratorSource = std::nullopt;
    try {
        transition(std::move(changed), false, false, true);
    } catch (const Foundation::Error&) {
    }
}

void EntryDetailsCoordinator::setText(const String& text, const MenuSource& menuSource)
{
    const auto* editing = m_state.as<State::Editing>();
    if (!editing)
        return;
    if (const auto* field = menuSource.as<MenuSource::SystemField>())
        editing->editingContext->setText(text, field->id, editing->entryID);
    else if (const auto* title = menuSource.as<MenuSource::CustomFieldTitle>())
        editing->editingContext->setFieldTitle(text.isEmpty() ? std::nullopt : std::optional(text), title->id, editing->entryID);
    else if (const auto* section = menuSource.as<MenuSource::Section>())
        editing->editingContext->setSectionTitle(text.isEmpty() ? std::nullopt : std::optional(text), section->index, editing->entryID);
    else if (auto id = menuSource.customFieldID())
        editing->editingContext->setText(text, *id, editing->entryID);
}

void EntryDetailsCoordinator::didUpdate(const String& text, const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    try {
        setText(text, menuSource);
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, "didUpdate(text:for:entryDetailsTVC:)", true);
    }
}

void EntryDetailsCoordinator::didRequestInputAdvance(const MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC)
{
    if (const auto* section = menuSource.as<MenuSource::Section>()) {
        auto entry = m_state.entry();
        if (!entry)
            return;
        bool hasFields = section->index >= 0 && section->index < static_cast<std::int64_t>(entry->sections.size())
            && !entry->sections[static_cast<std::size_t>(section->index)].fields.empty();
        if (!hasFields) {
            if (auto responder = Basalwork::findFirstResponder(*this))
                responder->resignFirstResponder();
            return;
        }
    }
    entryDetailsTVC.selectNextInput(true);
}

void EntryDetailsCoordinator::didFailToSelectFileURL(const Foundation::ErrorPtr& error, const MenuSource&, Shared::EntryDetailsTVC&)
{
    if (error)
        handleUnexpectedError(*error, "didFailToSelectFileURL(error:menuSource:entryDetailsTVC:)", true);
}

void EntryDetailsCoordinator::didSelectClear(const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    const auto* editing = m_state.as<State::Editing>();
    auto id = menuSource.customFieldID();
    if (!editing || !id)
        return;
    try {
        editing->editingContext->clearAttachment(*id, editing->entryID);
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, "didSelectClear(menuSource:entryDetailsTVC:)", true);
    }
}

void EntryDetailsCoordinator::didSelectQuickAction(const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    if (auto id = menuSource.customFieldID(); id && !menuSource.as<MenuSource::PreviousFieldValue>()) {
        auto entry = m_state.entry();
        try {
            if (entry && entry->field(*id).category == Category::attachment) {
                // A synced attachment whose file is still on its way has nothing to show yet.
                if (attachmentInfo(menuSource))
                    perform(Shared::MenuAction::Kind::quickLook, menuSource, nullptr);
                return;
            }
        } catch (const Foundation::Error&) {
        }
    }
    if (auto action = menuSource.quickAction())
        perform(*action, menuSource, nullptr);
}

void EntryDetailsCoordinator::didUpdate(bool isSafeForInspection, Shared::EntryDetailsTVC&)
{
    const auto* editing = m_state.as<State::Editing>();
    if (!editing)
        return;
    try {
        editing->editingContext->setSafeForInspection(isSafeForInspection, editing->entryID);
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, "didUpdate(isSafeForInspection:entryDetailsTVC:)", true);
    }
}

// --- Moving rows --------------------------------------------------------------------------------------

bool EntryDetailsCoordinator::isSectionEditing(Shared::EntryDetailsTVC&)
{
    return m_state.is<State::SectionEditing>();
}

bool EntryDetailsCoordinator::isFieldEditing(Shared::EntryDetailsTVC&)
{
    return m_state.is<State::FieldEditing>();
}

void EntryDetailsCoordinator::didMoveRow(const std::function<void(Shared::RecordStore::EditingContext&, const String&)>& move)
{
    const auto* editing = m_state.editingPayload();
    if (!editing)
        return;
    const auto& services = dependencies();
    try {
        move(*editing->editingContext, editing->entryID);
        m_entryDetailsVC->updateWithoutReloading(m_state, services.appExecutionContext, services.preferenceStore, services.recordStore,
                                                 isMainWindowPinned());
    } catch (const Foundation::Error&) {
        // The screen moved the row already: showing the item as it stands puts it back.
        try {
            updateView(true);
        } catch (const Foundation::Error&) {
        }
    }
}

void EntryDetailsCoordinator::didMoveField(Shared::EntryField::ID from, Shared::EntryField::ID to, Shared::EntryDetailsTVC&)
{
    didMoveRow([&](Shared::RecordStore::EditingContext& context, const String& entryID) { context.moveField(from, to, entryID); });
}

void EntryDetailsCoordinator::didMoveSection(std::int64_t from, std::int64_t to, Shared::EntryDetailsTVC&)
{
    didMoveRow([&](Shared::RecordStore::EditingContext& context, const String& entryID) { context.moveSection(from, to, entryID); });
}

std::shared_ptr<Shared::TagStore> EntryDetailsCoordinator::tagStore(Shared::EntryDetailsTVC&)
{
    return dependencies().tagStore;
}

// --- Generators ---------------------------------------------------------------------------------------

void EntryDetailsCoordinator::updateGenerator(const MenuSource& menuSource,
                                              const std::function<bool(Shared::PasswordGenerator&, bool isPINField)>& change,
                                              bool regeneratesItself)
{
    const auto& preferences = dependencies().preferenceStore;
    auto settings = preferences->passwordGenerator();
    bool isPINField = isPINSource(menuSource);
    if (!change(settings, isPINField))
        return;
    preferences->setPasswordGenerator(settings);
    if (!regeneratesItself) {
        regeneratePasswordOrPIN(menuSource);
        return;
    }
    if (!m_state.is<State::Editing>())
        return;
    try {
        setText(isPINField ? preferences->pinGenerator().generate() : preferences->passwordGenerator().generate(), menuSource);
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, "regeneratePasswordOrPIN(for:)", true);
    }
}

void EntryDetailsCoordinator::didUpdateGeneratorLength(std::int64_t length, const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    updateGenerator(menuSource, [length](Shared::PasswordGenerator& settings, bool isPINField) { return settings.changeLength(length, isPINField); }, false);
}

void EntryDetailsCoordinator::didUpdateGeneratorCount(std::int64_t count, const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    updateGenerator(menuSource, [count](Shared::PasswordGenerator& settings, bool isPINField) { return settings.changeCount(count, isPINField); }, true);
}

void EntryDetailsCoordinator::didUpdateGeneratorIncludesNumbers(bool includesNumbers, const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    updateGenerator(
        menuSource,
        [includesNumbers](Shared::PasswordGenerator& settings, bool isPINField) { return settings.changeIncludesNumbers(includesNumbers, isPINField); },
        false);
}

void EntryDetailsCoordinator::didUpdateGeneratorIncludesSymbols(bool includesSymbols, const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    updateGenerator(
        menuSource,
        [includesSymbols](Shared::PasswordGenerator& settings, bool isPINField) { return settings.changeIncludesSymbols(includesSymbols, isPINField); },
        false);
}

void EntryDetailsCoordinator::didUpdateGeneratorSeparator(const String& separator, const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    updateGenerator(
        menuSource, [separator](Shared::PasswordGenerator& settings, bool isPINField) { return settings.changeSeparator(separator, isPINField); },
        false);
}

void EntryDetailsCoordinator::didUpdate(const Shared::PasswordGenerator& generatorSettings, const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    dependencies().preferenceStore->setPasswordGenerator(generatorSettings);
    regeneratePasswordOrPIN(menuSource);
}

void EntryDetailsCoordinator::regeneratePasswordOrPIN(const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    regeneratePasswordOrPIN(menuSource);
}

void EntryDetailsCoordinator::regeneratePasswordOrPIN(const MenuSource& menuSource)
{
    if (!m_state.is<State::Editing>())
        return;
    const auto& preferences = dependencies().preferenceStore;
    try {
        setText(isPINSource(menuSource) ? preferences->pinGenerator().generate() : preferences->passwordGenerator().generate(), menuSource);
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, "regeneratePasswordOrPIN(for:)", true);
    }
}

void EntryDetailsCoordinator::didSelectCancel(Shared::PasswordGeneratorC&)
{
    if (std::dynamic_pointer_cast<Shared::PasswordGeneratorC>(presentedViewController()))
        dismiss(true);
}

void EntryDetailsCoordinator::didSelectDone(const String& password, const MenuSource& menuSource, Shared::PasswordGeneratorC&)
{
    if (std::dynamic_pointer_cast<Shared::PasswordGeneratorC>(presentedViewController()))
        dismiss(true);
    if (!m_state.is<State::Editing>())
        return;
    m_menuSourceToSelectOnNextUpdateView = menuSource;
    try {
        setText(password, menuSource);
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, "didSelectDone(password:menuSource:passwordGeneratorC:)", true);
    }
}

void EntryDetailsCoordinator::call(const String& phoneNumber)
{
    auto url = Foundation::URL::string(String("tel://") + phoneNumber.replacingOccurrences(" ", ""));
    if (!url)
        return;
    const auto& application = UIKit::UIApplication::shared();
    if (application->canOpenURL(*url))
        application->open(*url);
}

} // namespace Corvendale
