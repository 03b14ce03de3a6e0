#include "Platform/Foundation/NSAttributedString.Key.hpp"
#include "Platform/Terminal/Canvas.hpp"
#include "Platform/Terminal/TerminalSession.hpp"
#include "Platform/UIKit/NSString.hpp"
#include "Platform/UIKit/UIBezierPath.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>

using namespace UIKit;
using Foundation::make;
using Foundation::String;

namespace {

// A panel with one character three cells large and one at body size.
class Drawn : public UIView {
public:
    void draw(const CGRect&) override
    {
        UIColor::white()->setFill();
        make<UIBezierPath>(CGRect {0, 0, 200, 100}, 10)->fill();
        using Key = Foundation::NSAttributedString::Key;
        UIKit::draw(String("A"), {100, 20}, {{Key::font(), UIFont::systemFont(51)}});
        UIKit::draw(String("7"), {20, 20}, {{Key::font(), UIFont::systemFont(17)}});
    }

protected:
    friend Foundation::Construct;
    Drawn() = default;
};

TEST(TerminalDrawing, LargeCharactersStandBoxedInTheirCellsAndSmallOnesAsTheyAre)
{
    auto scene = make<UIWindowScene>();
    auto window = make<UIWindow>(scene);
    auto controller = make<UIViewController>();
    controller->setView(make<Drawn>());
    window->setRootViewController(controller);
    window->makeKeyAndVisible();
    Terminal::TerminalSession session {scene, 60, 20};
    TestSupport::runMainLoopUntilIdle();
    const auto screen = session.frame().text();
    EXPECT_NE(screen.find("┌─┐"), std::string::npos) << screen;
    EXPECT_NE(screen.find("│A│"), std::string::npos) << screen;
    EXPECT_NE(screen.find("7"), std::string::npos) << screen;
    // Drawing outside a view's drawing goes nowhere.
    UIKit::draw(String("lost"), {0, 0}, {});
    make<UIBezierPath>(CGRect {0, 0, 10, 10}, 0)->fill();
}

} // namespace
