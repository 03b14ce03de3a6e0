#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"

#include "Corvendale/Screens/Settings/SettingsV_HeaderV_Delegate.hpp"

#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"
#include "Shared/Screens/UIKeyCommand.hpp"

#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

namespace {

const bool registered = [] {
    Foundation::MethodTable::add(Foundation::Selector("didSelectDone"), &SettingsVHeaderV::didSelectDone);
    return true;
}();

} // namespace

SettingsVHeaderV::SettingsVHeaderV()
    : UIView(UIKit::CGRect::zero())
{
}

void SettingsVHeaderV::initialize()
{
    UIView::initialize();
    m_contentContainer = Foundation::make<UIKit::UIStackView>();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_doneButton = Foundation::make<UIKit::UIButton>();
    setup();
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
    // Escape is a key command of the header, so the header holds the keyboard from the start.
    becomeFirstResponder();
}

void SettingsVHeaderV::didMoveToWindow()
{
    UIView::didMoveToWindow();
    // A header is made before it has a window to take the keyboard in: it takes it on arrival.
    if (window())
        becomeFirstResponder();
}

void SettingsVHeaderV::setup()
{
    setAccessibilityIdentifier(Foundation::String("HeaderV"));
    setBackgroundColor(UIKit::UIColor::clear());
    auto margins = layoutMargins();
    margins.left = 16;
    margins.right = 16;
    setLayoutMargins(margins);

    using Axis = UIKit::NSLayoutConstraint::Axis;
    Basalwork::set(*m_contentContainer, Axis::vertical, UIKit::UIStackView::Alignment::fill, UIKit::UIStackView::Distribution::fill, 0);
    Basalwork::addSubviewWithMarginContraints(*this, m_contentContainer, Basalwork::LayoutInsets::zero(),
                                              [](const Basalwork::EdgeConstraints& constraints) {
                                                  constraints.top()->setPriority(UIKit::UILayoutPriority {900});
                                              });
    UIKit::NSLayoutConstraint::activate({m_contentContainer->topAnchor().constraintGreaterThanOrEqualTo(topAnchor(), 16)});

    auto row = Basalwork::UIStackViews::withAxis(Axis::horizontal, UIKit::UIStackView::Alignment::firstBaseline,
                                                 UIKit::UIStackView::Distribution::fill, 8);
    m_contentContainer->addArrangedSubview(row);

    m_titleLabel->setTextColor(Shared::UIColors::primaryTint());
    m_titleLabel->setNumberOfLines(1);
    m_titleLabel->setContentHuggingPriority(UIKit::UILayoutPriority {900}, Axis::horizontal);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_titleLabel);
    row->addArrangedSubview(m_titleLabel);

    m_doneButton->setTitle(Foundation::String("Done"), UIKit::UIControl::State::normal());
    m_doneButton->setTintColor(Shared::UIColors::primaryTint());
    m_doneButton->setContentHuggingPriority(UIKit::UILayoutPriority {990}, Axis::horizontal);
    UIKit::NSLayoutConstraint::activate({m_doneButton->heightAnchor().constraintEqualToConstant(44)});
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_doneButton);
    std::weak_ptr<SettingsVHeaderV> weakSelf = sharedSelf(this);
    m_doneButton->addAction(
        [weakSelf] {
            if (auto self = weakSelf.lock())
                self->didSelectDone();
        },
        UIKit::UIControl::Event::touchUpInside());
    row->addArrangedSubview(m_doneButton);
}

std::optional<Foundation::String> SettingsVHeaderV::title() const
{
    return m_titleLabel->text();
}

void SettingsVHeaderV::setTitle(std::optional<Foundation::String> title)
{
    m_titleLabel->setText(std::move(title));
}

void SettingsVHeaderV::update(const Shared::Settings::Appearance& appearance)
{
    m_titleLabel->setFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::title1(), false)));
    if (auto label = m_doneButton->titleLabel())
        label->setFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::body(), false)));
}

std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> SettingsVHeaderV::keyCommands() const
{
    return std::vector {Shared::UIKeyCommands::withInput(UIKit::UIKeyCommand::inputEscape(), {}, Foundation::Selector("didSelectDone"), true)};
}

void SettingsVHeaderV::didSelectDone()
{
    if (auto delegate = m_delegate.lock())
        delegate->didSelectDone(*this);
}

} // namespace Corvendale
