#include "Shared/Screens/PasswordGeneratorC.hpp"

#include "Shared/Screens/PasswordGeneratorCDelegate.hpp"
#include "Shared/Screens/PasteboardCoordinator.hpp"
#include "Shared/Screens/UIView.hpp"

#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UISegmentedControl.hpp"
#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/UIStepper.hpp"
#include "Platform/UIKit/UISwitch.hpp"
#include "Platform/UIKit/UITextField.hpp"

#include <algorithm>
#include <string>

namespace Shared {
namespace {

using Foundation::String;
using Kind = PasswordGenerator::Kind;

const bool registered = [] {
    Foundation::MethodTable::add(Foundation::Selector("handleCancelCommand"), &PasswordGeneratorC::handleCancelCommand);
    Foundation::MethodTable::add(Foundation::Selector("handleDoneCommand"), &PasswordGeneratorC::handleDoneCommand);
    Foundation::MethodTable::add(Foundation::Selector("handleCopyCommand"), &PasswordGeneratorC::handleCopyCommand);
    return true;
}();

std::shared_ptr<UIKit::UIStackView> row(const char* title, const std::shared_ptr<UIKit::UIView>& control)
{
    auto label = Foundation::make<UIKit::UILabel>();
    label->setText(String(title));
    auto stack = Foundation::make<UIKit::UIStackView>();
    stack->setAxis(UIKit::NSLayoutConstraint::Axis::horizontal);
    stack->setSpacing(10);
    stack->addArrangedSubview(label);
    stack->addArrangedSubview(control);
    return stack;
}

} // namespace

PasswordGeneratorC::PasswordGeneratorC(std::shared_ptr<PasteboardCoordinator> pasteboardCoordinator, Mode mode, MenuSource menuSource,
                                       const std::shared_ptr<UIKit::UIView>& sourceView, const std::shared_ptr<PasswordGeneratorCDelegate>& delegate)
    : m_pasteboardCoordinator(std::move(pasteboardCoordinator))
    , m_mode(mode)
    , m_menuSource(std::move(menuSource))
    , m_sourceView(sourceView)
    , m_delegate(delegate)
{
    (void)registered;
    m_password = m_mode == Mode::pin ? m_settings.pin.generate() : m_settings.generate();
}

PasswordGeneratorC::PasswordGeneratorC(Foundation::NSCoder& coder)
    : UIViewController(coder)
    , m_mode(Mode::password)
    , m_menuSource(MenuSource::systemField(EntrySystemField::ID::password))
{
    Foundation::fatalError("init(coder:) has not been implemented");
}

void PasswordGeneratorC::setGeneratorSettings(const PasswordGenerator& settings)
{
    m_settings = settings;
    // A PIN is made by its own settings; the password kinds are the other three.
    if (m_settings.kind == Kind::pin && m_mode == Mode::password)
        m_settings.kind = Kind::random;
    // Stored settings may come from an older or damaged preference: show what is generated.
    for (auto kind : {Kind::random, Kind::pronounceable, Kind::words, Kind::pin})
        m_settings.setLength(m_settings.length(kind), kind);
    regenerate();
}

void PasswordGeneratorC::regenerate()
{
    m_password = m_mode == Mode::pin ? m_settings.pin.generate() : m_settings.generate();
    if (isViewLoaded())
        showSettings();
}

PasswordGenerator::Kind PasswordGeneratorC::lengthKind() const
{
    return m_mode == Mode::pin ? Kind::pin : m_settings.kind;
}

void PasswordGeneratorC::loadView()
{
    std::weak_ptr<PasswordGeneratorC> weak = sharedSelf(this);
    auto act = [weak](auto member) {
        return [weak, member] {
            if (auto self = weak.lock())
                ((*self).*member)();
        };
    };
    auto view = Foundation::make<UIKit::UIView>();
    view->setAccessibilityIdentifier(String("PasswordGeneratorC"));
    auto stack = Foundation::make<UIKit::UIStackView>();
    stack->setAxis(UIKit::NSLayoutConstraint::Axis::vertical);
    stack->setSpacing(10);

    m_passwordLabel = Foundation::make<UIKit::UILabel>();
    m_passwordLabel->setAccessibilityIdentifier(String("PasswordGeneratorC.password"));
    m_passwordLabel->setNumberOfLines(0);
    stack->addArrangedSubview(m_passwordLabel);

    m_kindControl = Foundation::make<UIKit::UISegmentedControl>(std::vector<String> {String("Random"), String("Pronounceable"), String("Words")});
    m_kindControl->setAccessibilityIdentifier(String("PasswordGeneratorC.kind"));
    m_kindControl->addAction(
        [weak] {
            auto self = weak.lock();
            if (!self)
                return;
            self->m_settings.kind = static_cast<Kind>(std::clamp<std::int64_t>(self->m_kindControl->selectedSegmentIndex(), 0, 2));
            self->regenerate();
        },
        UIKit::UIControl::Event::valueChanged());
    stack->addArrangedSubview(m_kindControl);

    m_lengthLabel = Foundation::make<UIKit::UILabel>();
    m_lengthStepper = Foundation::make<UIKit::UIStepper>();
    m_lengthStepper->setAccessibilityIdentifier(String("PasswordGeneratorC.length"));
    m_lengthStepper->addAction(
        [weak] {
            if (auto self = weak.lock()) {
                self->m_settings.setLength(static_cast<std::int64_t>(self->m_lengthStepper->value()), self->lengthKind());
                self->regenerate();
            }
        },
        UIKit::UIControl::Event::valueChanged());
    auto lengthRow = Foundation::make<UIKit::UIStackView>();
    lengthRow->setAxis(UIKit::NSLayoutConstraint::Axis::horizontal);
    lengthRow->setSpacing(10);
    lengthRow->addArrangedSubview(m_lengthLabel);
    lengthRow->addArrangedSubview(m_lengthStepper);
    stack->addArrangedSubview(lengthRow);

    auto toggle = [weak](bool PasswordGenerator::Characters::*member, std::shared_ptr<UIKit::UISwitch> control) {
        std::weak_ptr<UIKit::UISwitch> weakControl = control;
        control->addAction(
            [weak, member, weakControl] {
                auto self = weak.lock();
                auto control = weakControl.lock();
                if (!self || !control)
                    return;
                auto& characters = self->m_settings.kind == Kind::pronounceable ? self->m_settings.pronounceable : self->m_settings.random;
                characters.*member = control->isOn();
                self->regenerate();
            },
            UIKit::UIControl::Event::valueChanged());
        return control;
    };
    m_numbersSwitch = toggle(&PasswordGenerator::Characters::includesNumbers, Foundation::make<UIKit::UISwitch>());
    m_numbersSwitch->setAccessibilityIdentifier(String("PasswordGeneratorC.numbers"));
    m_numbersRow = row("Numbers", m_numbersSwitch);
    stack->addArrangedSubview(m_numbersRow);
    m_symbolsSwitch = toggle(&PasswordGenerator::Characters::includesSymbols, Foundation::make<UIKit::UISwitch>());
    m_symbolsSwitch->setAccessibilityIdentifier(String("PasswordGeneratorC.symbols"));
    m_symbolsRow = row("Symbols", m_symbolsSwitch);
    stack->addArrangedSubview(m_symbolsRow);

    m_separatorField = Foundation::make<UIKit::UITextField>();
    m_separatorField->setAccessibilityIdentifier(String("PasswordGeneratorC.separator"));
    m_separatorField->addAction(
        [weak] {
            if (auto self = weak.lock()) {
                self->m_settings.words.separator = self->m_separatorField->text();
                self->regenerate();
            }
        },
        UIKit::UIControl::Event::editingChanged());
    m_separatorRow = row("Separator", m_separatorField);
    stack->addArrangedSubview(m_separatorRow);

    auto buttons = Foundation::make<UIKit::UIStackView>();
    buttons->setAxis(UIKit::NSLayoutConstraint::Axis::horizontal);
    buttons->setSpacing(10);
    for (auto [title, action] : {std::pair {"Regenerate", act(&PasswordGeneratorC::regenerate)},
                                 std::pair {"Copy", act(&PasswordGeneratorC::handleCopyCommand)},
                                 std::pair {"Cancel", act(&PasswordGeneratorC::handleCancelCommand)},
                                 std::pair {"Done", act(&PasswordGeneratorC::handleDoneCommand)}}) {
        auto button = Foundation::make<UIKit::UIButton>();
        button->setTitle(String(title), UIKit::UIControl::State::normal());
        button->addAction(action, UIKit::UIControl::Event::primaryActionTriggered());
        buttons->addArrangedSubview(button);
    }
    stack->addArrangedSubview(buttons);
    addSubviewAsCenteredColumn(*view, stack, 20, 480);
    setView(view);
    showSettings();
}

void PasswordGeneratorC::showSettings()
{
    bool isPIN = m_mode == Mode::pin;
    Kind kind = m_settings.kind;
    m_passwordLabel->setText(m_password);
    Basalwork::setIsVisible(*m_kindControl, !isPIN);
    m_kindControl->setSelectedSegmentIndex(isPIN ? UIKit::UISegmentedControl::noSegment : static_cast<std::int64_t>(kind));
    auto length = m_settings.length(lengthKind());
    m_lengthLabel->setText(String(PasswordGenerator::lengthTitle(lengthKind()).utf8() + ": " + std::to_string(length)));
    auto [minimum, maximum] = PasswordGenerator::lengthBounds(lengthKind());
    m_lengthStepper->setMinimumValue(static_cast<double>(minimum));
    m_lengthStepper->setMaximumValue(static_cast<double>(maximum));
    m_lengthStepper->setValue(static_cast<double>(length));
    bool usesCharacters = !isPIN && kind != Kind::words;
    Basalwork::setIsVisible(*m_numbersRow, usesCharacters);
    Basalwork::setIsVisible(*m_symbolsRow, usesCharacters);
    const auto& characters = m_settings.characters(kind);
    m_numbersSwitch->setIsOn(characters.includesNumbers);
    m_symbolsSwitch->setIsOn(characters.includesSymbols);
    Basalwork::setIsVisible(*m_separatorRow, !isPIN && kind == Kind::words);
    if (m_separatorField->text() != m_settings.words.separator)
        m_separatorField->setText(m_settings.words.separator);
}

void PasswordGeneratorC::viewDidAppear(bool animated)
{
    UIViewController::viewDidAppear(animated);
    becomeFirstResponder();
}

std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> PasswordGeneratorC::keyCommands() const
{
    return std::vector {
        Foundation::make<UIKit::UIKeyCommand>(UIKit::UIKeyCommand::inputEscape(), UIKit::UIKeyModifierFlags {}, Foundation::Selector("handleCancelCommand")),
        Foundation::make<UIKit::UIKeyCommand>(String("c"), UIKit::UIKeyModifierFlags::command(), Foundation::Selector("handleCopyCommand")),
    };
}

void PasswordGeneratorC::handleCancelCommand()
{
    if (auto delegate = m_delegate.lock())
        delegate->didSelectCancel(*this);
}

void PasswordGeneratorC::handleDoneCommand()
{
    if (auto delegate = m_delegate.lock())
        delegate->didSelectDone(m_password, m_menuSource, *this);
}

void PasswordGeneratorC::handleCopyCommand()
{
    if (m_pasteboardCoordinator)
        m_pasteboardCoordinator->copy(m_password, true);
}

} // namespace Shared
