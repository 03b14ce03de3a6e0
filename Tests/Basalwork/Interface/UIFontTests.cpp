#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UIFontDescriptor.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::make;
using UIKit::UIFont;
using UIKit::UIFontDescriptor;

TEST(UIFonts, WeightVariantsReplaceTheTraitsAndKeepSizeAndStyle)
{
    auto italicBody = italicized(UIFonts::body());
    auto heavyBody = heavy(italicBody);
    EXPECT_EQ(heavyBody->pointSize(), 17);
    EXPECT_EQ(textStyle(*heavyBody->fontDescriptor()), UIFont::TextStyle::body());
    // Only the weight is left: the italic trait is gone.
    EXPECT_EQ(heavyBody->fontDescriptor()->fontAttributes().traits,
              (UIFontDescriptor::Traits {UIFont::Weight::heavy(), std::nullopt}));
    EXPECT_EQ(semibold(UIFonts::title2())->fontDescriptor()->fontAttributes().traits->weight, UIFont::Weight::semibold());
    EXPECT_EQ(ultraLight(UIFonts::caption1())->pointSize(), 12);
}

TEST(UIFonts, ItalicAndDesignVariantsFallBackToTheFontItself)
{
    auto headline = UIFonts::headline();
    auto italic = italicized(headline);
    EXPECT_EQ(italic->fontDescriptor()->symbolicTraits(), UIFontDescriptor::SymbolicTraits::traitItalic());
    EXPECT_EQ(italic->pointSize(), headline->pointSize());
    EXPECT_EQ(monospaced(headline)->fontDescriptor()->fontAttributes().design,
              UIFontDescriptor::SystemDesign::monospaced());

    UIFontDescriptor::Attributes named;
    named.name = "Courier";
    auto courier = make<UIFont>(make<UIFontDescriptor>(named), 14.0);
    EXPECT_EQ(italicized(courier), courier);
    EXPECT_EQ(rounded(courier), courier);
    EXPECT_EQ(textStyle(*courier->fontDescriptor()), std::nullopt);
}
