#include "Platform/UIKit/UIInteractionDriver.hpp"

#include "Platform/UIKit/UIAction.hpp"
#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIAlertController.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIContextMenuInteraction.hpp"
#include "Platform/UIKit/UIContextualAction.hpp"
#include "Platform/UIKit/UIEventDriver.hpp"
#include "Platform/UIKit/UIKey.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UIMenuSystem.hpp"
#include "Platform/UIKit/UISwipeActionsConfiguration.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <cctype>
#include <map>

namespace UIKit {
namespace {

struct NamedKey {
    const char* characters;
    std::int64_t code;
};

const std::map<std::string, NamedKey>& namedKeys()
{
    static const std::map<std::string, NamedKey> keys {
        {"Return", {"\r", 40}}, {"Escape", {"UIKeyInputEscape", 41}}, {"Delete", {"\b", 42}}, {"Tab", {"\t", 43}},
        {"Space", {" ", 44}}, {"Home", {"UIKeyInputHome", 74}}, {"PageUp", {"UIKeyInputPageUp", 75}},
        {"End", {"UIKeyInputEnd", 77}}, {"PageDown", {"UIKeyInputPageDown", 78}}, {"Right", {"UIKeyInputRightArrow", 79}},
        {"Left", {"UIKeyInputLeftArrow", 80}}, {"Down", {"UIKeyInputDownArrow", 81}}, {"Up", {"UIKeyInputUpArrow", 82}},
    };
    return keys;
}

// The keyboard's usage code for a character: letters and digits have theirs, the rest none the platform
// needs here.
std::int64_t usageOf(const std::string& character)
{
    if (character.size() != 1)
        return 0;
    const auto c = static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(character[0])));
    if (c >= 'a' && c <= 'z')
        return 4 + (c - 'a');
    if (c >= '1' && c <= '9')
        return 30 + (c - '1');
    if (c == '0')
        return 39;
    return 0;
}

std::shared_ptr<UIWindow> windowOf(const UIWindowScene& scene)
{
    if (auto key = scene.keyWindow(); key && !key->isHidden())
        return key;
    auto windows = UIApplication::shared()->windowsFrontToBack();
    for (const auto& window : windows)
        if (window->windowScene().get() == &scene)
            return window;
    return nullptr;
}

bool isDisabled(const UIMenuElement& element)
{
    if (const auto* command = dynamic_cast<const UICommand*>(&element))
        return command->attributes().contains(UIMenuElement::Attributes::disabled());
    if (const auto* action = dynamic_cast<const UIAction*>(&element))
        return action->attributes().contains(UIMenuElement::Attributes::disabled());
    return false;
}

// The entry with the title among the menu's children, looking through inline groups.
std::shared_ptr<UIMenuElement> child(const UIMenu& menu, const Foundation::String& title)
{
    for (const auto& element : menu.children()) {
        auto submenu = std::dynamic_pointer_cast<UIMenu>(element);
        if (submenu && submenu->options().contains(UIMenu::Options::displayInline())) {
            if (auto found = child(*submenu, title))
                return found;
        } else if (element->title() == title) {
            return element;
        }
    }
    return nullptr;
}

} // namespace

UIInteractionDriver::UIInteractionDriver(std::shared_ptr<UIWindowScene> scene)
    : m_scene(std::move(scene))
{
}

std::shared_ptr<UIView> UIInteractionDriver::find(const Foundation::String& identifierOrText) const
{
    return UIViewInspector::find(*m_scene, identifierOrText);
}

bool UIInteractionDriver::tapAtScreenPoint(CGPoint point)
{
    UIEventDriver::tap(point);
    return true;
}

bool UIInteractionDriver::tap(const std::shared_ptr<UIView>& view, CGPoint at)
{
    auto window = view ? view->window() : nullptr;
    if (!window)
        return false;
    CGPoint inWindow = view->convertTo(at, nullptr);
    return tapAtScreenPoint({inWindow.x + window->frame().origin.x, inWindow.y + window->frame().origin.y});
}

bool UIInteractionDriver::tap(const std::shared_ptr<UIView>& view)
{
    if (!view)
        return false;
    const CGRect bounds = view->bounds();
    return tap(view, {bounds.midX(), bounds.midY()});
}

bool UIInteractionDriver::tap(const Foundation::String& identifierOrText)
{
    return tap(find(identifierOrText));
}

std::shared_ptr<UIKey> UIInteractionDriver::key(const Foundation::String& keyName, UIKeyModifierFlags modifiers)
{
    if (auto named = namedKeys().find(keyName.utf8()); named != namedKeys().end()) {
        const auto& [characters, code] = named->second;
        return Foundation::make<UIKey>(characters, characters, modifiers, static_cast<UIKeyboardHIDUsage>(code));
    }
    if (keyName.count() != 1)
        return nullptr;
    // A capital letter is typed with Shift; key commands see the letter itself.
    Foundation::String ignoringModifiers = keyName;
    if (keyName.utf8().size() == 1 && std::isupper(static_cast<unsigned char>(keyName.utf8()[0]))) {
        modifiers = modifiers | UIKeyModifierFlags::shift();
        ignoringModifiers = keyName.lowercased();
    }
    return Foundation::make<UIKey>(keyName, ignoringModifiers, modifiers,
                                   static_cast<UIKeyboardHIDUsage>(usageOf(keyName.utf8())));
}

void UIInteractionDriver::press(const Foundation::String& keyName, UIKeyModifierFlags modifiers)
{
    if (auto pressed = key(keyName, modifiers))
        UIEventDriver::pressKey(pressed);
}

void UIInteractionDriver::type(const Foundation::String& text)
{
    for (const auto& character : text.characters()) {
        const std::string& utf8 = character.utf8();
        if (utf8 == "\n")
            press("Return");
        else if (utf8 == "\t")
            press("Tab");
        else
            UIEventDriver::pressKey(key(Foundation::String(utf8)));
    }
}

std::shared_ptr<UIAlertController> UIInteractionDriver::alert() const
{
    std::shared_ptr<UIAlertController> found;
    for (const auto& window : m_scene->windows())
        for (auto controller = window->rootViewController(); controller; controller = controller->presentedViewController())
            if (auto alert = std::dynamic_pointer_cast<UIAlertController>(controller); alert && !alert->isBeingDismissed())
                found = alert;
    return found;
}

bool UIInteractionDriver::chooseAlertAction(const Foundation::String& title)
{
    auto shown = alert();
    if (!shown || !shown->isViewLoaded())
        return false;
    for (const auto& view : shown->view()->subviews())
        if (auto button = std::dynamic_pointer_cast<UIButton>(view); button && button->currentTitle() == title)
            return tap(button);
    return false;
}

std::shared_ptr<UIMenuElement> UIInteractionDriver::entry(const std::shared_ptr<UIMenu>& menu,
                                                          const std::vector<Foundation::String>& titlePath, bool validate) const
{
    auto current = menu;
    std::shared_ptr<UIMenuElement> found;
    for (std::size_t i = 0; i < titlePath.size(); ++i) {
        if (!current)
            return nullptr;
        auto shown = validate ? UIMenuSystem::main()->validated(current) : current;
        found = child(*shown, titlePath[i]);
        if (!found)
            return nullptr;
        current = std::dynamic_pointer_cast<UIMenu>(found);
    }
    return found;
}

std::shared_ptr<UIMenuElement> UIInteractionDriver::menuBarItem(const std::vector<Foundation::String>& titlePath) const
{
    return entry(UIMenuSystem::main()->mainMenu(), titlePath, true);
}

bool UIInteractionDriver::chooseMenuBarItem(const std::vector<Foundation::String>& titlePath)
{
    auto item = menuBarItem(titlePath);
    if (!item || std::dynamic_pointer_cast<UIMenu>(item) || isDisabled(*item))
        return false;
    return UIMenuSystem::main()->perform(item);
}

std::shared_ptr<UIMenu> UIInteractionDriver::openContextMenu(const std::shared_ptr<UIView>& view, std::optional<CGPoint> at)
{
    auto window = view ? view->window() : nullptr;
    if (!window)
        return nullptr;
    const CGPoint point = at.value_or(CGPoint {view->bounds().midX(), view->bounds().midY()});
    std::shared_ptr<UIMenu> menu;
    for (auto holder = view; holder && !menu; holder = holder->superview()) {
        const CGPoint local = view->convertTo(point, holder);
        for (const auto& interaction : holder->interactions())
            if (auto contextMenu = std::dynamic_pointer_cast<UIContextMenuInteraction>(interaction); contextMenu && !menu)
                menu = contextMenu->menu(local);
        if (auto button = std::dynamic_pointer_cast<UIButton>(holder); button && !menu)
            menu = button->menu();
        if (auto table = std::dynamic_pointer_cast<UITableView>(holder); table && !menu)
            if (auto row = table->indexPathForRow(local))
                menu = table->contextMenu(*row, local);
    }
    if (menu)
        window->showMenu(menu);
    return menu;
}

bool UIInteractionDriver::chooseShownMenuItem(const std::vector<Foundation::String>& titlePath)
{
    auto window = windowOf(*m_scene);
    auto menu = window ? window->shownMenu() : nullptr;
    auto item = menu ? entry(menu, titlePath, true) : nullptr;
    if (!item || std::dynamic_pointer_cast<UIMenu>(item) || isDisabled(*item))
        return false;
    window->dismissMenu();
    return UIMenuSystem::context()->perform(item);
}

bool UIInteractionDriver::swipeRow(const std::shared_ptr<UITableView>& table, std::int64_t section, std::int64_t row,
                                   bool leading, const Foundation::String& actionTitle)
{
    if (!table)
        return false;
    const auto indexPath = Foundation::IndexPath::withRow(row, section);
    auto configuration = table->swipeActionsConfiguration(indexPath, leading);
    if (!configuration)
        return false;
    for (const auto& action : configuration->actions()) {
        if (action->title() != actionTitle)
            continue;
        if (const auto& handler = action->handler()) {
            std::shared_ptr<UIView> source = table->cellForRow(indexPath);
            handler(action, source ? source : table, [](bool) {});
        }
        return true;
    }
    return false;
}

std::string UIInteractionDriver::describe() const
{
    return UIViewInspector::describe(*m_scene);
}

} // namespace UIKit
