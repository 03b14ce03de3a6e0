#include "Platform/UIKit/UIWindow.hpp"

#include "Platform/AppKit/UINSWindow.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/MainThreadChecker.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIEvent.hpp"
#include "Platform/UIKit/UIGestureRecognizer.hpp"
#include "Platform/UIKit/UIKey.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIKeyInput.hpp"
#include "Platform/UIKit/UIMenuSystem.hpp"
#include "Platform/UIKit/UIScreen.hpp"
#include "Platform/UIKit/UIPress.hpp"
#include "Platform/UIKit/UITouch.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <algorithm>
#include <functional>
#include <utility>

namespace UIKit {
namespace {

// Consecutive runs of items that share a key, so that each receiver gets its items in one call and in
// the order the event holds them.
template <class Item, class Key>
std::vector<std::pair<Key, std::vector<std::shared_ptr<Item>>>> grouped(
    const std::vector<std::shared_ptr<Item>>& items, const std::function<Key(const Item&)>& keyOf)
{
    std::vector<std::pair<Key, std::vector<std::shared_ptr<Item>>>> groups;
    for (const auto& item : items) {
        Key key = keyOf(*item);
        auto group = std::find_if(groups.begin(), groups.end(), [&](const auto& entry) { return entry.first == key; });
        if (group == groups.end())
            groups.push_back({key, {item}});
        else
            group->second.push_back(item);
    }
    return groups;
}

} // namespace

UIWindow::UIWindow(const std::shared_ptr<UIWindowScene>& windowScene)
    : m_windowScene(windowScene)
{
    m_isHidden = true;
}

UIWindow::UIWindow(const CGRect& frame)
    : UIView(frame)
{
    m_isHidden = true;
}

UIWindow::UIWindow(Foundation::NSCoder& coder)
    : UIView(coder)
{
    m_isHidden = true;
}

void UIWindow::initialize()
{
    UIView::initialize();
    m_window = weakSelf(this);
    if (auto scene = windowScene())
        scene->m_windows.push_back(weakSelf(this));
}

void UIWindow::setWindowScene(const std::shared_ptr<UIWindowScene>& windowScene)
{
    auto previous = this->windowScene();
    if (previous == windowScene)
        return;
    changeTraits({sharedSelf(this)}, [&] {
        if (previous)
            previous->removeWindow(this);
        m_windowScene = windowScene;
        if (windowScene)
            windowScene->m_windows.push_back(weakSelf(this));
    });
}

bool UIWindow::isKeyWindow() const
{
    return UIApplication::shared()->keyWindow().get() == this;
}

namespace {

std::uint64_t nextOrder()
{
    static std::uint64_t order = 0;
    return ++order;
}

} // namespace

bool UIWindow::isInFrontOf(const UIWindow& other) const
{
    if (m_windowLevel != other.m_windowLevel)
        return m_windowLevel > other.m_windowLevel;
    return m_orderedFrontAt > other.m_orderedFrontAt;
}

void UIWindow::makeKey()
{
    MainThreadChecker::check("UIWindow.makeKey");
    auto& application = UIApplication::shared();
    auto previous = application->keyWindow();
    m_orderedFrontAt = nextOrder();
    if (previous.get() == this)
        return;
    application->m_keyWindow = weakSelf(this);
    if (auto scene = windowScene())
        scene->m_keyWindow = weakSelf(this);
    if (previous)
        previous->resignKey();
    becomeKey();
}

void UIWindow::makeKeyAndVisible()
{
    // Key first: a controller that appears may hand key status on at once.
    makeKey();
    setIsHidden(false);
}

void UIWindow::setIsHidden(bool isHidden)
{
    if (isHidden == this->isHidden())
        return;
    if (!isHidden) {
        m_orderedFrontAt = nextOrder();
        installRootView();
        if (auto scene = windowScene(); scene && scene->hostWindow())
            scene->hostWindow()->orderFront(nullptr);
    }
    auto changing = UIViewController::beginAppearance(*this, !isHidden);
    UIView::setIsHidden(isHidden);
    UIViewController::endAppearance(changing);
    if (!isHidden || !isKeyWindow())
        return;
    auto scene = windowScene();
    std::shared_ptr<UIWindow> successor;
    for (const auto& window : scene ? scene->windows() : UIApplication::shared()->windows())
        if (window.get() != this && !window->isHidden() && (!successor || window->isInFrontOf(*successor)))
            successor = window;
    if (successor) {
        successor->makeKey();
        return;
    }
    UIApplication::shared()->m_keyWindow.reset();
    if (scene && scene->m_keyWindow.lock().get() == this)
        scene->m_keyWindow.reset();
    resignKey();
}

void UIWindow::setRootViewController(std::shared_ptr<UIViewController> controller)
{
    MainThreadChecker::check("UIWindow.rootViewController");
    if (controller == m_rootViewController)
        return;
    auto previous = std::exchange(m_rootViewController, std::move(controller));
    if (auto view = previous ? previous->viewIfLoaded() : nullptr; view && view->superview().get() == this)
        view->removeFromSuperview();
    if (!this->isHidden())
        installRootView();
}

void UIWindow::installRootView()
{
    if (!m_rootViewController)
        return;
    const auto& view = m_rootViewController->view();
    if (view->superview().get() == this)
        return;
    view->setFrame(bounds());
    view->setAutoresizingMask(AutoresizingMask::flexibleWidth() | AutoresizingMask::flexibleHeight());
    insertSubview(view, 0);
}

std::shared_ptr<UIView> UIWindow::focusedView() const
{
    auto view = m_focusedView.lock();
    if (!view || view->window().get() != this)
        return nullptr;
    // A screen presented over the window holds the keyboard: a view left behind it has no focus.
    if (auto top = topViewController(); top && top != m_rootViewController && top->isViewLoaded() && top->view()->window().get() == this) {
        const UIView* ancestor = view.get();
        while (ancestor && ancestor != top->view().get())
            ancestor = ancestor->superview().get();
        if (!ancestor)
            return nullptr;
    }
    return view;
}

std::shared_ptr<UIResponder> UIWindow::responderChainStart()
{
    auto focused = focusedView();
    if (auto responder = firstResponder()) {
        // One left behind a screen presented over the window (a controller beneath that took the
        // keyboard back) yields to the focus on the screen in front, as the focus itself does.
        auto top = topViewController();
        auto* view = dynamic_cast<UIView*>(responder.get());
        if (auto* controller = dynamic_cast<UIViewController*>(responder.get()); controller && controller->isViewLoaded())
            view = controller->view().get();
        bool behind = focused && top && top != m_rootViewController && top->isViewLoaded() && view;
        for (const UIView* ancestor = view; behind && ancestor; ancestor = ancestor->superview().get())
            behind = ancestor != top->view().get();
        if (!behind)
            return responder;
    }
    // A text input gets keys only while it is first responder; once it ended editing, what holds it
    // answers in its place, so that the commands of the screen the focus was in still arrive.
    if (auto view = focused) {
        if (!dynamic_cast<const UIKeyInput*>(view.get()))
            return view;
        if (auto holder = view->next())
            return holder;
    }
    return sharedSelf(this);
}

void UIWindow::setFirstResponder(const std::shared_ptr<UIResponder>& responder)
{
    m_firstResponder = responder;
    if (m_isHandingOverFocus)
        return;
    const bool editing = dynamic_cast<const UIKeyInput*>(responder.get()) != nullptr;
    if (editing == m_isShowingKeyboard)
        return;
    m_isShowingKeyboard = editing;
    const auto& screen = UIScreen::main();
    const CGFloat height = editing ? screen->keyboardHeight() : 0;
    const CGRect end {0, screen->bounds().size.height - height, screen->bounds().size.width, height};
    Foundation::NotificationCenter::defaultCenter()->post(
        editing ? keyboardWillShowNotification() : keyboardWillHideNotification(), nullptr,
        Foundation::Notification::UserInfo {{keyboardFrameEndUserInfoKey(), end},
                                            {keyboardAnimationDurationUserInfoKey(), 0.25},
                                            {keyboardAnimationCurveUserInfoKey(), std::uint64_t {7}}});
}

namespace {

void collectPresented(const UIViewController& controller, std::vector<std::shared_ptr<UIViewController>>& into)
{
    for (const auto& child : controller.children())
        collectPresented(*child, into);
    if (const auto& presented = controller.presentedViewController()) {
        into.push_back(presented);
        collectPresented(*presented, into);
    }
}

} // namespace

std::vector<std::shared_ptr<UIViewController>> UIWindow::presentedViewControllers() const
{
    std::vector<std::shared_ptr<UIViewController>> presented;
    if (m_rootViewController)
        collectPresented(*m_rootViewController, presented);
    return presented;
}

std::shared_ptr<UIViewController> UIWindow::topViewController() const
{
    const auto presented = presentedViewControllers();
    for (auto it = presented.rbegin(); it != presented.rend(); ++it)
        if (!(*it)->isBeingDismissed())
            return *it;
    return m_rootViewController;
}

bool UIWindow::touchBeganOutsidePopover(const UITouch& touch)
{
    auto top = topViewController();
    if (!top || top == m_rootViewController || !top->m_presentation
        || top->m_presentation->style != UIModalPresentationStyle::popover)
        return false;
    auto view = top->viewIfLoaded();
    if (!view || view->window().get() != this)
        return false;
    if (view->point(view->convertFrom(touch.location(nullptr), nullptr), nullptr))
        return false;
    top->dismissForTapOutside();
    return true;
}

UITraitCollection UIWindow::traitCollection() const
{
    if (auto scene = windowScene())
        return scene->traitCollection();
    return {};
}

std::shared_ptr<UIResponder> UIWindow::next() const
{
    if (auto scene = windowScene())
        return scene;
    return UIApplication::shared();
}

void UIWindow::sendEvent(const std::shared_ptr<UIEvent>& event)
{
    switch (event->type()) {
    case UIEvent::EventType::touches:
        sendTouches(event);
        break;
    case UIEvent::EventType::presses:
        sendPresses(event);
        break;
    default:
        // Scrolls, hovers and device events go to gesture recognizers, which this stand-in does not have.
        break;
    }
}

namespace {

// The innermost view with a recogniser that takes the touch wins; its ancestors' recognisers see nothing.
void recognizeTap(const UITouch& touch)
{
    for (auto view = touch.view(); view; view = view->superview()) {
        auto recognizers = view->gestureRecognizers(); // an action may change them
        for (const auto& recognizer : recognizers) {
            if (recognizer->touchEnded(touch))
                return;
        }
    }
}

} // namespace

void UIWindow::sendTouches(const std::shared_ptr<UIEvent>& event)
{
    std::vector<std::shared_ptr<UITouch>> mine;
    for (const auto& touch : event->allTouches()) {
        if (touch->window().get() != this)
            continue;
        if (touch->phase() == UITouch::Phase::began && touch->m_view.expired()) {
            if (m_shownMenu) {
                dismissMenu(); // the tap closes the menu and goes no further
                continue;
            }
            if (touchBeganOutsidePopover(*touch))
                continue; // the pop-over takes it, to the end
            touch->m_view = hitTest(touch->m_locationInWindow, event);
        }
        mine.push_back(touch);
    }
    using Receiver = std::pair<UIView*, UITouch::Phase>;
    auto groups = grouped<UITouch, Receiver>(mine, [](const UITouch& touch) {
        return Receiver {touch.view().get(), touch.phase()};
    });
    for (const auto& [receiver, touches] : groups) {
        auto view = touches.front()->view();
        if (!view)
            continue;
        switch (receiver.second) {
        case UITouch::Phase::began:
            view->touchesBegan(touches, event);
            break;
        case UITouch::Phase::moved:
            view->touchesMoved(touches, event);
            break;
        case UITouch::Phase::ended:
            view->touchesEnded(touches, event);
            for (const auto& touch : touches)
                recognizeTap(*touch);
            break;
        case UITouch::Phase::cancelled:
            view->touchesCancelled(touches, event);
            break;
        default:
            break;
        }
    }
}

bool UIWindow::performKeyCommand(const UIKey& key, const std::shared_ptr<UIResponder>& responder,
                                 const std::shared_ptr<UIEvent>& event)
{
    const bool textTakesKey = dynamic_cast<const UIKeyInput*>(responder.get()) && UIKeyInput::usesKey(key);
    auto perform = [&](const std::shared_ptr<UIKeyCommand>& command) {
        if (!command || !command->matches(key) || (textTakesKey && !command->wantsPriorityOverSystemBehavior())
            || command->attributes().contains(UIMenuElement::Attributes::disabled()))
            return false;
        auto target = responder->target(command->action(), command);
        return target && UIApplication::shared()->sendAction(command->action(), target, command, event);
    };
    for (auto holder = responder; holder; holder = holder->next()) {
        if (auto commands = holder->keyCommands())
            for (const auto& command : *commands)
                if (perform(command))
                    return true;
    }
    // Only the menu bar's commands this key could perform are validated.
    auto couldTake = [&](const UIKeyCommand& command) { return command.matches(key) && (!textTakesKey || command.wantsPriorityOverSystemBehavior()); };
    for (const auto& command : UIMenuSystem::main()->keyCommands(couldTake))
        if (perform(command))
            return true;
    return false;
}

void UIWindow::sendPresses(const std::shared_ptr<UIEvent>& event)
{
    auto responder = responderChainStart();
    // A key that a key command took never reaches the responder, neither pressed nor released.
    std::vector<std::shared_ptr<UIPress>> presses;
    for (const auto& press : event->allPresses()) {
        auto taken = std::ranges::find_if(m_pressesTakenByKeyCommands, [&](const auto& weak) { return weak.lock() == press; });
        if (taken != m_pressesTakenByKeyCommands.end()) {
            if (press->phase() == UIPress::Phase::ended || press->phase() == UIPress::Phase::cancelled)
                m_pressesTakenByKeyCommands.erase(taken);
            continue;
        }
        if (press->phase() == UIPress::Phase::began && press->key() && performKeyCommand(*press->key(), responder, event)) {
            m_pressesTakenByKeyCommands.push_back(press);
            continue;
        }
        presses.push_back(press);
    }
    // A key command may have moved the first responder.
    responder = responderChainStart();
    auto groups = grouped<UIPress, UIPress::Phase>(presses, [](const UIPress& press) { return press.phase(); });
    for (const auto& [phase, presses] : groups) {
        switch (phase) {
        case UIPress::Phase::began:
            responder->pressesBegan(presses, event);
            break;
        case UIPress::Phase::changed:
            responder->pressesChanged(presses, event);
            break;
        case UIPress::Phase::ended:
            responder->pressesEnded(presses, event);
            break;
        case UIPress::Phase::cancelled:
            responder->pressesCancelled(presses, event);
            break;
        default:
            break;
        }
    }
}

} // namespace UIKit
