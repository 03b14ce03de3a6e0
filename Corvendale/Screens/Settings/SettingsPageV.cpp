#include "Corvendale/Screens/Settings/SettingsPageV.hpp"

#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"

#include "Shared/Screens/UIColor.hpp"
#include "Shared/Screens/UIKeyCommand.hpp"

#include "Basalwork/Interface/LayoutInsets.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"
#include "Basalwork/Interface/UserInteractionNotifyingWindow.hpp"

#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIScrollView.KeyboardDismissMode.hpp"
#include "Platform/UIKit/UIScrollView.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

namespace {

const bool registered = [] {
    Foundation::MethodTable::add(Foundation::Selector("didSelectDone"), &SettingsPageV::didSelectDone);
    return true;
}();

} // namespace

SettingsPageV::SettingsPageV()
    : UIView(UIKit::CGRect::zero())
{
}

void SettingsPageV::initialize()
{
    UIView::initialize();
    m_headerV = Foundation::make<SettingsVHeaderV>();
    m_scrollView = Foundation::make<UIKit::UIScrollView>();
    m_contentContainer = Foundation::make<UIKit::UIStackView>();
    setup();
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
    Basalwork::registerForKeyboardNotifications(std::static_pointer_cast<Basalwork::KeyboardNotificationHandling>(sharedSelf(this)));
}

void SettingsPageV::setup()
{
    Basalwork::addSubviewWithEdgeContraints(*this, m_headerV, Basalwork::LayoutInsets::zero(),
                                            [](const Basalwork::EdgeConstraints& constraints) { constraints.bottom()->setIsActive(false); });

    m_scrollView->setKeyboardDismissMode(UIKit::UIScrollView::KeyboardDismissMode::interactive);
    Basalwork::addSubviewWithEdgeContraints(*this, m_scrollView, Basalwork::LayoutInsets::zero(),
                                            [](const Basalwork::EdgeConstraints& constraints) { constraints.top()->setIsActive(false); });
    UIKit::NSLayoutConstraint::activate({m_scrollView->topAnchor().constraintEqualTo(m_headerV->bottomAnchor())});

    // As wide as the scroll view, so the page scrolls only vertically.
    auto content = Foundation::make<UIKit::UIView>();
    content->setBackgroundColor(UIKit::UIColor::clear());
    Basalwork::addSubviewWithEdgeContraints(*m_scrollView, content);
    UIKit::NSLayoutConstraint::activate({content->widthAnchor().constraintEqualTo(m_scrollView->widthAnchor())});

    Basalwork::set(*m_contentContainer, UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill,
                   UIKit::UIStackView::Distribution::fill, 36);
    Basalwork::addSubviewWithMarginContraints(*content, m_contentContainer, Basalwork::LayoutInsets(8, 8, 0, 20));
}

void SettingsPageV::update(const Shared::Settings::Appearance& appearance)
{
    setBackgroundColor(Shared::UIColors::primaryBackground(appearance));
}

void SettingsPageV::keyboardWillShow(const Foundation::Notification& notification)
{
    Basalwork::adjustInsets(*m_scrollView, notification);
}

void SettingsPageV::keyboardWillHide(const Foundation::Notification& notification)
{
    Basalwork::adjustInsetsForKeyboardWillHide(*m_scrollView, notification);
}

void SettingsPageV::didHover()
{
    Basalwork::UserInteractionNotifyingWindow::handleUserInteractionEvent();
}

void SettingsPageV::scrollViewDidScroll(UIKit::UIScrollView&)
{
    Basalwork::UserInteractionNotifyingWindow::handleUserInteractionEvent();
}

std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> SettingsPageV::keyCommands() const
{
    return std::vector {Shared::UIKeyCommands::withInput(UIKit::UIKeyCommand::inputEscape(), {}, Foundation::Selector("didSelectDone"), true)};
}

void SettingsPageV::didSelectDone()
{
    m_headerV->didSelectDone();
}

} // namespace Corvendale
