#include "Corvendale/Screens/Settings/SettingsV.hpp"

#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"

#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Interface/LayoutInsets.hpp"
#include "Basalwork/Interface/UIView.hpp"
#include "Basalwork/Interface/UserInteractionNotifyingWindow.hpp"

#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

SettingsV::SettingsV()
    : UIView(UIKit::CGRect::zero())
{
}

void SettingsV::initialize()
{
    UIView::initialize();
    m_headerV = Foundation::make<HeaderV>();
    m_tableContainer = Foundation::make<UIKit::UIStackView>();
    setup();
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

void SettingsV::setup()
{
    setAccessibilityIdentifier(Foundation::String("SettingsV"));
    m_headerV->setTitle(Foundation::String("Settings"));
    Basalwork::addSubviewWithEdgeContraints(*this, m_headerV, Basalwork::LayoutInsets::zero(),
                                            [](const Basalwork::EdgeConstraints& constraints) { constraints.bottom()->setIsActive(false); });
    Basalwork::addSubviewWithEdgeContraints(*this, m_tableContainer, Basalwork::LayoutInsets::zero(),
                                            [](const Basalwork::EdgeConstraints& constraints) { constraints.top()->setIsActive(false); });
    UIKit::NSLayoutConstraint::activate({m_tableContainer->topAnchor().constraintEqualTo(m_headerV->bottomAnchor())});
}

void SettingsV::update(const Shared::Settings::Appearance& appearance)
{
    setBackgroundColor(Shared::UIColors::primaryBackground(appearance));
}

void SettingsV::didHover()
{
    Basalwork::UserInteractionNotifyingWindow::handleUserInteractionEvent();
}

} // namespace Corvendale
