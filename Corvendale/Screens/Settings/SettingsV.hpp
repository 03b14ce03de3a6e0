#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"
#include "Shared/Model/Setting.hpp"

#include "Platform/UIKit/UIView.hpp"

#include <memory>

namespace UIKit {
class UIStackView;
}

namespace Corvendale {

class SettingsVActionV;
class SettingsVDelegate;
class SettingsVHeaderV;
class SettingsVTextSettingV;
template <Shared::SettingType T>
class SettingsVOptionSettingV;

// The settings screen's root view: the header ("Settings", Done) above the list. It also names the
// widgets the settings pages are made of.
class SettingsV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    using HeaderV = SettingsVHeaderV;
    template <Shared::SettingType T>
    using OptionSettingV = SettingsVOptionSettingV<T>;
    using ActionV = SettingsVActionV;
    using TextSettingV = SettingsVTextSettingV;

    std::shared_ptr<SettingsVDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<SettingsVDelegate>& delegate) { m_delegate = delegate; }
    const std::shared_ptr<HeaderV>& headerV() const { return m_headerV; }
    const std::shared_ptr<UIKit::UIStackView>& tableContainer() const { return m_tableContainer; }

    void update(const Shared::Settings::Appearance& appearance) override;
    // Hovering counts as activity against the auto-lock timer.
    void didHover();

protected:
    friend Foundation::Construct;
    SettingsV();
    void initialize() override;
    virtual void setup();

private:
    std::weak_ptr<SettingsVDelegate> m_delegate;
    std::shared_ptr<HeaderV> m_headerV;
    std::shared_ptr<UIKit::UIStackView> m_tableContainer;
};

} // namespace Corvendale
