#pragma once

#include "Platform/UIKit/UIInteractionDriver.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UIMenuElement.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace TestSupport {

// A test's hands on the interface: the platform's interaction driver, with the main loop turned after
// every step, a failure for every step that finds nothing to act on, and the screen described once when
// the test has failed.
class Driver {
public:
    explicit Driver(std::shared_ptr<UIKit::UIWindowScene> scene)
        : m_core(std::move(scene))
    {
    }
    ~Driver()
    {
        if (::testing::Test::HasFailure())
            std::cerr << "On screen when the test failed:\n" << m_core.describe();
    }
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    UIKit::UIInteractionDriver& core() { return m_core; }

    std::shared_ptr<UIKit::UIView> find(const Foundation::String& identifierOrText)
    {
        auto view = m_core.find(identifierOrText);
        if (!view)
            ADD_FAILURE() << "Nothing on screen is \"" << identifierOrText.utf8() << "\"";
        return view;
    }
    template <class View>
    std::shared_ptr<View> find(const Foundation::String& identifierOrText)
    {
        auto view = m_core.find<View>(identifierOrText);
        if (!view)
            ADD_FAILURE() << "No " << Foundation::demangledTypeName(typeid(View).name()) << " on screen is \""
                          << identifierOrText.utf8() << "\"";
        return view;
    }

    void tap(const Foundation::String& identifierOrText) { check(m_core.tap(identifierOrText), "tap", identifierOrText); }
    void tap(const std::shared_ptr<UIKit::UIView>& view) { check(m_core.tap(view), "tap", "a view"); }
    void type(const Foundation::String& text)
    {
        m_core.type(text);
        settle();
    }
    void press(const Foundation::String& key, UIKit::UIKeyModifierFlags modifiers = {})
    {
        m_core.press(key, modifiers);
        settle();
    }
    void chooseAlertAction(const Foundation::String& title) { check(m_core.chooseAlertAction(title), "choose the alert action", title); }
    void chooseMenuItem(const std::vector<Foundation::String>& titlePath)
    {
        check(m_core.chooseMenuBarItem(titlePath), "choose the menu item", titlePath.back());
    }
    // The menu bar entry as it shows now, validated.
    std::shared_ptr<UIKit::UIMenuElement> menuItem(const std::vector<Foundation::String>& titlePath)
    {
        auto item = m_core.menuBarItem(titlePath);
        if (!item)
            ADD_FAILURE() << "The menu bar has no " << titlePath.back().utf8();
        return item;
    }
    void openContextMenu(const Foundation::String& identifierOrText)
    {
        check(m_core.openContextMenu(find(identifierOrText)) != nullptr, "open a context menu on", identifierOrText);
    }
    void chooseShownMenuItem(const std::vector<Foundation::String>& titlePath)
    {
        check(m_core.chooseShownMenuItem(titlePath), "choose the shown menu's item", titlePath.back());
    }

    // Lets the interface settle: the main loop runs until nothing is left at the current time.
    void settle() { runMainLoopUntilIdle(); }
    // Lets time pass on the manual clock, running what falls due.
    void wait(double seconds) { advanceClock(seconds); }
    std::string describe() const { return m_core.describe(); }

private:
    void check(bool done, const char* what, const Foundation::String& subject)
    {
        if (!done)
            ADD_FAILURE() << "Could not " << what << " \"" << subject.utf8() << "\"";
        settle();
    }

    UIKit::UIInteractionDriver m_core;
};

} // namespace TestSupport
