#include "Sorrelgate/AddEntryC.hpp"

#include "Sorrelgate/ASCredentialServiceIdentifier.hpp"
#include "Sorrelgate/AddEntryCDelegate.hpp"
#include "Sorrelgate/CredentialProviderVC.hpp"

#include "Shared/Screens/EntryDetailsVC.hpp"
#include "Shared/Screens/Menu.Action.hpp"
#include "Shared/Screens/Menu.Builder.hpp"
#include "Shared/Screens/PasswordGeneratorC.hpp"
#include "Shared/Model/Settings.ItemDetails.hpp"
#include "Shared/Crypto/PasswordGenerator.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"
#include "Shared/Stores/TagStore.hpp"
#include "Shared/Screens/UIKeyCommand.hpp"

#include "Basalwork/Interface/UIViewController.hpp"

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/Foundation/UUID.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"

#include <mutex>

namespace Sorrelgate {

namespace {

using Foundation::String;
using Shared::MenuSource;
using State = Shared::EntryDetailsVC::State;
using SystemID = Shared::Entry::SystemField::ID;
using FieldCategory = Shared::Entry::Field::Category;

bool isPINSource(const MenuSource& source)
{
    const auto* field = source.as<MenuSource::CustomField>();
    return field && field->category == FieldCategory::pin;
}

// The password field, or a custom password or PIN field: where the inline generator can show.
bool showsInlineGenerator(const MenuSource& source)
{
    if (const auto* field = source.as<MenuSource::SystemField>())
        return field->id == SystemID::password;
    const auto* field = source.as<MenuSource::CustomField>();
    return field && (field->category == FieldCategory::password || field->category == FieldCategory::pin);
}

} // namespace

AddEntryC::AddEntryC(const String& vaultID, ServiceIdentifiers serviceIdentifiers)
    : AddEntryC(Foundation::make<Shared::EntryDetailsVC>(), vaultID, std::move(serviceIdentifiers))
{
}

AddEntryC::AddEntryC(std::shared_ptr<Shared::EntryDetailsVC> entryDetailsVC, const String& vaultID, ServiceIdentifiers serviceIdentifiers)
    : CoordinatingViewController(entryDetailsVC)
    , m_serviceIdentifiers(std::move(serviceIdentifiers))
    , m_entryDetailsVC(std::move(entryDetailsVC))
{
    const auto& recordStore = this->recordStore();
    m_editingContext = recordStore->makeEditingContext();
    m_entryID = m_editingContext->insert(Foundation::UUID().uuidString(), vaultID, std::nullopt,
                                         recordStore->safeForInspectionState() == Shared::RecordStore::SafeForInspectionState::activated);
    // What cannot be filled in stays empty for the user to type.
    if (!m_serviceIdentifiers.empty()) {
        auto site = hostOrIdentifier(m_serviceIdentifiers.front());
        (void)Foundation::catchError([&] { m_editingContext->setText(site, SystemID::title, m_entryID); });
        (void)Foundation::catchError([&] { m_editingContext->setText(site, SystemID::website, m_entryID); });
    }
    if (auto username = preferenceStore()->defaultUsername())
        (void)Foundation::catchError([&] { m_editingContext->setText(*username, SystemID::username, m_entryID); });
}

void AddEntryC::initialize()
{
    CoordinatingViewController::initialize();
    m_entryDetailsVC->setDelegate(std::static_pointer_cast<Shared::EntryDetailsVCDelegate>(sharedSelf(this)));
    static std::once_flag registered;
    std::call_once(registered, [] {
        Foundation::MethodTable::add(Foundation::Selector("handleEscapeKeyPress"), &AddEntryC::handleEscapeKeyPress);
        Foundation::MethodTable::add(Foundation::Selector("tabKeyPressed"), &AddEntryC::tabKeyPressed);
        Foundation::MethodTable::add(Foundation::Selector("shiftTabKeyPressed"), &AddEntryC::shiftTabKeyPressed);
    });
}

AddEntryC::~AddEntryC()
{
    if (m_observer)
        dependencies().notificationCenter->removeObserver(m_observer);
}

void AddEntryC::viewDidLoad()
{
    CoordinatingViewController::viewDidLoad();
    startObservingEditingContext();
}

void AddEntryC::startObservingEditingContext()
{
    std::weak_ptr<AddEntryC> weak = sharedSelf(this);
    m_observer = dependencies().notificationCenter->addObserver(Shared::RecordStore::EditingContext::editingContextDidUpdate(), m_editingContext,
                                                                Foundation::OperationQueue::main(), [weak](const Foundation::Notification&) {
                                                                    if (auto self = weak.lock())
                                                                        self->rebuildDroppingFailure();
                                                                });
}

void AddEntryC::viewWillAppear(bool animated)
{
    CoordinatingViewController::viewWillAppear(animated);
    m_entryDetailsVC->view()->setFrame(view()->bounds());
    try {
        rebuild(false);
    } catch (const Foundation::Error& error) {
        // Without a state the screen has nothing to edit.
        cancelRequest(error);
    }
}

void AddEntryC::viewDidAppear(bool animated)
{
    CoordinatingViewController::viewDidAppear(animated);
    m_entryDetailsVC->select(MenuSource::systemField(SystemID::title), animated);
}

void AddEntryC::rebuild(bool animated)
{
    const auto& dependencies = this->dependencies();
    State::Editing editing;
    editing.entryID = m_entryID;
    editing.editingContext = m_editingContext;
    editing.emptyTOTPField = m_emptyTOTPFieldVisibility;
    editing.autoFillDomains = m_showAutoFillDomains ? Shared::EntryDetailsVCAutoFillDomainsState::shown : Shared::EntryDetailsVCAutoFillDomainsState::hidden;
    editing.inlineGeneratorSource = m_menuSourceToShowInlineGenerator;
    State state = State(editing).with(dependencies.recordStore->autoFillAvailability(), m_showAutoFillDomains);
    std::weak_ptr<AddEntryC> weak = sharedSelf(this);
    m_entryDetailsVC->update(std::move(state), dependencies.appExecutionContext, dependencies.preferenceStore, dependencies.recordStore, false, animated,
                             [weak, animated] {
                                 auto self = weak.lock();
                                 if (!self || !self->m_menuSourceToSelectOnNextUpdateView)
                                     return;
                                 auto source = *std::exchange(self->m_menuSourceToSelectOnNextUpdateView, std::nullopt);
                                 self->m_entryDetailsVC->select(source, animated);
                             });
}

void AddEntryC::rebuildDroppingFailure()
{
    (void)Foundation::catchError([&] { rebuild(true); });
}

void AddEntryC::rebuildOrCancel()
{
    try {
        rebuild(true);
    } catch (const Foundation::Error& error) {
        cancelRequest(error);
    }
}

void AddEntryC::cancelRequest(const Foundation::Error& error)
{
    if (auto delegate = this->delegate())
        delegate->cancelRequest(CredentialProviderVC::cancellationError(error));
}

// --- Keys ---------------------------------------------------------------------------------------------

std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> AddEntryC::keyCommands() const
{
    using Flags = UIKit::UIKeyModifierFlags;
    auto command = [](const String& input, Flags flags, const char* action) {
        return Shared::UIKeyCommands::withInput(input, flags, Foundation::Selector(action), true);
    };
    std::vector<std::shared_ptr<UIKit::UIKeyCommand>> commands;
    if (isPresenting())
        return commands;
    auto firstResponder = Basalwork::findFirstResponder(*this);
    // Escape while a field is being edited belongs to the field.
    if (!firstResponder || firstResponder.get() == this)
        commands.push_back(command(UIKit::UIKeyCommand::inputEscape(), {}, "handleEscapeKeyPress"));
    commands.push_back(command("\t", {}, "tabKeyPressed"));
    commands.push_back(command("\t", Flags::shift(), "shiftTabKeyPressed"));
    return commands;
}

void AddEntryC::handleEscapeKeyPress()
{
    if (isPresenting())
        return;
    auto firstResponder = Basalwork::findFirstResponder(*this);
    if (firstResponder && firstResponder.get() != this)
        return;
    if (auto delegate = this->delegate())
        delegate->didRequestClose(*this);
}

void AddEntryC::tabKeyPressed()
{
    if (!isPresenting())
        m_entryDetailsVC->selectNextInput(true);
}

void AddEntryC::shiftTabKeyPressed()
{
    if (!isPresenting())
        m_entryDetailsVC->selectPreviousInput(true);
}

// --- The header ---------------------------------------------------------------------------------------

void AddEntryC::didSelectCancel(Shared::EntryDetailsVHeaderV&)
{
    if (auto delegate = this->delegate())
        delegate->didRequestClose(*this);
}

void AddEntryC::didSelectDone(Shared::EntryDetailsVHeaderV&)
{
    try {
        m_editingContext->endEditing(true);
    } catch (const Foundation::Error& error) {
        // The item was not saved: nothing can be handed over.
        cancelRequest(error);
        return;
    }
    if (auto delegate = this->delegate())
        delegate->didSave(m_entryID, *this);
}

// --- The rows -----------------------------------------------------------------------------------------

void AddEntryC::didSelect(const MenuSource& menuSource, const std::shared_ptr<UIKit::UIView>&, UIKit::CGRect, Shared::EntryDetailsTVC&)
{
    if (const auto* button = menuSource.as<MenuSource::ShowHidden>()) {
        if (button->kind == MenuSource::ShowHiddenKind::autoFillDomains)
            m_showAutoFillDomains = true;
        else if (button->kind == MenuSource::ShowHiddenKind::emptyTOTPField)
            m_emptyTOTPFieldVisibility = Shared::EntryDetailsVCEmptyTOTPFieldVisibility::visible;
        else
            return;
        rebuildDroppingFailure();
        return;
    }
    m_entryDetailsVC->select(menuSource, true);
}

std::shared_ptr<UIKit::UIMenu> AddEntryC::menu(const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    const auto* field = menuSource.as<MenuSource::SystemField>();
    if (!field || (field->id != SystemID::category && field->id != SystemID::username && field->id != SystemID::password))
        return nullptr;
    std::weak_ptr<AddEntryC> weak = sharedSelf(this);
    Shared::MenuBuilder builder([weak, menuSource, sourceView = m_entryDetailsVC->sourceView(menuSource)](const Shared::MenuBuilder::Element& element) {
        auto self = weak.lock();
        if (const auto* chosen = element.as<Shared::MenuBuilder::Element::Action>(); self && chosen)
            self->perform(chosen->action, menuSource, sourceView);
    });
    switch (field->id) {
    case SystemID::category: {
        auto entry = m_editingContext->entry(m_entryID);
        builder.addEntryCategoryMenu(entry ? entry->category : Shared::Entry::Category::login);
        break;
    }
    case SystemID::username:
        builder.add(Shared::MenuAction(Shared::MenuAction::Kind::useDefaultUsername));
        break;
    default:
        builder.add(Shared::MenuAction(Shared::MenuAction::Kind::generatePassword));
        break;
    }
    return builder.build();
}

void AddEntryC::perform(const Shared::MenuAction& action, const MenuSource& menuSource, const std::shared_ptr<UIKit::UIView>& sourceView)
{
    using Kind = Shared::MenuAction::Kind;
    try {
        if (const auto* category = action.as<Shared::MenuAction::ItemCategory>(); category && action.kind() == Kind::changeItemCategory) {
            m_editingContext->setCategory(category->category, m_entryID);
        } else if (action.kind() == Kind::useDefaultUsername) {
            m_menuSourceToSelectOnNextUpdateView = menuSource;
            setText(preferenceStore()->defaultUsername().value_or(String()), menuSource);
        } else if (action.kind() == Kind::generatePassword) {
            openGenerator(menuSource, sourceView);
        }
    } catch (const Foundation::Error& error) {
        cancelRequest(error);
    }
}

void AddEntryC::didBeginEditingText(const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    if (!showsInlineGenerator(menuSource) || m_menuSourceToShowInlineGenerator == menuSource)
        return;
    m_menuSourceToShowInlineGenerator = menuSource;
    rebuildOrCancel();
}

void AddEntryC::didEndEditingText(const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    if (!m_menuSourceToShowInlineGenerator || !(*m_menuSourceToShowInlineGenerator == menuSource))
        return;
    m_menuSourceToShowInlineGenerator.reset();
    rebuildOrCancel();
}

void AddEntryC::setText(const String& text, const MenuSource& menuSource)
{
    if (const auto* field = menuSource.as<MenuSource::SystemField>())
        m_editingContext->setText(text, field->id, m_entryID);
    else if (const auto* title = menuSource.as<MenuSource::CustomFieldTitle>())
        m_editingContext->setFieldTitle(text.isEmpty() ? std::nullopt : std::optional(text), title->id, m_entryID);
    else if (const auto* section = menuSource.as<MenuSource::Section>())
        m_editingContext->setSectionTitle(text.isEmpty() ? std::nullopt : std::optional(text), section->index, m_entryID);
    else if (auto id = menuSource.customFieldID())
        m_editingContext->setText(text, *id, m_entryID);
}

void AddEntryC::didUpdate(const String& text, const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    try {
        setText(text, menuSource);
    } catch (const Foundation::Error& error) {
        cancelRequest(error);
    }
}

void AddEntryC::didRequestInputAdvance(const MenuSource&, Shared::EntryDetailsTVC&)
{
    m_entryDetailsVC->selectNextInput(true);
}

std::shared_ptr<Shared::TagStore> AddEntryC::tagStore(Shared::EntryDetailsTVC&)
{
    return dependencies().tagStore;
}

// --- The generators -----------------------------------------------------------------------------------

void AddEntryC::updateGenerator(const MenuSource& menuSource, const std::function<bool(Shared::PasswordGenerator&, bool isPINField)>& change)
{
    const auto& preferences = preferenceStore();
    auto settings = preferences->passwordGenerator();
    bool isPINField = isPINSource(menuSource);
    if (!change(settings, isPINField))
        return;
    preferences->setPasswordGenerator(settings);
    try {
        setText(isPINField ? preferences->pinGenerator().generate() : preferences->passwordGenerator().generate(), menuSource);
    } catch (const Foundation::Error& error) {
        cancelRequest(error);
    }
}

void AddEntryC::openGenerator(const MenuSource& menuSource, const std::shared_ptr<UIKit::UIView>& sourceView)
{
    const auto& preferences = preferenceStore();
    if (preferences->inlineGenerator() == Shared::Settings::ItemDetails::InlineGenerator::enabled) {
        m_entryDetailsVC->select(menuSource, true);
        return;
    }
    if (!sourceView)
        return;
    auto generator = Foundation::make<Shared::PasswordGeneratorC>(dependencies().pasteboardCoordinator, Shared::PasswordGeneratorC::Mode::password,
                                                                  menuSource, sourceView,
                                                                  std::static_pointer_cast<Shared::PasswordGeneratorCDelegate>(sharedSelf(this)));
    // It starts from the person's own settings, which Done keeps.
    generator->setGeneratorSettings(preferences->passwordGenerator());
    present(generator, true);
}

void AddEntryC::dismissGenerator()
{
    if (std::dynamic_pointer_cast<Shared::PasswordGeneratorC>(presentedViewController()))
        dismiss(true);
}

void AddEntryC::didSelectCancel(Shared::PasswordGeneratorC&)
{
    dismissGenerator();
}

void AddEntryC::didSelectDone(const String& password, const MenuSource& menuSource, Shared::PasswordGeneratorC& passwordGeneratorC)
{
    preferenceStore()->setPasswordGenerator(passwordGeneratorC.generatorSettings());
    // The password shown is the one taken: the person may have copied it already.
    try {
        setText(password, menuSource);
    } catch (const Foundation::Error& error) {
        cancelRequest(error);
    }
    dismissGenerator();
}

void AddEntryC::regeneratePasswordOrPIN(const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    updateGenerator(menuSource, [](Shared::PasswordGenerator&, bool) { return true; });
}

void AddEntryC::didUpdateGeneratorLength(std::int64_t length, const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    updateGenerator(menuSource, [length](Shared::PasswordGenerator& settings, bool isPINField) { return settings.changeLength(length, isPINField); });
}

void AddEntryC::didUpdateGeneratorCount(std::int64_t count, const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    updateGenerator(menuSource, [count](Shared::PasswordGenerator& settings, bool isPINField) { return settings.changeCount(count, isPINField); });
}

void AddEntryC::didUpdateGeneratorIncludesNumbers(bool includesNumbers, const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    updateGenerator(menuSource, [includesNumbers](Shared::PasswordGenerator& settings, bool isPINField) {
        return settings.changeIncludesNumbers(includesNumbers, isPINField);
    });
}

void AddEntryC::didUpdateGeneratorIncludesSymbols(bool includesSymbols, const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    updateGenerator(menuSource, [includesSymbols](Shared::PasswordGenerator& settings, bool isPINField) {
        return settings.changeIncludesSymbols(includesSymbols, isPINField);
    });
}

void AddEntryC::didUpdateGeneratorSeparator(const String& separator, const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    updateGenerator(menuSource, [separator](Shared::PasswordGenerator& settings, bool isPINField) { return settings.changeSeparator(separator, isPINField); });
}

void AddEntryC::didUpdate(const Shared::PasswordGenerator& generatorSettings, const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    updateGenerator(menuSource, [&generatorSettings](Shared::PasswordGenerator& settings, bool) {
        settings = generatorSettings;
        return true;
    });
}

} // namespace Sorrelgate
