#include "Shared/Screens/EntryDetailsTVC.Row.hpp"

#include "Shared/Screens/EntryDetailsVC.State.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/Date.hpp"

#include <string>

namespace Shared {
namespace {

using Foundation::String;
using SystemID = EntrySystemField::ID;

bool hasText(const String& text)
{
    return !text.trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines()).isEmpty();
}

String codeText(const std::optional<TOTP>& totp)
{
    if (!totp)
        return TOTP::invalidSecretKeyText();
    try {
        return totp->generateFormatted(Foundation::Date::now());
    } catch (const Foundation::Error&) {
        return TOTP::invalidSecretKeyText();
    }
}

std::optional<TOTP> parsedTOTP(const String& text)
{
    try {
        return TOTP(text);
    } catch (const Foundation::Error&) {
        return std::nullopt;
    }
}

EntryDetailsTVCRow rowFor(MenuSource source)
{
    EntryDetailsTVCRow row {.source = std::move(source)};
    return row;
}

bool showsGenerator(const EntryField& field)
{
    return field.category == EntryField::Category::password || field.category == EntryField::Category::pin;
}

class Builder {
public:
    Builder(const Entry& entry, const EntryDetailsVCState& state, const PasswordGenerator& generator, bool showsInlineGenerator)
        : m_entry(entry)
        , m_state(state)
        , m_editing(state.editingPayload())
        , m_typing(state.is<EntryDetailsVCState::Editing>())
        , m_movingSections(state.is<EntryDetailsVCState::SectionEditing>())
        , m_movingFields(state.is<EntryDetailsVCState::FieldEditing>())
        , m_generator(generator)
        , m_showsInlineGenerator(showsInlineGenerator)
    {
    }

    std::vector<EntryDetailsTVCSection> build()
    {
        EntryDetailsTVCSection main {String(), {}};
        auto& rows = main.rows;
        addSystemField(rows, SystemID::title, m_entry.title, true);
        bool showsLogin = m_entry.category == Entry::Category::login || m_entry.showsEmptyLoginFields
            || (m_editing && m_editing->emptyLoginFields == EntryDetailsVCEmptyLoginFieldsVisibility::visible);
        addSystemField(rows, SystemID::username, m_entry.username, showsLogin);
        addSystemField(rows, SystemID::password, m_entry.password, showsLogin);
        addGenerator(rows, false);
        if (isShowingHistory(MenuSource::systemField(SystemID::password)))
            for (const auto& previous : m_entry.passwordHistory)
                addPrevious(rows, MenuSource::previousPassword(previous.id), String("Previous Password"), previous.text);
        addOneTimePassword(rows);
        addSystemField(rows, SystemID::website, m_entry.website, false);
        addSystemField(rows, SystemID::notes, m_entry.notes, false);
        if (!m_entry.tags.empty() || m_typing)
            addSystemField(rows, SystemID::tags, m_entry.text(SystemID::tags), true);
        if (m_typing) {
            EntryDetailsTVCRow safe = rowFor(MenuSource::systemField(SystemID::safeForInspection));
            safe.kind = EntryDetailsTVCRow::Kind::toggle;
            safe.title = EntrySystemField::titleText(SystemID::safeForInspection);
            safe.isOn = m_entry.isSafeForInspection;
            rows.push_back(std::move(safe));
            addButtons(rows, showsLogin);
        }
        std::vector<EntryDetailsTVCSection> sections {std::move(main)};
        for (std::int64_t index = 0; index < static_cast<std::int64_t>(m_entry.sections.size()); ++index)
            sections.push_back(customSection(index));
        if (m_typing) {
            EntryDetailsTVCRow add = rowFor(MenuSource::addSection(static_cast<std::int64_t>(m_entry.sections.size()) - 1));
            add.kind = EntryDetailsTVCRow::Kind::button;
            add.title = String("Add Section");
            sections.push_back(EntryDetailsTVCSection {String(), {std::move(add)}});
        }
        return sections;
    }

private:
    bool isShowingHistory(const MenuSource& source) const
    {
        auto id = source.historyVisibilityID();
        auto visibility = m_state.historyVisibility();
        return id && visibility && visibility->isShowing(*id);
    }

    bool isConcealed(const MenuSource& source) const
    {
        auto id = source.revealConcealID();
        auto conceal = m_state.concealState();
        // Editing shows what is typed; masking applies to reading only.
        return id && conceal && conceal->isConcealed(*id);
    }

    void addSystemField(std::vector<EntryDetailsTVCRow>& rows, SystemID id, const String& value, bool showsWhenEmptyWhileEditing)
    {
        if (!hasText(value) && !(m_editing && (showsWhenEmptyWhileEditing || id == SystemID::website || id == SystemID::notes)))
            return;
        EntryDetailsTVCRow row = rowFor(MenuSource::systemField(id));
        row.title = EntrySystemField::titleText(id);
        row.value = value;
        row.isConcealed = isConcealed(row.source);
        row.isEditable = m_typing;
        row.isSecureInput = id == SystemID::password;
        rows.push_back(std::move(row));
    }

    // Under the field the person is typing a password or PIN into, when the state asks for it.
    void addGenerator(std::vector<EntryDetailsTVCRow>& rows, bool isPIN)
    {
        if (!m_showsInlineGenerator || !m_typing || rows.empty() || !m_editing->inlineGeneratorSource
            || *m_editing->inlineGeneratorSource != rows.back().source)
            return;
        EntryDetailsTVCRow row = rowFor(rows.back().source);
        row.kind = EntryDetailsTVCRow::Kind::generator;
        row.title = String(isPIN ? "PIN Generator" : "Password Generator");
        row.generator = m_generator;
        row.isPINGenerator = isPIN;
        rows.push_back(std::move(row));
    }

    void addPrevious(std::vector<EntryDetailsTVCRow>& rows, MenuSource source, String title, const String& value)
    {
        EntryDetailsTVCRow row = rowFor(std::move(source));
        row.title = std::move(title);
        row.value = value;
        row.isConcealed = isConcealed(row.source);
        rows.push_back(std::move(row));
    }

    void addOneTimePassword(std::vector<EntryDetailsTVCRow>& rows)
    {
        bool shown = hasText(m_entry.totpSecretKey)
            || (m_editing && m_editing->emptyTOTPField == EntryDetailsVCEmptyTOTPFieldVisibility::visible);
        if (!shown)
            return;
        EntryDetailsTVCRow row = rowFor(MenuSource::systemField(SystemID::totpSecretKey));
        row.title = EntrySystemField::titleText(SystemID::totpSecretKey);
        if (m_editing) {
            row.value = m_entry.totpSecretKey;
            row.isEditable = m_typing;
        } else {
            row.kind = EntryDetailsTVCRow::Kind::oneTimePassword;
            row.totp = parsedTOTP(m_entry.totpSecretKey);
            row.value = codeText(row.totp);
        }
        rows.push_back(std::move(row));
        if (!m_editing && isShowingHistory(MenuSource::systemField(SystemID::totpSecretKey)))
            for (const auto& previous : m_entry.totpSecretKeyHistory)
                addPrevious(rows, MenuSource::previousTOTPSecretKey(previous.id), String("Previous One-Time Password"), previous.text);
    }

    void addButtons(std::vector<EntryDetailsTVCRow>& rows, bool showsLogin)
    {
        auto button = [&](MenuSource::ShowHiddenKind kind, const char* title) {
            EntryDetailsTVCRow row = rowFor(MenuSource::showHidden(kind));
            row.kind = EntryDetailsTVCRow::Kind::button;
            row.title = String(title);
            // Setting AutoFill up happens on a settings page, which the program does not have yet.
            row.isEnabled = kind != MenuSource::ShowHiddenKind::autoFill;
            rows.push_back(std::move(row));
        };
        if (!showsLogin)
            button(MenuSource::ShowHiddenKind::emptyLoginFields, "Add Login Fields");
        if (!hasText(m_entry.totpSecretKey) && m_editing->emptyTOTPField == EntryDetailsVCEmptyTOTPFieldVisibility::hidden)
            button(MenuSource::ShowHiddenKind::emptyTOTPField, "Add One-Time Password");
        switch (m_editing->autoFillDomains) {
        case EntryDetailsVCAutoFillDomainsState::unsupportedSystem:
            break;
        case EntryDetailsVCAutoFillDomainsState::disabled:
            button(MenuSource::ShowHiddenKind::autoFill, "Set Up AutoFill");
            break;
        case EntryDetailsVCAutoFillDomainsState::hidden:
            button(MenuSource::ShowHiddenKind::autoFillDomains, "Add AutoFill Domains");
            break;
        case EntryDetailsVCAutoFillDomainsState::shown:
            break;
        }
    }

    EntryDetailsTVCSection customSection(std::int64_t sectionIndex)
    {
        const auto& section = m_entry.sections[static_cast<std::size_t>(sectionIndex)];
        EntryDetailsTVCSection result {section.title.value_or(String()), {}};
        if (m_editing || hasText(result.title)) {
            EntryDetailsTVCRow header = rowFor(MenuSource::section(sectionIndex));
            header.kind = EntryDetailsTVCRow::Kind::sectionHeader;
            header.title = String("Section Title");
            header.value = result.title;
            header.isEditable = m_typing;
            header.isMovable = m_movingSections;
            result.rows.push_back(std::move(header));
        }
        if (m_movingSections)
            return result;
        for (std::int64_t index = 0; index < static_cast<std::int64_t>(section.fields.size()); ++index) {
            const auto& field = section.fields[static_cast<std::size_t>(index)];
            EntryField::ID id {sectionIndex, index};
            if (!m_editing && !hasText(field.text))
                continue;
            EntryDetailsTVCRow row = rowFor(MenuSource::customField(id, field.category));
            row.title = field.title.value_or(titleText(field.category));
            row.value = field.text;
            row.isEditable = m_typing;
            row.isMovable = m_movingFields;
            if (m_typing) {
                row.titleSource = MenuSource::customFieldTitle(id, field.category);
                row.customTitle = field.title.value_or(String());
            }
            row.isSecureInput = field.category == EntryField::Category::password || field.category == EntryField::Category::pin;
            if (field.category == EntryField::Category::attachment) {
                row.kind = EntryDetailsTVCRow::Kind::attachment;
                row.value = String(hasText(field.text) ? "Attachment" : "");
                row.isDraggable = hasText(field.text) && !m_movingFields;
            } else if (field.category == EntryField::Category::oneTimePassword && !m_editing) {
                row.kind = EntryDetailsTVCRow::Kind::oneTimePassword;
                row.totp = parsedTOTP(field.text);
                row.value = codeText(row.totp);
            } else {
                row.isConcealed = !m_editing && isConcealed(row.source);
            }
            bool showsHistory = !m_editing && isShowingHistory(row.source);
            result.rows.push_back(std::move(row));
            if (showsGenerator(field))
                addGenerator(result.rows, field.category == EntryField::Category::pin);
            if (showsHistory)
                for (const auto& previous : field.history)
                    addPrevious(result.rows, MenuSource::previousFieldValue(id, field.category, previous.id), String("Previous Value"),
                                previous.text);
        }
        if (m_typing) {
            EntryDetailsTVCRow add = rowFor(MenuSource::addField(sectionIndex));
            add.kind = EntryDetailsTVCRow::Kind::button;
            add.title = String("Add Field");
            result.rows.push_back(std::move(add));
        }
        return result;
    }

    const Entry& m_entry;
    const EntryDetailsVCState& m_state;
    // Any editing case; inputs show only in the plain one, the others rearrange.
    const EntryDetailsVCState::EditingPayload* m_editing;
    bool m_typing;
    bool m_movingSections;
    bool m_movingFields;
    const PasswordGenerator& m_generator;
    bool m_showsInlineGenerator;
};

std::vector<EntryDetailsTVCSection> message(const char* text)
{
    EntryDetailsTVCRow row = rowFor(MenuSource::section(0));
    row.kind = EntryDetailsTVCRow::Kind::message;
    row.value = String(text);
    return {EntryDetailsTVCSection {String(), {std::move(row)}}};
}

} // namespace

Foundation::String EntryDetailsTVCRow::displayedValue() const
{
    if (isConcealed)
        return String("••••••••");
    return value;
}

std::vector<EntryDetailsTVCSection> entryDetailsSections(const EntryDetailsVCState& state, const PasswordGenerator& generator,
                                                         bool showsInlineGenerator)
{
    if (const auto* selection = state.as<EntryDetailsVCState::MultipleSelection>()) {
        auto sections = message("");
        sections[0].rows[0].value = String(std::to_string(selection->entryIDs.size()) + " Items Selected");
        return sections;
    }
    if (state.is<EntryDetailsVCState::Empty>())
        return message("No Item Selected");
    auto entry = state.entry();
    if (!entry)
        return message("This item no longer exists.");
    return Builder(*entry, state, generator, showsInlineGenerator).build();
}

} // namespace Shared
