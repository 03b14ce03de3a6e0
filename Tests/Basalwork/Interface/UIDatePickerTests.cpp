#include "Basalwork/Interface/UIDatePicker.hpp"
#include "Basalwork/Interface/UIPickerView.hpp"

#include "Platform/Foundation/ProcessInfo.hpp"

#include <any>
#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::make;
using UIKit::UIColor;
using UIKit::UIUserInterfaceStyle;

namespace {

class DatePickerSetup : public testing::Test {
protected:
    void TearDown() override { Foundation::ProcessInfo::processInfo()->setOperatingSystemVersion(saved); }

    Foundation::OperatingSystemVersion saved = Foundation::ProcessInfo::processInfo()->operatingSystemVersion();
};

bool highlightsToday(const UIKit::UIDatePicker& picker)
{
    return std::any_cast<bool>(picker.value("highlightsToday"));
}

} // namespace

TEST_F(DatePickerSetup, WheelsGoDarkFromSixteenOnAndGetWhiteTextBefore)
{
    Foundation::ProcessInfo::processInfo()->setOperatingSystemVersion({16, 0, 0});
    auto current = make<UIKit::UIDatePicker>();
    setupAsWheelsWithLightText(*current);
    EXPECT_EQ(current->preferredDatePickerStyle(), UIKit::UIDatePickerStyle::wheels);
    EXPECT_EQ(current->overrideUserInterfaceStyle(), UIUserInterfaceStyle::dark);
    EXPECT_EQ(textColor(*current), nullptr);
    EXPECT_FALSE(current->value("highlightsToday").has_value());

    Foundation::ProcessInfo::processInfo()->setOperatingSystemVersion({15, 7, 0});
    auto older = make<UIKit::UIDatePicker>();
    setupAsWheelsWithLightText(*older);
    EXPECT_EQ(older->preferredDatePickerStyle(), UIKit::UIDatePickerStyle::wheels);
    EXPECT_EQ(older->overrideUserInterfaceStyle(), UIUserInterfaceStyle::light);
    EXPECT_EQ(textColor(*older), UIColor::white());
    EXPECT_FALSE(highlightsToday(*older));
}

TEST(UIDatePicker, TextColourIsReadOnlyWhenTheKeyHoldsAColour)
{
    auto picker = make<UIKit::UIDatePicker>();
    picker->setValue(Foundation::String("white"), "textColor");
    EXPECT_EQ(textColor(*picker), nullptr);

    auto color = UIColor::withHue(0.5, 1, 1, 1);
    setTextColor(*picker, color);
    EXPECT_EQ(textColor(*picker), color);
    EXPECT_FALSE(highlightsToday(*picker));
    setTextColor(*picker, nullptr);
    EXPECT_EQ(textColor(*picker), nullptr);

    auto wheels = make<UIKit::UIPickerView>();
    setupWithLightText(*wheels);
    EXPECT_EQ(wheels->overrideUserInterfaceStyle(), UIUserInterfaceStyle::light);
    EXPECT_EQ(textColor(*wheels), UIColor::white());
    EXPECT_FALSE(wheels->value("highlightsToday").has_value());
}
