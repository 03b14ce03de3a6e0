#include "Shared/Screens/EntryDetailsTVC.InlineGeneratorV.hpp"

#include "Basalwork/Interface/LayoutInsets.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UISegmentedControl.hpp"
#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/UIStepper.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/NSLayoutDimension.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UITapGestureRecognizer.hpp"
#include "Platform/UIKit/UISwitch.hpp"

#include <algorithm>
#include <string>

namespace Shared {
namespace {

using Foundation::String;
using Kind = PasswordGenerator::Kind;

std::shared_ptr<UIKit::UIStackView> line(const std::vector<std::shared_ptr<UIKit::UIView>>& views)
{
    auto stack = Foundation::make<UIKit::UIStackView>();
    stack->setAxis(UIKit::NSLayoutConstraint::Axis::horizontal);
    stack->setSpacing(10);
    for (const auto& view : views)
        stack->addArrangedSubview(view);
    return stack;
}

std::shared_ptr<UIKit::UILabel> label(const char* text)
{
    auto label = Foundation::make<UIKit::UILabel>();
    label->setText(String(text));
    return label;
}

} // namespace

const std::vector<Foundation::String>& EntryDetailsTVCInlineGeneratorV::separators()
{
    static const std::vector<String> separators {String("-"), String("."), String(","), String("_"), String(" ")};
    return separators;
}

void EntryDetailsTVCInlineGeneratorV::initialize()
{
    UIView::initialize();
    setAccessibilityIdentifier(String("InlineGenerator"));
    std::weak_ptr<EntryDetailsTVCInlineGeneratorV> weak = sharedSelf(this);
    auto on = [weak](auto control, auto change) {
        std::weak_ptr weakControl = control;
        control->addAction(
            [weak, weakControl, change] {
                auto self = weak.lock();
                auto control = weakControl.lock();
                if (self && control)
                    self->report(change(*self, *control));
            },
            UIKit::UIControl::Event::valueChanged());
    };

    m_kindControl = Foundation::make<UIKit::UISegmentedControl>(std::vector<String> {String("Random"), String("Pronounceable"), String("Words")});
    m_kindControl->setAccessibilityIdentifier(String("InlineGenerator.kind"));
    on(m_kindControl, [](EntryDetailsTVCInlineGeneratorV& self, UIKit::UISegmentedControl& control) -> Change {
        auto settings = self.m_settings;
        settings.kind = static_cast<Kind>(std::clamp<std::int64_t>(control.selectedSegmentIndex(), 0, 2));
        return Settings {settings};
    });
    m_regenerateButton = Foundation::make<UIKit::UIButton>();
    m_regenerateButton->setTitle(String("Regenerate"), UIKit::UIControl::State::normal());
    m_regenerateButton->addAction(
        [weak] {
            if (auto self = weak.lock())
                self->report(Regenerate {});
        },
        UIKit::UIControl::Event::primaryActionTriggered());

    m_countLabel = Foundation::make<UIKit::UILabel>();
    m_stepper = Foundation::make<UIKit::UIStepper>();
    m_stepper->setAccessibilityIdentifier(String("InlineGenerator.length"));
    // As wide as it is drawn ("[-|+]"): a click on "+" lands in its upper half.
    m_stepper->widthAnchor().constraintEqualToConstant(5 * UIKit::TextGrid::columnWidth)->setIsActive(true);
    on(m_stepper, [](EntryDetailsTVCInlineGeneratorV& self, UIKit::UIStepper& stepper) -> Change {
        auto value = static_cast<std::int64_t>(stepper.value());
        // Words and digits are counted; characters make a length.
        auto kind = self.shownKind();
        if (kind == Kind::words || kind == Kind::pin)
            return Count {value};
        return Length {value};
    });
    m_numbersLabel = label("Numbers");
    m_numbersSwitch = Foundation::make<UIKit::UISwitch>();
    m_numbersSwitch->setAccessibilityIdentifier(String("InlineGenerator.numbers"));
    on(m_numbersSwitch, [](EntryDetailsTVCInlineGeneratorV&, UIKit::UISwitch& control) -> Change { return IncludesNumbers {control.isOn()}; });
    m_symbolsLabel = label("Symbols");
    m_symbolsSwitch = Foundation::make<UIKit::UISwitch>();
    m_symbolsSwitch->setAccessibilityIdentifier(String("InlineGenerator.symbols"));
    on(m_symbolsSwitch, [](EntryDetailsTVCInlineGeneratorV&, UIKit::UISwitch& control) -> Change { return IncludesSymbols {control.isOn()}; });
    // Choices rather than a text input: typing would take the keyboard from the password field.
    std::vector<String> titles;
    for (const auto& separator : separators())
        titles.push_back(separator == String(" ") ? String("Space") : separator);
    m_separatorControl = Foundation::make<UIKit::UISegmentedControl>(titles);
    m_separatorControl->setAccessibilityIdentifier(String("InlineGenerator.separator"));
    on(m_separatorControl, [](EntryDetailsTVCInlineGeneratorV&, UIKit::UISegmentedControl& control) -> Change {
        auto index = std::clamp<std::int64_t>(control.selectedSegmentIndex(), 0, static_cast<std::int64_t>(separators().size()) - 1);
        return Separator {separators()[static_cast<std::size_t>(index)]};
    });

    // A click on an option's name switches it, as a click on its switch does.
    for (const auto& [name, control] : {std::pair {m_numbersLabel, m_numbersSwitch}, std::pair {m_symbolsLabel, m_symbolsSwitch}}) {
        name->setIsUserInteractionEnabled(true);
        std::weak_ptr<UIKit::UISwitch> weakControl = control;
        name->addGestureRecognizer(Foundation::make<UIKit::UITapGestureRecognizer>([weakControl](UIKit::UIGestureRecognizer&) {
            if (auto control = weakControl.lock(); control && control->isEnabled()) {
                control->setIsOn(!control->isOn());
                control->sendActions(UIKit::UIControl::Event::valueChanged());
            }
        }));
    }

    auto stack = Foundation::make<UIKit::UIStackView>();
    stack->setAxis(UIKit::NSLayoutConstraint::Axis::vertical);
    stack->addArrangedSubview(line({m_kindControl, m_regenerateButton}));
    stack->addArrangedSubview(line({m_countLabel, m_stepper, m_numbersLabel, m_numbersSwitch, m_symbolsLabel, m_symbolsSwitch, m_separatorControl}));
    Basalwork::addSubviewWithEdgeContraints(*this, stack, Basalwork::LayoutInsets::withAll(0));
}

PasswordGenerator::Kind EntryDetailsTVCInlineGeneratorV::shownKind() const
{
    return m_isPIN ? Kind::pin : m_settings.kind;
}

void EntryDetailsTVCInlineGeneratorV::show(const PasswordGenerator& settings, bool isPIN)
{
    m_settings = settings;
    m_isPIN = isPIN;
    auto kind = shownKind();
    Basalwork::setIsVisible(*m_kindControl, !isPIN);
    m_kindControl->setSelectedSegmentIndex(kind == Kind::pin ? UIKit::UISegmentedControl::noSegment : static_cast<std::int64_t>(kind));
    auto length = m_settings.length(kind);
    m_countLabel->setText(String(PasswordGenerator::lengthTitle(kind).utf8() + ": " + std::to_string(length)));
    auto [minimum, maximum] = PasswordGenerator::lengthBounds(kind);
    m_stepper->setMinimumValue(static_cast<double>(minimum));
    m_stepper->setMaximumValue(static_cast<double>(maximum));
    m_stepper->setValue(static_cast<double>(length));
    bool usesCharacters = kind == Kind::random || kind == Kind::pronounceable;
    for (const std::shared_ptr<UIKit::UIView>& view :
         std::initializer_list<std::shared_ptr<UIKit::UIView>> {m_numbersLabel, m_numbersSwitch, m_symbolsLabel, m_symbolsSwitch})
        Basalwork::setIsVisible(*view, usesCharacters);
    m_numbersSwitch->setIsOn(m_settings.characters(kind).includesNumbers);
    m_symbolsSwitch->setIsOn(m_settings.characters(kind).includesSymbols);
    Basalwork::setIsVisible(*m_separatorControl, kind == Kind::words);
    auto separator = std::ranges::find(separators(), m_settings.words.separator);
    m_separatorControl->setSelectedSegmentIndex(separator == separators().end() ? UIKit::UISegmentedControl::noSegment
                                                                                : separator - separators().begin());
}

void EntryDetailsTVCInlineGeneratorV::report(const Change& change) const
{
    if (onChange)
        onChange(change);
}

} // namespace Shared
