#include "Corvendale/Screens/Settings/ItemDetailsSettingsV.hpp"

#include "Corvendale/Screens/Settings/ItemDetailsSettingsVDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.TextSettingV.hpp"

#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/UITextContentType.hpp"

namespace Corvendale {

using Foundation::String;

ItemDetailsSettingsV::ItemDetailsSettingsV(const std::shared_ptr<ItemDetailsSettingsVDelegate>& delegate)
    : m_delegate(delegate)
{
}

void ItemDetailsSettingsV::initialize()
{
    SettingsPageV::initialize();
    setAccessibilityIdentifier(String("ItemDetailsSettingsV"));
    setupPage();
}

void ItemDetailsSettingsV::setDelegate(const std::shared_ptr<ItemDetailsSettingsVDelegate>& delegate)
{
    m_delegate = delegate;
    headerV()->setDelegate(delegate);
}

void ItemDetailsSettingsV::setupPage()
{
    headerV()->setTitle(String("Item Details"));
    headerV()->setDelegate(m_delegate.lock());
    auto self = sharedSelf(this);

    m_defaultUsernameV = Foundation::make<SettingsVTextSettingV>();
    m_defaultUsernameV->setTitleText(String("When adding a new login, automatically set the username to:"));
    m_defaultUsernameV->setPlaceholderText(String("jane.appleseed@example.com"));
    m_defaultUsernameV->setTextContentType(UIKit::UITextContentType::emailAddress());
    std::weak_ptr<ItemDetailsSettingsV> weakSelf = self;
    // The row reports every edit and the clear button alike (none for an emptied field).
    m_defaultUsernameV->onUpdate = [weakSelf](const std::optional<String>& text) {
        auto page = weakSelf.lock();
        if (auto delegate = page ? page->delegate() : nullptr)
            delegate->didUpdate(text, *page);
    };
    contentContainer()->addArrangedSubview(m_defaultUsernameV);

    m_concealingV = addOptionList<Settings::Auth::Concealing>(self, String("When displaying item details, conceal passwords, passcodes, and PINs:"));
    m_largeViewerPositionsV = addOptionList<Settings::LargeViewer::Positions>(self, String("When using the Large Viewer, show character positions:"));
    m_inlineGeneratorV
        = addOptionList<Settings::ItemDetails::InlineGenerator>(self, String("When editing passwords, passcodes, or PINS, show password generator:"));
}

void ItemDetailsSettingsV::update(const Config& config)
{
    m_defaultUsernameV->setValueText(config.defaultUsername);
    m_concealingV->setSelected(config.concealing);
    m_largeViewerPositionsV->setSelected(config.largeViewerPositions);
    m_inlineGeneratorV->setSelected(config.inlineGenerator);
}

} // namespace Corvendale
