#include "Corvendale/Screens/LargeViewer/LargeViewerV.hpp"

#include "Tests/Corvendale/App/AppFixture.hpp"

#include "Shared/Model/Settings.LargeViewer.hpp"
#include "Shared/Screens/UIColor.hpp"
#include "Shared/Stores/PreferenceStore.hpp"

#include "Platform/Foundation/NSAttributedString.Key.hpp"
#include "Platform/UIKit/NSString.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.hpp"

#include <gtest/gtest.h>

#include <string>

namespace CorvendaleTests {
namespace {

using Corvendale::LargeViewerV;
using Content = LargeViewerV::Content;
using Positions = Shared::Settings::LargeViewer::Positions;
using UIKit::CGFloat;

// The viewer's lines laid out in a view of the given size, without layout margins, at the regular size
// (120 points to start with).
class LargeViewerVLayout : public testing::Test {
protected:
    static constexpr CGFloat side = 27;
    static constexpr CGFloat top = 18;
    static constexpr CGFloat bottom = 24;

    void SetUp() override { setPositions(Positions::never); }

    static void setPositions(Positions positions) { inMemoryDependencies().preferenceStore->setLargeViewerPositions(positions); }

    // The width of one character at a point size, as the layout measures it.
    static CGFloat characterWidth(CGFloat pointSize)
    {
        return UIKit::size("a", {{Foundation::NSAttributedString::Key::font(), UIKit::UIFont::systemFont(pointSize)}}).width;
    }

    static LargeViewerV::Config layout(const Content& content, CGFloat contentWidth, CGFloat contentHeight = 2000)
    {
        auto view = Foundation::make<LargeViewerV>(content);
        view->setLayoutMargins({0, 0, 0, 0});
        view->setFrame({{0, 0}, {contentWidth + 2 * side, contentHeight + top + bottom}});
        view->updateText();
        return view->makeConfig();
    }

    static std::vector<std::string> lines(const LargeViewerV::Config& config)
    {
        std::vector<std::string> result;
        for (const auto& line : config.lineConfigs) {
            std::string text;
            for (const auto& cell : line.charConfigs)
                text += cell.character.utf8();
            result.push_back(text);
        }
        return result;
    }

    static CGFloat pointSize(const LargeViewerV::Config::CharConfig& cell)
    {
        return std::any_cast<std::shared_ptr<UIKit::UIFont>>(cell.attributes.at(Foundation::NSAttributedString::Key::font()))->pointSize();
    }

    static std::shared_ptr<UIKit::UIColor> color(const LargeViewerV::Config::CharConfig& cell)
    {
        return std::any_cast<std::shared_ptr<UIKit::UIColor>>(cell.attributes.at(Foundation::NSAttributedString::Key::foregroundColor()));
    }
};

TEST_F(LargeViewerVLayout, BalancesALineMuchLongerThanTheOthersAtItsBoundaries)
{
    // Greedy lines "abc def-" and "gh"; the first is wider than 1.5 times their mean and holds a space.
    const auto config = layout(Content::text("abc def-gh"), 8 * characterWidth(120));
    EXPECT_EQ(lines(config), (std::vector<std::string> {"abc", "def-gh"}));
    EXPECT_DOUBLE_EQ(pointSize(config.lineConfigs[0].charConfigs[0]), 120);

    // Lines of 10, 10 and 40 characters: the long one is split again only where it has a boundary.
    const std::string ten(10, 'a');
    const std::string withSpace = std::string(19, 'c') + " " + std::string(20, 'c');
    EXPECT_EQ(lines(layout(Content::text(ten + "\n" + ten + "\n" + withSpace), 40 * characterWidth(120))).size(), 4u);
    EXPECT_EQ(lines(layout(Content::text(ten + "\n" + ten + "\n" + std::string(40, 'c')), 40 * characterWidth(120))).size(), 3u);
}

TEST_F(LargeViewerVLayout, PlacesCellsCentredAndShrinksWhatDoesNotFit)
{
    const CGFloat width = characterWidth(120);
    const auto config = layout(Content::text("ab"), 10 * width, 1000);
    ASSERT_EQ(config.lineConfigs.size(), 1u);
    const auto& cells = config.lineConfigs[0].charConfigs;
    EXPECT_NEAR(cells[0].frame.minX(), side + 4 * width, 1e-6);
    EXPECT_NEAR(cells[1].frame.minX(), cells[0].frame.maxX(), 1e-6);
    EXPECT_NEAR(config.contentContainerFrame.width(), 2 * width + 2 * side, 1e-6);
    EXPECT_EQ(config.layoutMargins, (UIKit::UIEdgeInsets {top, side, bottom, side}));

    // A one-time code never wraps: it gets smaller instead.
    const auto code = layout(Content::totp(Shared::TOTP("JBSWY3DPEHPK3PXP")), 5 * width);
    ASSERT_EQ(code.lineConfigs.size(), 1u);
    EXPECT_EQ(code.lineConfigs[0].charConfigs.size(), 7u);
    EXPECT_LT(pointSize(code.lineConfigs[0].charConfigs[0]), 120);
}

TEST_F(LargeViewerVLayout, ColoursDigitsAndSymbolsByTheSecretsMode)
{
    const auto primary = Shared::UIColors::primaryTint();
    const auto secondary = Shared::UIColors::secondaryTint();
    auto colors = [&](const Content& content) {
        std::vector<std::shared_ptr<UIKit::UIColor>> result;
        const auto config = layout(content, 20 * characterWidth(120));
        for (const auto& cell : config.lineConfigs.at(0).charConfigs)
            result.push_back(color(cell));
        return result;
    };
    // A password with letters sets digits apart as well; a PIN of digits only its symbols; plain text nothing.
    EXPECT_EQ(colors(Content::password("a1-")), (std::vector {primary, secondary, secondary}));
    EXPECT_EQ(colors(Content::pin("1-2")), (std::vector {primary, secondary, primary}));
    EXPECT_EQ(colors(Content::text("a1-")), (std::vector {primary, primary, primary}));
}

TEST_F(LargeViewerVLayout, BreaksAtLineBreaksAndNumbersEveryShownCharacter)
{
    setPositions(Positions::passwordsAndPins);
    const auto config = layout(Content::password("a b\ncd"), 20 * characterWidth(120));
    EXPECT_EQ(lines(config), (std::vector<std::string> {"a b", "cd"}));
    std::vector<std::int64_t> positions;
    for (const auto& line : config.lineConfigs)
        for (const auto& cell : line.charConfigs) {
            ASSERT_TRUE(cell.positionConfig);
            positions.push_back(cell.positionConfig->position);
            EXPECT_NEAR(cell.positionConfig->frame.midX(), cell.frame.midX(), 1e-6);
            EXPECT_NEAR(cell.positionConfig->frame.minY(), cell.frame.maxY(), 1e-6);
        }
    EXPECT_EQ(positions, (std::vector<std::int64_t> {1, 2, 3, 4, 5}));

    // PINs are numbered only under that setting; unnumbered lines lose their outer spaces.
    setPositions(Positions::passwordsOnly);
    const auto pin = layout(Content::pin(" 12 "), 20 * characterWidth(120));
    EXPECT_EQ(lines(pin), (std::vector<std::string> {"12"}));
    EXPECT_FALSE(pin.lineConfigs[0].charConfigs[0].positionConfig);
}

TEST_F(LargeViewerVLayout, AnEmptyTextHasOnlyTheMarginsAsItsPanel)
{
    const auto config = layout(Content::text(""), 300, 300);
    EXPECT_TRUE(config.lineConfigs.empty());
    EXPECT_NEAR(config.contentContainerFrame.width(), 2 * side, 1e-6);
    EXPECT_NEAR(config.contentContainerFrame.height(), top + bottom, 1e-6);
}

TEST_F(LargeViewerVLayout, EndsForTextsThatNeverFit)
{
    // A thousand characters shrink until they fit.
    const auto long_ = layout(Content::password(std::string(1000, 'x')), 900, 500);
    std::size_t count = 0;
    for (const auto& line : long_.lineConfigs)
        count += line.charConfigs.size();
    EXPECT_EQ(count, 1000u);

    // No room at all: nothing to lay out.
    auto tiny = Foundation::make<LargeViewerV>(Content::text("x"));
    tiny->setFrame({0, 0, 1, 1});
    tiny->updateText();
    EXPECT_TRUE(tiny->makeConfig().lineConfigs.empty());

    // Narrower than one character even at the smallest size: one character a line, clipped by the view.
    const auto narrow = layout(Content::text("abc"), 1, 1000);
    EXPECT_EQ(lines(narrow), (std::vector<std::string> {"a", "b", "c"}));
    EXPECT_LE(pointSize(narrow.lineConfigs[0].charConfigs[0]), LargeViewerV::minimumPointSize);
}

} // namespace
} // namespace CorvendaleTests
