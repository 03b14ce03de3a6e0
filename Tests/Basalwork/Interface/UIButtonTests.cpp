#include "Basalwork/Interface/UIActivityIndicatorView.hpp"
#include "Basalwork/Interface/UIButton.Configuration.hpp"
#include "Basalwork/Interface/UIButton.hpp"
#include "Basalwork/Interface/UIFont.hpp"

#include <any>
#include <gtest/gtest.h>
#include <vector>

using namespace Basalwork;
using Foundation::make;
using Foundation::NSAttributedString;
using UIKit::UIButton;
using UIKit::UIControl;

namespace {

// Notes whether animations were on whenever its title changes or it lays out.
class WatchedButton : public UIButton {
public:
    std::vector<bool> animationsEnabled;

    void setTitle(std::optional<Foundation::String> title, State forState) override
    {
        animationsEnabled.push_back(UIKit::UIView::areAnimationsEnabled());
        UIButton::setTitle(std::move(title), forState);
    }
    void layoutSubviews() override { animationsEnabled.push_back(UIKit::UIView::areAnimationsEnabled()); }

protected:
    friend Foundation::Construct;
    WatchedButton() = default;
};

class CountingSpinner : public UIKit::UIActivityIndicatorView {
public:
    int starts = 0;
    int stops = 0;
    void startAnimating() override
    {
        ++starts;
        UIActivityIndicatorView::startAnimating();
    }
    void stopAnimating() override
    {
        ++stops;
        UIActivityIndicatorView::stopAnimating();
    }

protected:
    friend Foundation::Construct;
    CountingSpinner() = default;
};

std::shared_ptr<UIKit::UIFont> fontOf(const NSAttributedString& text)
{
    return std::any_cast<std::shared_ptr<UIKit::UIFont>>(text.attributes(0).at(NSAttributedString::Key::font()));
}

} // namespace

TEST(UIButtonConfigurations, SetsWhatIsGivenAndLeavesThePlainStyleOtherwise)
{
    auto font = UIFonts::callout();
    auto red = UIKit::UIColor::withHue(0, 1, 1, 1);
    auto configuration = UIButtonConfigurations::withTitle("Upgrade", "Unlock everything", red, font);
    EXPECT_EQ(configuration.attributedTitle->string(), Foundation::String("Upgrade"));
    EXPECT_EQ(fontOf(*configuration.attributedTitle), font);
    ASSERT_NE(configuration.attributedSubtitle, nullptr);
    EXPECT_EQ(fontOf(*configuration.attributedSubtitle), font);
    EXPECT_EQ(configuration.baseForegroundColor, red);
    auto plain = UIButton::Configuration::plain();
    EXPECT_EQ(configuration.background, plain.background);
    EXPECT_EQ(configuration.cornerStyle, plain.cornerStyle);
    EXPECT_EQ(configuration.contentInsets, plain.contentInsets);

    auto framed = UIButtonConfigurations::withTitle("Done", std::nullopt, nullptr, nullptr, red,
                                                    UIButton::Configuration::CornerStyle::capsule, red, 2.0,
                                                    UIKit::NSDirectionalEdgeInsets {1, 2, 3, 4});
    EXPECT_EQ(framed.attributedSubtitle, nullptr);
    EXPECT_TRUE(framed.attributedTitle->attributes(0).empty()); // no font given, no font attribute
    EXPECT_EQ(framed.background.backgroundColor, red);
    EXPECT_EQ(framed.background.strokeColor, red);
    EXPECT_EQ(framed.background.strokeWidth, 2.0);
    EXPECT_EQ(framed.cornerStyle, UIButton::Configuration::CornerStyle::capsule);
    EXPECT_EQ(framed.contentInsets, (UIKit::NSDirectionalEdgeInsets {1, 2, 3, 4}));
}

TEST(UIButton, AnUnanimatedTitleChangeHappensAtOnceWithAnimationsOff)
{
    auto button = make<WatchedButton>();
    setTitle(*button, "Saved", UIControl::State::normal(), false);
    EXPECT_EQ(button->currentTitle(), Foundation::String("Saved"));
    EXPECT_EQ(button->animationsEnabled, (std::vector<bool> {false, false})); // title, then layout
    EXPECT_TRUE(UIKit::UIView::areAnimationsEnabled());

    button->animationsEnabled.clear();
    setTitle(*button, "Saving", UIControl::State::normal(), true);
    EXPECT_EQ(button->currentTitle(), Foundation::String("Saving"));
    EXPECT_EQ(button->animationsEnabled, (std::vector<bool> {true}));
}

TEST(UIActivityIndicatorView, ASpinnerIsStartedOrStoppedOnlyWhenItChanges)
{
    auto spinner = make<CountingSpinner>();
    setIsAnimating(*spinner, true);
    setIsAnimating(*spinner, true);
    EXPECT_TRUE(spinner->isAnimating());
    EXPECT_EQ(spinner->starts, 1);
    setIsAnimating(*spinner, false);
    setIsAnimating(*spinner, false);
    EXPECT_FALSE(spinner->isAnimating());
    EXPECT_EQ(spinner->stops, 1);
}
