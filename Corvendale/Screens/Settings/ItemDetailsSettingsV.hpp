#pragma once

#include "Corvendale/Screens/Settings/SettingsPageV.hpp"

#include "Shared/Model/Settings.Auth.hpp"
#include "Shared/Model/Settings.ItemDetails.hpp"
#include "Shared/Model/Settings.LargeViewer.hpp"

#include "Platform/Foundation/String.hpp"

#include <memory>
#include <optional>

namespace Corvendale {

class ItemDetailsSettingsVDelegate;
class SettingsVTextSettingV;
template <Shared::SettingType T>
class SettingsVOptionSettingV;

// The item details page: the user name new logins get, whether secrets are concealed when an item
// shows, under which secrets the large-type viewer numbers the characters, and where the password
// generator shows while a password is edited.
class ItemDetailsSettingsV : public SettingsPageV {
public:
    using Settings = Shared::Settings;
    struct Config {
        std::optional<Foundation::String> defaultUsername;
        Settings::Auth::Concealing concealing;
        Settings::LargeViewer::Positions largeViewerPositions;
        Settings::ItemDetails::InlineGenerator inlineGenerator;
    };

    std::shared_ptr<ItemDetailsSettingsVDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<ItemDetailsSettingsVDelegate>& delegate);

    const std::shared_ptr<SettingsVTextSettingV>& defaultUsernameV() const { return m_defaultUsernameV; }
    const std::shared_ptr<SettingsVOptionSettingV<Settings::Auth::Concealing>>& concealingV() const { return m_concealingV; }
    const std::shared_ptr<SettingsVOptionSettingV<Settings::LargeViewer::Positions>>& largeViewerPositionsV() const
    {
        return m_largeViewerPositionsV;
    }
    const std::shared_ptr<SettingsVOptionSettingV<Settings::ItemDetails::InlineGenerator>>& inlineGeneratorV() const { return m_inlineGeneratorV; }

    void update(const Config& config);
    using SettingsPageV::update;

protected:
    friend Foundation::Construct;
    explicit ItemDetailsSettingsV(const std::shared_ptr<ItemDetailsSettingsVDelegate>& delegate);
    void initialize() override;
    void setupPage();

private:
    std::weak_ptr<ItemDetailsSettingsVDelegate> m_delegate;
    std::shared_ptr<SettingsVTextSettingV> m_defaultUsernameV;
    std::shared_ptr<SettingsVOptionSettingV<Settings::Auth::Concealing>> m_concealingV;
    std::shared_ptr<SettingsVOptionSettingV<Settings::LargeViewer::Positions>> m_largeViewerPositionsV;
    std::shared_ptr<SettingsVOptionSettingV<Settings::ItemDetails::InlineGenerator>> m_inlineGeneratorV;
};

} // namespace Corvendale
