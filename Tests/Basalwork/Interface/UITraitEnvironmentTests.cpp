#include "Basalwork/Interface/UIResponder.hpp"
#include "Basalwork/Interface/UIScreen.hpp"
#include "Basalwork/Interface/UISplitViewController.hpp"
#include "Basalwork/Interface/UITraitEnvironment.hpp"
#include "Basalwork/Interface/UIUserInterfaceIdiom.hpp"
#include "Basalwork/Interface/UIUserInterfaceSizeClass.hpp"

#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::make;
using UIKit::UIUserInterfaceSizeClass;

TEST(UITraitEnvironment, ViewsControllersAndScenesAnswerFromTheirTraits)
{
    auto scene = make<UIKit::UIWindowScene>();
    auto traits = scene->traitCollection();
    traits.horizontalSizeClass = UIUserInterfaceSizeClass::compact;
    traits.userInterfaceIdiom = UIKit::UIUserInterfaceIdiom::pad;
    scene->setTraitCollection(traits);
    auto window = make<UIKit::UIWindow>(scene);
    auto controller = make<UIKit::UIViewController>();
    window->addSubview(controller->view());

    EXPECT_EQ(horizontalSizeClass(*controller), UIUserInterfaceSizeClass::compact);
    EXPECT_EQ(verticalSizeClass(*controller->view()), UIUserInterfaceSizeClass::regular);
    EXPECT_TRUE(isPad(userInterfaceIdiom(*scene)));
    EXPECT_EQ(userInterfaceStyle(*window), UIKit::UIUserInterfaceStyle::light);
    EXPECT_TRUE(isCompactOrUnspecified(horizontalSizeClass(*controller)));
    EXPECT_TRUE(isCompactOrUnspecified(UIUserInterfaceSizeClass::unspecified));
    EXPECT_FALSE(isCompactOrUnspecified(verticalSizeClass(*window)));

    EXPECT_TRUE(isNotFirstResponder(*controller->view()));
    EXPECT_TRUE(isExpanded(*make<UIKit::UISplitViewController>()));
    auto screen = UIKit::UIScreen::main();
    auto scale = screen->scale();
    screen->setScale(4);
    EXPECT_EQ(pointHeightOfSingleDevicePixel(*screen), 0.25);
    screen->setScale(scale);
}
