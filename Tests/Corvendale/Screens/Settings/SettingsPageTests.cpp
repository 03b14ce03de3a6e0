#include "Tests/Corvendale/App/MainCoordinatorFixture.hpp"

#include "Corvendale/Screens/Settings/SettingsC.hpp"
#include "Corvendale/Screens/Settings/SettingsPageC.hpp"
#include "Corvendale/Screens/Settings/SettingsPageV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.hpp"
#include "Corvendale/Screens/Settings/SettingsV_HeaderV_Delegate.hpp"

#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Model/Settings.Appearance.hpp"

#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/UIView.AnimationRecorder.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <algorithm>

using Foundation::String;
using ColorScheme = Shared::Settings::Appearance::ColorScheme;

namespace {

// A page made the way every settings page is: one option list over a preference.
class ColorSchemeVDelegate : public Corvendale::SettingsV_HeaderV_Delegate {
public:
    virtual void didSelect(ColorScheme colorScheme) = 0;
};

class ColorSchemeV : public Corvendale::SettingsPageV {
public:
    struct Config {
        ColorScheme colorScheme;
    };

    void setDelegate(const std::shared_ptr<ColorSchemeVDelegate>& delegate)
    {
        m_delegate = delegate;
        headerV()->setDelegate(delegate);
    }
    void update(const Config& config) { colorSchemeV->setSelected(config.colorScheme); }

    std::shared_ptr<Corvendale::SettingsV::OptionSettingV<ColorScheme>> colorSchemeV;

protected:
    friend Foundation::Construct;
    explicit ColorSchemeV(const std::shared_ptr<ColorSchemeVDelegate>& delegate)
        : m_delegate(delegate)
    {
    }
    void initialize() override
    {
        colorSchemeV = Foundation::make<Corvendale::SettingsV::OptionSettingV<ColorScheme>>();
        SettingsPageV::initialize();
        headerV()->setTitle(String("Colors"));
        headerV()->setDelegate(m_delegate.lock());
        colorSchemeV->setTitleText(String("Color scheme"));
        std::weak_ptr<ColorSchemeV> weakSelf = sharedSelf(this);
        colorSchemeV->onSelection = [weakSelf](const ColorScheme& value) {
            auto self = weakSelf.lock();
            if (auto delegate = self ? self->m_delegate.lock() : nullptr)
                delegate->didSelect(value);
        };
        contentContainer()->addArrangedSubview(colorSchemeV);
    }

private:
    std::weak_ptr<ColorSchemeVDelegate> m_delegate;
};

class ColorSchemeC : public Corvendale::SettingsPageC<ColorSchemeV, UIKit::UIViewController>, public ColorSchemeVDelegate {
public:
    void didSelect(ColorScheme colorScheme) override { dependencies().preferenceStore->setColorScheme(colorScheme); }
    void didSelectDone(Corvendale::SettingsVHeaderV&) override { dismissFromDelegate(); }

protected:
    friend Foundation::Construct;
    using SettingsPageC::SettingsPageC;
    std::shared_ptr<ColorSchemeV> makePageView() override { return Foundation::make<ColorSchemeV>(sharedSelf(this)); }
    ColorSchemeV::Config makeConfig() override { return {dependencies().preferenceStore->colorScheme()}; }
};

class SettingsPages : public CorvendaleTests::MainCoordinatorFixture {
protected:
    void SetUp() override
    {
        MainCoordinatorFixture::SetUp();
        // The fixture's banner window is a plain window in front: taps go to the settings beneath it.
        if (auto banners = delegate->banners->view()->window())
            banners->setIsHidden(true);
        preferences()->setColorScheme(ColorScheme::matchSystem);
        show();
        coordinator->presentSettings(false);
        settle();
        settings = std::dynamic_pointer_cast<Corvendale::SettingsC>(coordinator->presentedViewController());
        ASSERT_NE(settings, nullptr);
        page = Foundation::make<ColorSchemeC>(settings);
        settings->present(page, false);
        settle();
        window->layoutIfNeeded();
    }
    void TearDown() override
    {
        preferences()->setColorScheme(ColorScheme::matchSystem);
        MainCoordinatorFixture::TearDown();
    }
    static const std::shared_ptr<Shared::PreferenceStore>& preferences() { return CorvendaleTests::inMemoryDependencies().preferenceStore; }
    std::optional<ColorScheme> shown() const { return page->customView()->colorSchemeV->selected(); }

    std::shared_ptr<Corvendale::SettingsC> settings;
    std::shared_ptr<ColorSchemeC> page;
};

TEST_F(SettingsPages, AChoiceGoesToTheStoreAndComesBackAsDoesAChangeMadeElsewhere)
{
    EXPECT_EQ(shown(), ColorScheme::matchSystem) << "the page opens on the stored value";
    UIKit::UIView::AnimationRecorder animations;
    driver.tap(page->customView()->colorSchemeV->optionVs()[2]);
    EXPECT_EQ(preferences()->colorScheme(), ColorScheme::alwaysDark);
    EXPECT_EQ(shown(), ColorScheme::alwaysDark);

    // Another window, or the extension, changes the preference while the page shows.
    preferences()->setColorScheme(ColorScheme::alwaysLight);
    settle();
    EXPECT_EQ(shown(), ColorScheme::alwaysLight);
    EXPECT_TRUE(std::ranges::any_of(animations.animations(), [](const auto& animation) { return animation.duration == 0.25; }))
        << "a change made elsewhere animates in";
}

TEST_F(SettingsPages, EscapeOnAPageClosesThePageAndLeavesTheSettingsOpen)
{
    ASSERT_TRUE(page->customView()->headerV()->isFirstResponder());
    driver.press(String("Escape"));
    TestSupport::advanceClock(1);
    EXPECT_EQ(settings->presentedViewController(), nullptr);
    EXPECT_EQ(coordinator->presentedViewController(), settings);

    settings->present(page, false);
    settle();
    window->layoutIfNeeded();
    driver.tap(page->customView()->headerV()->doneButton());
    TestSupport::advanceClock(1);
    EXPECT_EQ(settings->presentedViewController(), nullptr);
    EXPECT_EQ(coordinator->presentedViewController(), settings);
}

} // namespace
