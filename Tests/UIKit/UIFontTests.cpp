#include "Platform/UIKit/UIFont.hpp"
#include "Platform/UIKit/UIFontDescriptor.hpp"

#include <gtest/gtest.h>

using namespace UIKit;
using Foundation::make;

TEST(UIFont, PreferredFontsCarryTheirStyleAtTheLargeSize)
{
    auto body = UIFont::preferredFont(UIFont::TextStyle::body());
    EXPECT_EQ(body->pointSize(), 17);
    EXPECT_EQ(body->fontDescriptor()->fontAttributes().textStyle, UIFont::TextStyle::body());
    EXPECT_EQ(UIFont::preferredFont(UIFont::TextStyle::largeTitle())->pointSize(), 34);
    EXPECT_EQ(UIFont::preferredFont(UIFont::TextStyle::caption2())->pointSize(), 11);
    auto headline = UIFont::preferredFont(UIFont::TextStyle::headline())->fontDescriptor()->fontAttributes();
    ASSERT_TRUE(headline.traits);
    EXPECT_EQ(headline.traits->weight, UIFont::Weight::semibold());
}

TEST(UIFont, AGivenSizeOverridesTheDescriptorsAndZeroKeepsIt)
{
    auto descriptor = UIFontDescriptor::preferredFontDescriptor(UIFont::TextStyle::footnote());
    auto resized = make<UIFont>(descriptor, 40.0);
    EXPECT_EQ(resized->pointSize(), 40);
    EXPECT_EQ(resized->fontDescriptor()->pointSize(), 40);
    EXPECT_EQ(descriptor->pointSize(), 13); // descriptors are immutable
    EXPECT_EQ(make<UIFont>(descriptor, 0.0)->pointSize(), 13);
}

TEST(UIFontDescriptor, AddedAttributesReplaceWholeAndNamedFacesHaveNoVariants)
{
    UIFontDescriptor::Attributes italicBold;
    italicBold.traits = UIFontDescriptor::Traits {UIFont::Weight::bold(), UIFontDescriptor::SymbolicTraits::traitItalic()};
    auto base = UIFontDescriptor::preferredFontDescriptor(UIFont::TextStyle::body())->addingAttributes(italicBold);

    // New traits replace the old ones whole: the italic trait does not survive.
    UIFontDescriptor::Attributes light;
    light.traits = UIFontDescriptor::Traits {UIFont::Weight::light(), std::nullopt};
    auto lightened = base->addingAttributes(light);
    EXPECT_EQ(lightened->fontAttributes().traits, light.traits);
    EXPECT_EQ(lightened->fontAttributes().textStyle, UIFont::TextStyle::body());

    // Symbolic traits are set exactly; the weight stays.
    auto boldOnly = base->withSymbolicTraits(UIFontDescriptor::SymbolicTraits::traitBold());
    ASSERT_NE(boldOnly, nullptr);
    EXPECT_EQ(boldOnly->symbolicTraits(), UIFontDescriptor::SymbolicTraits::traitBold());
    EXPECT_EQ(boldOnly->fontAttributes().traits->weight, UIFont::Weight::bold());

    UIFontDescriptor::Attributes named;
    named.name = "Courier";
    named.size = 12;
    auto face = make<UIFontDescriptor>(named);
    EXPECT_EQ(face->withSymbolicTraits(UIFontDescriptor::SymbolicTraits::traitItalic()), nullptr);
    EXPECT_EQ(face->withDesign(UIFontDescriptor::SystemDesign::rounded()), nullptr);
    EXPECT_EQ(base->withDesign(UIFontDescriptor::SystemDesign::rounded())->fontAttributes().design,
              UIFontDescriptor::SystemDesign::rounded());
}
