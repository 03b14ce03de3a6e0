#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIEvent.hpp"
#include "Platform/UIKit/UIEventDriver.hpp"
#include "Platform/UIKit/UIKey.hpp"
#include "Platform/UIKit/UIPress.hpp"
#include "Platform/UIKit/UITouch.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace UIKit;
using Foundation::make;

namespace {

class KeyRecordingWindow : public UIWindow {
public:
    void becomeKey() override { log.push_back("become"); }
    void resignKey() override { log.push_back("resign"); }
    std::vector<std::string> log;

protected:
    friend Foundation::Construct;
    using UIWindow::UIWindow;
};

// Records what reaches it and, unless told to keep them, passes presses on.
class RecordingView : public UIView {
public:
    void touchesBegan(const std::vector<std::shared_ptr<UITouch>>& touches, const std::shared_ptr<UIEvent>&) override
    {
        record("began", touches);
    }
    void touchesMoved(const std::vector<std::shared_ptr<UITouch>>& touches, const std::shared_ptr<UIEvent>&) override
    {
        record("moved", touches);
    }
    void touchesEnded(const std::vector<std::shared_ptr<UITouch>>& touches, const std::shared_ptr<UIEvent>&) override
    {
        record("ended", touches);
    }
    void pressesBegan(const std::vector<std::shared_ptr<UIPress>>& presses,
                      const std::shared_ptr<UIEvent>& event) override
    {
        pressed.push_back(presses.front()->key()->characters().utf8());
        if (!keepsPresses)
            UIView::pressesBegan(presses, event);
    }
    bool canBecomeFirstResponder() const override { return true; }

    std::vector<std::string> log;
    std::vector<CGPoint> locations;
    std::vector<std::shared_ptr<UITouch>> touches;
    std::vector<std::string> pressed;
    bool keepsPresses = false;

protected:
    friend Foundation::Construct;
    using UIView::UIView;

private:
    void record(const char* phase, const std::vector<std::shared_ptr<UITouch>>& received)
    {
        log.push_back(phase);
        locations.push_back(received.front()->location(sharedSelf(this)));
        touches.push_back(received.front());
    }
};

std::shared_ptr<UIKey> key(const char* characters)
{
    return make<UIKey>(characters, characters, UIKeyModifierFlags {}, UIKeyboardHIDUsage {4});
}

class UIWindowTest : public testing::Test {
protected:
    std::shared_ptr<UIWindowScene> scene = make<UIWindowScene>();
};

} // namespace

TEST_F(UIWindowTest, KeyStatusMovesBetweenWindowsWithItsHooks)
{
    auto main = make<KeyRecordingWindow>(scene);
    auto overlay = make<KeyRecordingWindow>(scene);
    EXPECT_TRUE(main->isHidden());

    main->makeKeyAndVisible();
    EXPECT_FALSE(main->isHidden());
    EXPECT_TRUE(main->isKeyWindow());
    EXPECT_EQ(scene->keyWindow(), main);
    EXPECT_EQ(UIApplication::shared()->keyWindow(), main);

    overlay->setWindowLevel({500});
    overlay->makeKeyAndVisible();
    EXPECT_FALSE(main->isKeyWindow());
    EXPECT_EQ(main->log, (std::vector<std::string> {"become", "resign"}));
    EXPECT_EQ(overlay->log, (std::vector<std::string> {"become"}));
    overlay->makeKey(); // already key: no hooks
    EXPECT_EQ(overlay->log.size(), 1u);

    // Hiding the key window hands key status back to the window underneath.
    overlay->setIsHidden(true);
    EXPECT_TRUE(main->isKeyWindow());
    EXPECT_EQ(overlay->log.back(), "resign");

    main->setIsHidden(true);
    EXPECT_EQ(UIApplication::shared()->keyWindow(), nullptr);
    EXPECT_EQ(scene->keyWindow(), nullptr);
}

TEST_F(UIWindowTest, TheApplicationListsWindowsOfAllScenes)
{
    auto first = make<UIWindow>(scene);
    auto otherScene = make<UIWindowScene>();
    auto second = make<UIWindow>(otherScene);
    auto loose = make<UIWindow>(CGRect {0, 0, 10, 10});
    auto windows = UIApplication::shared()->windows();
    EXPECT_NE(std::find(windows.begin(), windows.end(), first), windows.end());
    EXPECT_NE(std::find(windows.begin(), windows.end(), second), windows.end());
    EXPECT_EQ(std::find(windows.begin(), windows.end(), loose), windows.end());

    loose->setWindowScene(otherScene);
    second->setWindowScene(scene);
    EXPECT_EQ(otherScene->windows(), (std::vector<std::shared_ptr<UIWindow>> {loose}));
    EXPECT_EQ(scene->windows(), (std::vector<std::shared_ptr<UIWindow>> {first, second}));

    windows.clear();
    second.reset(); // scenes do not keep windows alive
    EXPECT_EQ(scene->windows().size(), 1u);
}

TEST_F(UIWindowTest, ATouchStaysWithTheViewItBeganOn)
{
    auto window = make<UIWindow>(scene);
    window->setFrame({0, 0, 200, 200});
    window->makeKeyAndVisible();
    auto left = make<RecordingView>(CGRect {0, 0, 100, 200});
    auto right = make<RecordingView>(CGRect {100, 0, 100, 200});
    window->addSubview(left);
    window->addSubview(right);

    auto touch = UIEventDriver::touchDown(window, {150, 20});
    UIEventDriver::touchMove(touch, {50, 30}); // over the left view now
    UIEventDriver::touchUp(touch);

    EXPECT_TRUE(left->log.empty());
    EXPECT_EQ(right->log, (std::vector<std::string> {"began", "moved", "ended"}));
    EXPECT_EQ(right->locations[0], (CGPoint {50, 20}));
    EXPECT_EQ(right->locations[1], (CGPoint {-50, 30}));
    EXPECT_EQ(right->touches[0], right->touches[2]);
    EXPECT_EQ(touch->view(), right);
    EXPECT_EQ(touch->window(), window);

    UIEventDriver::tap(window, {10, 10});
    EXPECT_EQ(left->log, (std::vector<std::string> {"began", "ended"}));
}

TEST_F(UIWindowTest, PressesGoToTheKeyWindowsFirstResponderAndUpTheChain)
{
    auto window = make<UIWindow>(scene);
    window->makeKeyAndVisible();
    auto parent = make<RecordingView>();
    auto child = make<RecordingView>();
    window->addSubview(parent);
    parent->addSubview(child);

    UIEventDriver::pressKey(key("a")); // no first responder: the window gets it
    EXPECT_TRUE(parent->pressed.empty());

    ASSERT_TRUE(child->becomeFirstResponder());
    UIEventDriver::pressKey(key("b"));
    EXPECT_EQ(child->pressed, (std::vector<std::string> {"b"}));
    EXPECT_EQ(parent->pressed, (std::vector<std::string> {"b"}));

    child->keepsPresses = true;
    UIEventDriver::pressKey(key("c"));
    EXPECT_EQ(parent->pressed.size(), 1u);

    // Another window's first responder hears nothing while that window is not key.
    auto other = make<UIWindow>(scene);
    auto elsewhere = make<RecordingView>();
    other->addSubview(elsewhere);
    ASSERT_TRUE(elsewhere->becomeFirstResponder());
    UIEventDriver::pressKey(key("d"));
    EXPECT_TRUE(elsewhere->pressed.empty());
}
