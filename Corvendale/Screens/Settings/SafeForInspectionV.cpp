#include "Corvendale/Screens/Settings/SafeForInspectionV.hpp"

#include "Corvendale/Screens/Settings/SafeForInspectionV.CreatePasswordV.hpp"
#include "Corvendale/Screens/Settings/SafeForInspectionV.InstructionsV.hpp"
#include "Corvendale/Screens/Settings/SafeForInspectionVDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"

#include "Shared/Model/Global.hpp"
#include "Shared/Model/PasswordEntryReEntryState.hpp"
#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/PromotionButton.hpp"
#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

using Foundation::String;

SafeForInspectionV::SafeForInspectionV(const std::shared_ptr<SafeForInspectionVDelegate>& delegate)
    : m_delegate(delegate)
{
}

void SafeForInspectionV::initialize()
{
    m_explanationLabel = Foundation::make<UIKit::UILabel>();
    m_createPasswordV = Foundation::make<CreatePasswordV>();
    m_instructionsV = Foundation::make<InstructionsV>();
    m_actionContainer = Foundation::make<UIKit::UIStackView>();
    m_actionButton = Foundation::make<Basalwork::PromotionButton>();
    m_cancelButtonContainer = Foundation::make<UIKit::UIView>();
    m_cancelButton = Foundation::make<UIKit::UIButton>();
    // Titled before the base's appearance update sets its font.
    m_cancelButton->setTitle(String("Cancel"), UIKit::UIControl::State::normal());
    SettingsPageV::initialize();
    setAccessibilityIdentifier(String("SafeForInspectionV"));
    setupPage();
}

void SafeForInspectionV::setDelegate(const std::shared_ptr<SafeForInspectionVDelegate>& delegate)
{
    m_delegate = delegate;
    headerV()->setDelegate(delegate);
}

void SafeForInspectionV::setupPage()
{
    headerV()->setDelegate(m_delegate.lock());
    headerV()->setTitle(Shared::Global::SafeForInspection::mode());
    std::weak_ptr<SafeForInspectionV> weakSelf = sharedSelf(this);

    m_explanationLabel->setTextColor(Shared::UIColors::secondaryTint());
    m_explanationLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_explanationLabel);
    contentContainer()->addArrangedSubview(m_explanationLabel);

    auto toDelegate = [weakSelf](auto&& report) {
        if (auto self = weakSelf.lock())
            if (auto delegate = self->delegate())
                report(*delegate, *self);
    };
    m_createPasswordV->onEntryTextDidChange = [toDelegate](const String& text) {
        toDelegate([&](SafeForInspectionVDelegate& delegate, SafeForInspectionV& page) { delegate.didUpdateEntryText(text, page); });
    };
    m_createPasswordV->onReEntryTextDidChange = [toDelegate](const String& text) {
        toDelegate([&](SafeForInspectionVDelegate& delegate, SafeForInspectionV& page) { delegate.didUpdateReEntryText(text, page); });
    };
    m_createPasswordV->onReEntryTextDidReturn = [toDelegate] {
        toDelegate([](SafeForInspectionVDelegate& delegate, SafeForInspectionV& page) { delegate.didSelectAction(page); });
    };
    contentContainer()->addArrangedSubview(m_createPasswordV);
    contentContainer()->addArrangedSubview(m_instructionsV);

    Basalwork::set(*m_actionContainer, UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill,
                   UIKit::UIStackView::Distribution::fill, 8);
    contentContainer()->addArrangedSubview(m_actionContainer);
    m_actionButton->setTitleText(String("Setup"));
    m_actionButton->setTintColor(Shared::UIColors::primaryTint());
    m_actionButton->setCornerRadius(10);
    m_actionButton->setTitleTextColor(Shared::UIColors::primaryBackground());
    m_actionButton->setSubtitleTextColor(Shared::UIColors::primaryBackground());
    m_actionButton->setAccessibilityIdentifier(String("ActionButton"));
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_actionButton);
    m_actionButton->addAction(
        [weakSelf] {
            if (auto self = weakSelf.lock())
                self->didSelectAction();
        },
        UIKit::UIControl::Event::touchUpInside());
    m_actionContainer->addArrangedSubview(m_actionButton);

    m_cancelButtonContainer->setBackgroundColor(UIKit::UIColor::clear());
    m_cancelButton->setTintColor(Shared::UIColors::tertiaryTint());
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_cancelButton);
    m_cancelButton->addAction(
        [weakSelf] {
            if (auto self = weakSelf.lock())
                self->didSelectCancel();
        },
        UIKit::UIControl::Event::touchUpInside());
    m_cancelButtonContainer->addSubview(m_cancelButton);
    m_cancelButton->setTranslatesAutoresizingMaskIntoConstraints(false);
    UIKit::NSLayoutConstraint::activate({
        m_cancelButton->topAnchor().constraintEqualTo(m_cancelButtonContainer->topAnchor()),
        m_cancelButton->bottomAnchor().constraintEqualTo(m_cancelButtonContainer->bottomAnchor()),
        m_cancelButton->centerXAnchor().constraintEqualTo(m_cancelButtonContainer->centerXAnchor()),
    });
    m_actionContainer->addArrangedSubview(m_cancelButtonContainer);
}

void SafeForInspectionV::update(const Config& config)
{
    if (config)
        update(*config);
}

void SafeForInspectionV::update(const State& state)
{
    const auto* overview = state.as<State::Overview>();
    const auto* creating = state.as<State::CreatePassword>();
    const bool instructing = state.is<State::Instructions>();
    if (overview) {
        m_explanationLabel->setText(overview->explanationText);
        m_createPasswordV->resignTextInputs();
    } else if (creating) {
        m_createPasswordV->setEntryText(creating->entryText);
        m_createPasswordV->setReEntryText(creating->reEntryText);
    } else {
        m_createPasswordV->resignTextInputs();
    }
    Basalwork::setVisibilityAndAlpha(*m_explanationLabel, overview != nullptr);
    Basalwork::setVisibilityAndAlpha(*m_createPasswordV, creating != nullptr);
    Basalwork::setVisibilityAndAlpha(*m_instructionsV, instructing);
    Basalwork::setVisibilityAndAlpha(*m_cancelButtonContainer, creating != nullptr);

    String title("Setup");
    if (creating) {
        Shared::PasswordEntryReEntryState repetition(creating->entryText, creating->reEntryText);
        title = repetition.visit(Foundation::Overloaded {
            [](const Shared::PasswordEntryReEntryState::TooShort&) { return String("Too short"); },
            [](const Shared::PasswordEntryReEntryState::Mismatch&) { return String("Mismatch"); },
            [](const Shared::PasswordEntryReEntryState::Accepted&) { return String("Continue"); },
        });
    } else if (instructing) {
        title = "Reset " + Shared::Global::SafeForInspection::title() + " Password";
    }
    m_actionButton->setTitleText(title);
    m_actionButton->setSubtitleText(instructing ? std::optional(Shared::Global::SafeForInspection::mode() + " will need to be setup again")
                                                : std::nullopt);
}

void SafeForInspectionV::update(const Shared::Settings::Appearance& appearance)
{
    SettingsPageV::update(appearance);
    const auto& title3 = UIKit::UIFont::TextStyle::title3();
    const auto& subheadline = UIKit::UIFont::TextStyle::subheadline();
    m_explanationLabel->setFont(appearance.font(title3, false));
    m_actionButton->setTitleFont(Basalwork::semibold(appearance.font(title3, false)));
    m_actionButton->setSubtitleFont(appearance.font(subheadline, false));
    m_cancelButton->titleLabel()->setFont(appearance.font(subheadline, false));
}

void SafeForInspectionV::didSelectAction()
{
    if (auto delegate = m_delegate.lock())
        delegate->didSelectAction(*this);
}

void SafeForInspectionV::didSelectCancel()
{
    if (auto delegate = m_delegate.lock())
        delegate->didSelectCancel(*this);
}

} // namespace Corvendale
