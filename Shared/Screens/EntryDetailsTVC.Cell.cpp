#include "Shared/Screens/EntryDetailsTVC.Cell.hpp"

#include "Shared/Model/Entry.hpp"
#include "Shared/Model/TimeStepNotifier.hpp"
#include "Shared/Screens/EntryDetailsTVC.ReorderControl.hpp"
#include "Shared/Screens/FileURLInput.hpp"
#include "Shared/Screens/TimeStepView.hpp"

#include "Basalwork/Interface/LayoutInsets.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/UISwitch.hpp"
#include "Platform/UIKit/UITextField.hpp"

namespace Shared {

using Foundation::String;
using Kind = EntryDetailsTVCRow::Kind;

namespace {

constexpr std::size_t maximumTagSuggestions = 5;

} // namespace

void EntryDetailsTVCCell::initialize()
{
    UITableViewCell::initialize();
    std::weak_ptr<EntryDetailsTVCCell> weak = sharedSelf(this);
    auto on = [weak](auto member, auto... then) {
        return [weak, member, then...] {
            if (auto self = weak.lock(); self && self->m_row && self->m_handlers.*member)
                (self->m_handlers.*member)(*self->m_row, then(*self)...);
        };
    };

    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_valueLabel = Foundation::make<UIKit::UILabel>();
    m_valueLabel->setNumberOfLines(0);
    auto onTitle = [weak](auto member, auto... then) {
        return [weak, member, then...] {
            auto self = weak.lock();
            auto row = self ? self->titleRow() : std::nullopt;
            if (row && self->m_handlers.*member)
                (self->m_handlers.*member)(*row, then(*self)...);
        };
    };
    m_customTitleField = Foundation::make<UIKit::UITextField>();
    m_customTitleField->addAction(onTitle(&Handlers::beginEditing), UIKit::UIControl::Event::editingDidBegin());
    m_customTitleField->addAction(onTitle(&Handlers::endEditing), UIKit::UIControl::Event::editingDidEnd());
    m_customTitleField->addAction(onTitle(&Handlers::textChange, [](EntryDetailsTVCCell& cell) { return cell.m_customTitleField->text(); }),
                                  UIKit::UIControl::Event::editingChanged());
    m_customTitleField->addAction(onTitle(&Handlers::returnKey), UIKit::UIControl::Event::primaryActionTriggered());
    m_textField = Foundation::make<UIKit::UITextField>();
    m_textField->addAction(on(&Handlers::beginEditing), UIKit::UIControl::Event::editingDidBegin());
    m_textField->addAction(on(&Handlers::endEditing), UIKit::UIControl::Event::editingDidEnd());
    m_textField->addAction(on(&Handlers::textChange, [](EntryDetailsTVCCell& cell) { return cell.m_textField->text(); }),
                           UIKit::UIControl::Event::editingChanged());
    // Return in a field of several lines starts a new line there rather than moving on.
    m_textField->addAction(
        [weak, advance = on(&Handlers::returnKey)] {
            auto self = weak.lock();
            if (self && self->takesSeveralLines()) {
                self->m_textField->insertText(String("\n"));
                return;
            }
            advance();
        },
        UIKit::UIControl::Event::primaryActionTriggered());
    // The tags on offer follow what is typed, and go when the field is left.
    for (auto event : {UIKit::UIControl::Event::editingDidBegin(), UIKit::UIControl::Event::editingChanged(), UIKit::UIControl::Event::editingDidEnd()})
        m_textField->addAction(
            [weak] {
                if (auto self = weak.lock())
                    self->showTagSuggestions();
            },
            event);
    m_tagSuggestions = Foundation::make<UIKit::UIStackView>();
    m_tagSuggestions->setAxis(UIKit::NSLayoutConstraint::Axis::horizontal);
    m_tagSuggestions->setSpacing(10);
    m_tagSuggestions->setIsHidden(true);
    m_switch = Foundation::make<UIKit::UISwitch>();
    m_switch->addAction(on(&Handlers::toggle, [](EntryDetailsTVCCell& cell) { return cell.m_switch->isOn(); }),
                        UIKit::UIControl::Event::valueChanged());
    m_button = Foundation::make<UIKit::UIButton>();
    m_button->addAction(on(&Handlers::button), UIKit::UIControl::Event::primaryActionTriggered());
    m_timeStepView = Foundation::make<TimeStepView>();
    m_timeStepView->timeStepNotifier()->addObserver(std::dynamic_pointer_cast<TimeStepObserving>(sharedSelf(this)));
    m_fileURLInput = Foundation::make<FileURLInput>();
    m_fileURLInput->setDelegate(std::dynamic_pointer_cast<FileURLInputDelegate>(sharedSelf(this)));
    m_generatorV = Foundation::make<EntryDetailsTVCInlineGeneratorV>();
    m_generatorV->onChange = [weak](const EntryDetailsTVCInlineGeneratorV::Change& change) {
        if (auto self = weak.lock(); self && self->m_row && self->m_handlers.generator)
            self->m_handlers.generator(*self->m_row, change);
    };
    m_reorderControl = Foundation::make<EntryDetailsTVCReorderControl>();
    m_reorderControl->onDrop = [weak](const UIKit::UITouch& touch) {
        if (auto self = weak.lock(); self && self->m_row && self->m_handlers.drop)
            self->m_handlers.drop(*self->m_row, touch);
    };

    auto stack = Foundation::make<UIKit::UIStackView>();
    stack->setAxis(UIKit::NSLayoutConstraint::Axis::horizontal);
    stack->setSpacing(10);
    for (const std::shared_ptr<UIKit::UIView>& view : std::initializer_list<std::shared_ptr<UIKit::UIView>> {
             m_reorderControl, m_titleLabel, m_customTitleField, m_valueLabel, m_textField, m_tagSuggestions, m_fileURLInput, m_timeStepView,
             m_switch, m_button, m_generatorV})
        stack->addArrangedSubview(view);
    // A row's title, its countdown and a custom field's name keep their widths; the value takes the
    // room that is left and wraps in it. Left to equal priorities, the layout could as well give that
    // room to the title and squeeze the value into a column one character wide.
    const auto horizontal = UIKit::NSLayoutConstraint::Axis::horizontal;
    for (const std::shared_ptr<UIKit::UIView>& fixed : std::initializer_list<std::shared_ptr<UIKit::UIView>> {m_titleLabel, m_timeStepView, m_customTitleField}) {
        fixed->setContentHuggingPriority(UIKit::UILayoutPriority::defaultHigh(), horizontal);
        fixed->setContentCompressionResistancePriority(UIKit::UILayoutPriority {751}, horizontal);
    }
    Basalwork::addSubviewWithEdgeContraints(*contentView(), stack, Basalwork::LayoutInsets::withHorizontal(10, 0));
}

void EntryDetailsTVCCell::configure(const EntryDetailsTVCRow& row, Handlers handlers)
{
    m_row = row;
    m_handlers = std::move(handlers);
    bool isInput = row.isEditable && (row.kind == Kind::field || row.kind == Kind::sectionHeader);
    bool isFile = row.isEditable && row.kind == Kind::attachment;
    bool showsValue = !isInput && !isFile
        && (row.kind == Kind::field || row.kind == Kind::oneTimePassword || row.kind == Kind::attachment || row.kind == Kind::message
            || row.kind == Kind::sectionHeader);
    Basalwork::setIsVisible(*m_reorderControl, row.isMovable || row.isDraggable);
    m_reorderControl->setAccessibilityLabel(String(row.isDraggable ? "Drag Attachment" : "Reorder"));
    Basalwork::setIsVisible(*m_titleLabel,
                            row.kind == Kind::field || row.kind == Kind::oneTimePassword || row.kind == Kind::attachment || row.kind == Kind::toggle);
    m_titleLabel->setText(row.title);
    Basalwork::setIsVisible(*m_valueLabel, showsValue);
    m_valueLabel->setText(row.displayedValue());
    Basalwork::setIsVisible(*m_textField, isInput);
    if (isInput) {
        m_textField->setIsSecureTextEntry(row.isSecureInput);
        m_textField->setPlaceholder(row.title);
        // Tags come back tidied ("a," as "a"): while they are typed, the same tags keep what was typed.
        bool keepsTyping = isTags() && m_textField->isFirstResponder() && Entry::parsedTags(m_textField->text()) == Entry::parsedTags(row.value);
        if (m_textField->text() != row.value && !keepsTyping)
            m_textField->setText(row.value);
    }
    bool hasTitleInput = isInput && row.titleSource;
    Basalwork::setIsVisible(*m_customTitleField, hasTitleInput);
    if (hasTitleInput) {
        m_customTitleField->setPlaceholder(row.title);
        if (m_customTitleField->text() != row.customTitle)
            m_customTitleField->setText(row.customTitle);
    }
    if (!isInput || !isTags())
        Basalwork::setIsVisible(*m_tagSuggestions, false);
    Basalwork::setIsVisible(*m_fileURLInput, isFile);
    if (isFile) {
        m_fileURLInput->setPlaceholder(String("Drag here or choose file"));
        m_fileURLInput->setText(row.value.isEmpty() ? std::nullopt : std::optional(row.value));
    }
    Basalwork::setIsVisible(*m_switch, row.kind == Kind::toggle);
    m_switch->setIsOn(row.isOn);
    Basalwork::setIsVisible(*m_button, row.kind == Kind::button);
    m_button->setTitle(row.title, UIKit::UIControl::State::normal());
    m_button->setIsEnabled(row.isEnabled);
    Basalwork::setIsVisible(*m_timeStepView, row.kind == Kind::oneTimePassword);
    m_timeStepView->timeStepNotifier()->setTOTP(row.kind == Kind::oneTimePassword ? row.totp : std::nullopt);
    m_timeStepView->setMode(row.kind == Kind::oneTimePassword && row.totp ? TimeStepView::Mode::running : TimeStepView::Mode::noCode);
    Basalwork::setIsVisible(*m_generatorV, row.kind == Kind::generator);
    if (row.kind == Kind::generator && row.generator)
        m_generatorV->show(*row.generator, row.isPINGenerator);
    setAccessibilityLabel(row.title.isEmpty() ? row.value : row.title);
}

bool EntryDetailsTVCCell::hasInput() const
{
    return !m_textField->isHidden();
}

bool EntryDetailsTVCCell::hasTitleInput() const
{
    return !m_customTitleField->isHidden();
}

bool EntryDetailsTVCCell::activateInput(bool title)
{
    if (title)
        return hasTitleInput() && m_customTitleField->becomeFirstResponder();
    return hasInput() && m_textField->becomeFirstResponder();
}

std::optional<EntryDetailsTVCRow> EntryDetailsTVCCell::titleRow() const
{
    if (!m_row || !m_row->titleSource)
        return std::nullopt;
    auto row = *m_row;
    row.source = *m_row->titleSource;
    return row;
}

bool EntryDetailsTVCCell::takesSeveralLines() const
{
    if (!m_row)
        return false;
    if (const auto* field = m_row->source.as<MenuSource::CustomField>())
        return field->category == EntryFieldCategory::multilineText;
    return m_row->source == MenuSource::systemField(EntrySystemField::ID::notes);
}

bool EntryDetailsTVCCell::isTags() const
{
    return m_row && m_row->source == MenuSource::systemField(EntrySystemField::ID::tags);
}

std::vector<Foundation::String> EntryDetailsTVCCell::shownTagSuggestions() const
{
    std::vector<String> tags;
    if (m_tagSuggestions->isHidden())
        return tags;
    for (const auto& view : m_tagSuggestions->arrangedSubviews())
        if (auto button = std::dynamic_pointer_cast<UIKit::UIButton>(view))
            tags.push_back(button->title(UIKit::UIControl::State::normal()).value_or(String()));
    return tags;
}

void EntryDetailsTVCCell::showTagSuggestions()
{
    for (const auto& view : m_tagSuggestions->arrangedSubviews())
        view->removeFromSuperview();
    std::vector<String> suggestions;
    if (isTags() && m_textField->isFirstResponder() && m_handlers.tagSuggestions) {
        // What follows the last comma is being typed; the tags before it are taken.
        auto typed = m_textField->text();
        auto parts = typed.components(",");
        auto prefix = parts.empty() ? String() : parts.back().trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines());
        suggestions = m_handlers.tagSuggestions(prefix, Entry::parsedTags(typed));
    }
    if (suggestions.size() > maximumTagSuggestions)
        suggestions.resize(maximumTagSuggestions);
    std::weak_ptr<EntryDetailsTVCCell> weak = sharedSelf(this);
    for (const auto& tag : suggestions) {
        auto button = Foundation::make<UIKit::UIButton>();
        button->setTitle(tag, UIKit::UIControl::State::normal());
        button->addAction(
            [weak, tag] {
                if (auto self = weak.lock())
                    self->chooseTag(tag);
            },
            UIKit::UIControl::Event::primaryActionTriggered());
        m_tagSuggestions->addArrangedSubview(button);
    }
    Basalwork::setIsVisible(*m_tagSuggestions, !suggestions.empty());
}

void EntryDetailsTVCCell::chooseTag(const Foundation::String& tag)
{
    if (!m_row)
        return;
    // The tag takes the place of what was being typed; the next one can follow at once.
    auto parts = m_textField->text().components(",");
    if (!parts.empty())
        parts.pop_back();
    String text;
    for (const auto& part : parts)
        if (auto kept = part.trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines()); !kept.isEmpty())
            text += kept + ", ";
    text += tag + ", ";
    m_textField->setText(text);
    if (m_handlers.textChange)
        m_handlers.textChange(*m_row, text);
    showTagSuggestions();
}

void EntryDetailsTVCCell::showCode()
{
    if (!m_row || m_row->kind != Kind::oneTimePassword || !m_row->totp)
        return;
    try {
        m_row->value = m_row->totp->generateFormatted(Foundation::Date::now());
    } catch (const Foundation::Error&) {
        m_row->value = TOTP::invalidSecretKeyText();
    }
    m_valueLabel->setText(m_row->displayedValue());
}

void EntryDetailsTVCCell::timeStepNotifierDidBeginTimeStep(TimeStepNotifier&)
{
    showCode();
}

void EntryDetailsTVCCell::didSelect(const Foundation::URL& fileURL, FileURLInput&)
{
    if (m_row && m_handlers.fileSelect)
        m_handlers.fileSelect(*m_row, fileURL);
}

void EntryDetailsTVCCell::didSelectClear(FileURLInput&)
{
    if (m_row && m_handlers.fileClear)
        m_handlers.fileClear(*m_row);
}

void EntryDetailsTVCCell::didFailToSelectFileURL(const Foundation::ErrorPtr& error, FileURLInput&)
{
    if (m_row && m_handlers.fileFailure)
        m_handlers.fileFailure(*m_row, error);
}

void EntryDetailsTVCCell::didRequestFileURLPicker(FileURLInput&)
{
    if (m_row && m_handlers.filePicker)
        m_handlers.filePicker(*m_row);
}

} // namespace Shared
