// The menus of the item details' rows, while an item is viewed and while it is edited.

#include "Corvendale/Screens/Details/EntryDetailsCoordinator.hpp"

#include "Shared/Screens/EntryDetailsTVC.hpp"
#include "Shared/Screens/EntryDetailsVC.hpp"
#include "Shared/Screens/Menu.Builder.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"

#include "Platform/Foundation/Error.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <algorithm>

namespace Corvendale {

namespace {

using Foundation::String;
using Shared::MenuAction;
using Shared::MenuBuilder;
using Shared::MenuSource;
using State = EntryDetailsCoordinator::State;
using SystemID = Shared::Entry::SystemField::ID;
using Category = Shared::Entry::Field::Category;
using Kind = MenuAction::Kind;
using Elements = std::vector<MenuBuilder::Element>;

// A trashed item is only read until it is restored.
bool isEditable(const Shared::Entry& entry)
{
    return !entry.isTrashed();
}

bool showsLoginFields(const Shared::Entry& entry)
{
    return Shared::isLoginCategory(entry.category) || entry.showsEmptyLoginFields;
}

// What a menu decides from besides the row: the item, the state and the preferences.
struct MenuContext {
    const Shared::Entry& entry;
    const State& state;
    const MenuSource& source;
    bool concealingEnabled;

    void historyToggle(Elements& elements) const
    {
        auto id = source.historyVisibilityID();
        if (!id)
            return;
        auto visibility = state.historyVisibility().value_or(Shared::EntryDetailsVCHistoryVisibility());
        if (source.as<MenuSource::PreviousPassword>() || source.as<MenuSource::PreviousTOTPSecretKey>()
            || source.as<MenuSource::PreviousFieldValue>()) {
            elements.push_back(MenuAction::hideHistory(*id));
            return;
        }
        const std::vector<Shared::Entry::PreviousValue>* history = nullptr;
        if (const auto* field = source.as<MenuSource::SystemField>()) {
            if (field->id == SystemID::password)
                history = &entry.passwordHistory;
            else if (field->id == SystemID::totpSecretKey)
                history = &entry.totpSecretKeyHistory;
        } else if (const auto* field = source.as<MenuSource::CustomField>()) {
            if (const auto* found = EntryDetailsCoordinator::findField(entry, field->id))
                history = &found->history;
        }
        if (!history)
            return;
        if (visibility.isShowing(*id))
            elements.push_back(MenuAction::hideHistory(*id));
        else if (!history->empty())
            elements.push_back(MenuAction::showHistory(*id));
    }

    void subtitleOffer(Elements& elements) const
    {
        auto subtitle = EntryDetailsCoordinator::subtitleSource(source);
        if (isEditable(entry) && subtitle && entry.subtitleSource != subtitle)
            elements.push_back(MenuAction(Kind::useAsSubtitle));
    }

    MenuAction subtitleToggle() const
    {
        auto subtitle = EntryDetailsCoordinator::subtitleSource(source);
        return subtitle && entry.subtitleSource == subtitle ? MenuAction(Kind::stopUsingAsSubtitle) : MenuAction(Kind::useAsSubtitle);
    }

    void revealOffer(MenuBuilder& builder) const
    {
        auto id = source.revealConcealID();
        if (!concealingEnabled || !id)
            return;
        auto concealState = state.concealState();
        bool isRevealed = concealState && std::ranges::find(concealState->revealedIDs(), *id) != concealState->revealedIDs().end();
        builder.add(MenuAction(isRevealed ? Kind::conceal : Kind::reveal), true);
    }

    void editOffer(MenuBuilder& builder) const { builder.add(MenuAction(Kind::edit), isEditable(entry)); }

    void groupA(MenuBuilder& builder) const
    {
        builder.addGroup(
            [this](Elements& elements) {
                elements.push_back(MenuAction(Kind::showInLargeType));
                historyToggle(elements);
            },
            true);
    }
    void groupB(MenuBuilder& builder) const
    {
        builder.addGroup(
            [this](Elements& elements) {
                elements.push_back(MenuAction(Kind::showInLargeType));
                subtitleOffer(elements);
            },
            true);
    }
    void groupC(MenuBuilder& builder) const
    {
        builder.addGroup(
            [this](Elements& elements) {
                elements.push_back(MenuAction(Kind::showInLargeType));
                subtitleOffer(elements);
                historyToggle(elements);
            },
            true);
    }
    void copyAndSecretKey(MenuBuilder& builder) const { builder.addRow({MenuAction(Kind::copy), MenuAction(Kind::copySecretKey)}, true); }
};

// The submenus that insert a section of a template above or below this one; never the login template.
std::vector<MenuBuilder::Submenu> sectionInsertionSubmenus(std::int64_t sectionIndex)
{
    std::vector<MenuBuilder::Submenu> submenus {{String("Add Section Above"), {}}, {String("Add Section Below"), {}}};
    for (auto group : Shared::EntrySectionTemplateGroup::allCases()) {
        MenuBuilder::Row above;
        MenuBuilder::Row below;
        for (auto sectionTemplate : Shared::EntrySectionTemplateGroup::userSelectableTemplates(group, false)) {
            above.push_back(MenuAction::addSectionAbove(sectionIndex, sectionTemplate));
            below.push_back(MenuAction::addSectionBelow(sectionIndex, sectionTemplate));
        }
        submenus[0].rows.push_back(std::move(above));
        submenus[1].rows.push_back(std::move(below));
    }
    return submenus;
}

// A system field's menu while the item is viewed; nothing for a field that has none.
std::shared_ptr<UIKit::UIMenu> systemFieldViewingMenu(SystemID id, const MenuContext& context, MenuBuilder& builder)
{
    auto addCopy = [&] { builder.add(MenuAction(Kind::copy), true); };
    switch (id) {
    case SystemID::username:
        addCopy();
        context.groupB(builder);
        break;
    case SystemID::password:
        addCopy();
        context.revealOffer(builder);
        context.groupA(builder);
        break;
    case SystemID::totpSecretKey:
        context.copyAndSecretKey(builder);
        context.groupA(builder);
        break;
    case SystemID::website:
        builder.add(MenuAction(Kind::openWebsite), true);
        addCopy();
        context.groupC(builder);
        break;
    case SystemID::tags:
    case SystemID::notes:
        addCopy();
        break;
    case SystemID::category:
        if (!isEditable(context.entry))
            return nullptr;
        builder.addEntryCategoryMenu(context.entry.category);
        return builder.build();
    case SystemID::title:
        addCopy();
        builder.add(MenuAction(Kind::showInLargeType), true);
        break;
    case SystemID::subtitle:
    case SystemID::serviceIdentifiers:
        return nullptr;
    case SystemID::safeForInspection:
        break;
    }
    context.editOffer(builder);
    return builder.build();
}

// The menu of an earlier value of a custom field, in the item's history.
std::shared_ptr<UIKit::UIMenu> previousFieldValueMenu(const MenuSource::PreviousFieldValue& previous, const MenuContext& context, MenuBuilder& builder)
{
    auto addCopy = [&] { builder.add(MenuAction(Kind::copy), true); };
    switch (previous.category) {
    case Category::text:
    case Category::multilineText:
    case Category::creditCardNumber:
        addCopy();
        break;
    case Category::password:
    case Category::pin:
        addCopy();
        context.revealOffer(builder);
        break;
    case Category::oneTimePassword:
        context.copyAndSecretKey(builder);
        break;
    case Category::phone:
        addCopy();
        builder.add(MenuAction(Kind::call), true);
        break;
    case Category::address:
        addCopy();
        builder.add(MenuAction(Kind::showInMaps), true);
        break;
    case Category::email:
        addCopy();
        builder.add(MenuAction(Kind::composeEmail), true);
        break;
    case Category::url:
        builder.add(MenuAction(Kind::openWebsite), true);
        addCopy();
        break;
    case Category::attachment:
        break;
    }
    context.groupA(builder);
    builder.add(MenuAction::previousFieldValueAction(previous.id, previous.category, previous.historyID), true);
    return builder.build();
}

} // namespace

std::shared_ptr<UIKit::UIMenu> EntryDetailsCoordinator::menu(const MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    return menu(menuSource);
}

std::shared_ptr<UIKit::UIMenu> EntryDetailsCoordinator::menu(const MenuSource& menuSource)
{
    if (!m_state.is<State::Viewing>() && !m_state.is<State::Editing>())
        return nullptr;
    auto entry = m_state.entry();
    if (!entry)
        return nullptr;
    // The row the menu opened from is held until the choice, so the action can anchor at it.
    auto sourceView = m_entryDetailsVC->sourceView(menuSource);
    std::weak_ptr<EntryDetailsCoordinator> weak = sharedSelf(this);
    MenuBuilder builder([weak, menuSource, sourceView](const MenuBuilder::Element& element) {
        auto self = weak.lock();
        const auto* action = element.as<MenuBuilder::Element::Action>();
        if (self && action)
            self->perform(action->action, menuSource, sourceView);
    });
    // The large-type viewer is not part of this program yet.
    builder.setUnavailable({Kind::showInLargeType});
    return m_state.is<State::Viewing>() ? viewingMenu(*entry, menuSource, builder) : editingMenu(*entry, menuSource, builder);
}

std::shared_ptr<UIKit::UIMenu> EntryDetailsCoordinator::viewingMenu(const Shared::Entry& entry, const MenuSource& source, MenuBuilder& builder) const
{
    const MenuContext context {entry, m_state, source,
                               dependencies().preferenceStore->concealing() == Shared::Settings::Auth::Concealing::enabled};
    auto addCopy = [&] { builder.add(MenuAction(Kind::copy), true); };
    if (const auto* field = source.as<MenuSource::SystemField>())
        return systemFieldViewingMenu(field->id, context, builder);
    if (const auto* previous = source.as<MenuSource::PreviousPassword>()) {
        addCopy();
        context.revealOffer(builder);
        context.groupA(builder);
        builder.add(MenuAction::previousPasswordAction(previous->historyID), true);
        return builder.build();
    }
    if (const auto* previous = source.as<MenuSource::PreviousTOTPSecretKey>()) {
        context.copyAndSecretKey(builder);
        context.groupA(builder);
        builder.add(MenuAction::previousOneTimePasswordAction(previous->historyID), true);
        return builder.build();
    }
    if (source.as<MenuSource::Section>()) {
        addCopy();
        builder.add(MenuAction(Kind::showInLargeType), true);
        context.editOffer(builder);
        return builder.build();
    }
    if (const auto* previous = source.as<MenuSource::PreviousFieldValue>())
        return previousFieldValueMenu(*previous, context, builder);
    if (!source.as<MenuSource::CustomField>() && !source.as<MenuSource::CustomFieldTitle>())
        return nullptr;
    const auto* field = EntryDetailsCoordinator::findField(entry, *source.customFieldID());
    if (!field)
        return nullptr;
    switch (field->category) {
    case Category::text:
    case Category::multilineText:
    case Category::creditCardNumber:
        addCopy();
        context.groupC(builder);
        break;
    case Category::password:
    case Category::pin:
        addCopy();
        context.revealOffer(builder);
        context.groupA(builder);
        break;
    case Category::oneTimePassword:
        context.copyAndSecretKey(builder);
        context.groupA(builder);
        break;
    case Category::phone:
        addCopy();
        builder.add(MenuAction(Kind::call), true);
        context.groupC(builder);
        break;
    case Category::address:
        addCopy();
        builder.add(MenuAction(Kind::showInMaps), true);
        context.groupC(builder);
        break;
    case Category::email:
        addCopy();
        builder.add(MenuAction(Kind::composeEmail), true);
        context.groupC(builder);
        break;
    case Category::url:
        builder.add(MenuAction(Kind::openWebsite), true);
        addCopy();
        context.groupC(builder);
        break;
    case Category::attachment: {
        auto attachmentID = entry.attachmentID(*source.customFieldID());
        if (!attachmentID)
            return nullptr;
        bool exists = false;
        try {
            exists = dependencies().recordStore->attachment(entry.id, *source.customFieldID()).has_value();
        } catch (const Foundation::Error&) {
        }
        if (exists) {
            builder.add(MenuAction(Kind::quickLook), true);
            builder.addRow({MenuAction(Kind::saveAttachmentTo), MenuAction(Kind::share)}, true);
        }
        break;
    }
    }
    context.editOffer(builder);
    return builder.build();
}

std::shared_ptr<UIKit::UIMenu> EntryDetailsCoordinator::editingMenu(const Shared::Entry& entry, const MenuSource& source, MenuBuilder& builder) const
{
    const MenuContext context {entry, m_state, source, false};
    if (const auto* field = source.as<MenuSource::SystemField>()) {
        switch (field->id) {
        case SystemID::username:
            builder.add(context.subtitleToggle(), true);
            builder.add(MenuAction(Kind::setAsDefaultUsername), true);
            builder.add(MenuAction(Kind::useDefaultUsername), true);
            break;
        case SystemID::password:
            builder.add(MenuAction(Kind::generatePassword), true);
            break;
        case SystemID::website:
        case SystemID::serviceIdentifiers:
            builder.add(context.subtitleToggle(), true);
            break;
        case SystemID::category:
            builder.addEntryCategoryMenu(entry.category);
            break;
        default:
            return nullptr;
        }
        return builder.build();
    }
    if (const auto* section = source.as<MenuSource::Section>()) {
        builder.addSubmenus(sectionInsertionSubmenus(section->index), true);
        builder.add(MenuAction(Kind::sectionEditingMode), true);
        builder.add(MenuAction(Kind::deleteSection), true);
        return builder.build();
    }
    if (const auto* add = source.as<MenuSource::AddField>()) {
        for (auto group : Shared::EntryFieldCategoryGroup::allCases()) {
            MenuBuilder::Row row;
            for (auto category : Shared::EntryFieldCategoryGroup::categories(group, dependencies().appExecutionContext))
                row.push_back(MenuAction::addField(add->sectionIndex, category));
            builder.addRow(row, true);
        }
        return builder.build();
    }
    if (const auto* add = source.as<MenuSource::AddSection>()) {
        const auto* editing = m_state.editingPayload();
        bool includingLogin = !showsLoginFields(entry)
            && !(editing && editing->emptyLoginFields == Shared::EntryDetailsVCEmptyLoginFieldsVisibility::visible);
        for (auto group : Shared::EntrySectionTemplateGroup::allCases()) {
            MenuBuilder::Row row;
            for (auto sectionTemplate : Shared::EntrySectionTemplateGroup::userSelectableTemplates(group, includingLogin))
                row.push_back(MenuAction::addSectionBelow(add->sectionIndex, sectionTemplate));
            builder.addRow(row, true);
        }
        return builder.build();
    }
    const auto* field = source.as<MenuSource::CustomField>();
    if (!field || !EntryDetailsCoordinator::findField(entry, field->id))
        return nullptr;
    switch (EntryDetailsCoordinator::findField(entry, field->id)->category) {
    case Category::password:
        builder.add(MenuAction(Kind::generatePassword), true);
        changeFieldTypeMenu(source, builder);
        break;
    case Category::pin:
        builder.add(MenuAction(Kind::generatePIN), true);
        changeFieldTypeMenu(source, builder);
        break;
    case Category::oneTimePassword:
        changeFieldTypeMenu(source, builder);
        break;
    case Category::attachment:
        builder.add(MenuAction(Kind::fieldEditingMode), true);
        builder.add(MenuAction(Kind::deleteField), true);
        break;
    default:
        builder.add(context.subtitleToggle(), true);
        changeFieldTypeMenu(source, builder);
        break;
    }
    return builder.build();
}

void EntryDetailsCoordinator::changeFieldTypeMenu(const MenuSource& menuSource, MenuBuilder& builder) const
{
    const auto* field = menuSource.as<MenuSource::CustomField>();
    if (!field)
        return;
    std::vector<MenuBuilder::Submenu> insertions {{String("Add Field Above"), {}}, {String("Add Field Below"), {}}};
    for (auto group : Shared::EntryFieldCategoryGroup::allCases()) {
        MenuBuilder::Row above;
        MenuBuilder::Row below;
        for (auto category : Shared::EntryFieldCategoryGroup::categories(group, dependencies().appExecutionContext)) {
            above.push_back(MenuAction::addFieldAbove(field->id, category));
            below.push_back(MenuAction::addFieldBelow(field->id, category));
        }
        insertions[0].rows.push_back(std::move(above));
        insertions[1].rows.push_back(std::move(below));
    }
    builder.addSubmenus(insertions, true);
    MenuBuilder::Submenu changeType {String("Change Field Type"), {{}}};
    for (auto category : Shared::allEntryFieldCategories())
        changeType.rows.front().push_back(MenuBuilder::Element::action(MenuAction::changeFieldType(category), category == field->category));
    builder.addSubmenus({changeType}, true);
    builder.add(MenuAction(Kind::fieldEditingMode), true);
    builder.add(MenuAction(Kind::deleteField), true);
}

} // namespace Corvendale
