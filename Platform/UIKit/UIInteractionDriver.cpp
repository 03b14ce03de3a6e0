#include "Platform/UIKit/UIInteractionDriver.hpp"

#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIAlertController.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIContextMenuInteraction.hpp"
#include "Platform/UIKit/UIContextualAction.hpp"
#include "Platform/UIKit/UIDocumentPickerViewController.hpp"
#include "Platform/UIKit/UIEventDriver.hpp"
#include "Platform/UIKit/UIFocusItem.hpp"
#include "Platform/UIKit/UIKey.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UIMenuSystem.hpp"
#include "Platform/UIKit/UIModalPresentationStyle.hpp"
#include "Platform/UIKit/UIScrollView.hpp"
#include "Platform/UIKit/UISegmentedControl.hpp"
#include "Platform/UIKit/UISlider.hpp"
#include "Platform/UIKit/UISplitViewController.hpp"
#include "Platform/UIKit/UIStepper.hpp"
#include "Platform/UIKit/UISwipeActionsConfiguration.hpp"
#include "Platform/UIKit/UITableViewCell.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UITextView.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <algorithm>
#include <cctype>
#include <functional>
#include <iterator>
#include <map>
#include <ranges>

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

bool isTextInput(const UIView& view)
{
    return dynamic_cast<const UIKeyInput*>(&view) && view.canBecomeFirstResponder();
}

bool takesFocus(const std::shared_ptr<UIView>& view)
{
    if (isTextInput(*view))
        return true;
    if (const auto* item = dynamic_cast<const UIFocusItem*>(view.get()))
        return item->canBecomeFocused();
    if (auto control = std::dynamic_pointer_cast<UIControl>(view))
        return control->isEnabled();
    if (auto table = std::dynamic_pointer_cast<UITableView>(view))
        return table->allowsSelection() && table->numberOfSections() > 0;
    return false;
}

std::optional<Foundation::String> focusGroup(const UIView& view)
{
    const auto* item = dynamic_cast<const UIFocusItem*>(&view);
    return item ? item->focusGroupIdentifier() : std::nullopt;
}

// Where the focus lands on a view of a group: the group's item of the highest priority.
std::shared_ptr<UIView> groupEntry(const std::vector<std::shared_ptr<UIView>>& views, const std::shared_ptr<UIView>& reached, bool forward)
{
    const auto group = focusGroup(*reached);
    if (!group)
        return reached;
    std::shared_ptr<UIView> entry;
    std::int64_t best = 0;
    auto consider = [&](const std::shared_ptr<UIView>& view) {
        if (focusGroup(*view) != group)
            return;
        const auto priority = dynamic_cast<const UIFocusItem&>(*view).focusGroupPriority();
        if (!entry || priority > best) {
            entry = view;
            best = priority;
        }
    };
    if (forward)
        std::ranges::for_each(views, consider);
    else
        std::ranges::for_each(views | std::views::reverse, consider);
    return entry;
}

// Views in reading order, as runs that stay together: a split view's columns are read one after the
// other, left to right, whatever their heights.
struct Run {
    CGPoint origin;
    std::vector<std::shared_ptr<UIView>> views;
};

std::vector<Run> readingOrder(const std::shared_ptr<UIView>& view)
{
    if (view->isHidden() || !view->isUserInteractionEnabled() || view->alpha() <= 0)
        return {};
    const CGPoint origin = view->convertTo(CGPoint {}, nullptr);
    std::vector<Run> runs;
    if (takesFocus(view))
        runs.push_back({origin, {view}});
    // A field's own parts are not stops of their own.
    if (isTextInput(*view))
        return runs;
    auto subviews = view->subviews();
    const bool columns = std::dynamic_pointer_cast<UISplitViewController>(view->next()) != nullptr;
    if (columns)
        std::ranges::stable_sort(subviews, [](const auto& lhs, const auto& rhs) { return lhs->frame().origin.x < rhs->frame().origin.x; });
    Run split {origin, {}};
    for (const auto& subview : subviews)
        for (auto& run : readingOrder(subview)) {
            if (columns)
                split.views.insert(split.views.end(), run.views.begin(), run.views.end());
            else
                runs.push_back(std::move(run));
        }
    if (columns) {
        runs.push_back(std::move(split));
        return runs;
    }
    std::ranges::stable_sort(runs, [](const Run& lhs, const Run& rhs) {
        return lhs.origin.y != rhs.origin.y ? lhs.origin.y < rhs.origin.y : lhs.origin.x < rhs.origin.x;
    });
    // A scroll view's content is read whole where the scroll view stands, however far it is scrolled:
    // what scrolled up past the top of a page still comes after the page's header.
    if (dynamic_cast<const UIScrollView*>(view.get()) && runs.size() > 1) {
        Run whole {origin, {}};
        for (auto& run : runs)
            whole.views.insert(whole.views.end(), run.views.begin(), run.views.end());
        // A table that takes the focus itself comes before its rows.
        if (auto self = std::ranges::find(whole.views, view); self != whole.views.end())
            std::rotate(whole.views.begin(), self, self + 1);
        return {std::move(whole)};
    }
    return runs;
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

bool UIInteractionDriver::press(const Foundation::String& keyName, UIKeyModifierFlags modifiers)
{
    auto pressed = key(keyName, modifiers);
    return pressed && UIEventDriver::pressKey(pressed);
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
        for (const auto& controller : window->presentedViewControllers())
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
    if (!item || std::dynamic_pointer_cast<UIMenu>(item) || !UIMenuSystem::isEnabled(*item))
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

std::shared_ptr<UIMenu> UIInteractionDriver::openContextMenuAtScreenPoint(CGPoint point)
{
    for (const auto& window : UIApplication::shared()->windowsFrontToBack()) {
        if (window->windowScene() != m_scene || window->isHidden())
            continue;
        const CGPoint inWindow {point.x - window->frame().origin.x, point.y - window->frame().origin.y};
        if (auto hit = window->hitTest(inWindow, nullptr))
            return openContextMenu(hit, window->convertTo(inWindow, hit));
    }
    return nullptr;
}

std::optional<Foundation::IndexPath> UIInteractionDriver::keyboardRow(UITableView& table) const
{
    std::optional<Foundation::IndexPath> own;
    if (m_keyboardRowTable.lock().get() == &table && m_keyboardRow) {
        const auto& row = *m_keyboardRow;
        if (row.section() < table.numberOfSections() && row.row() < table.numberOfRows(row.section()))
            own = row;
    }
    // Where the arrows only point, the row they point at is apart from the selection.
    if (own && !table.selectionFollowsFocus())
        return own;
    if (auto selected = table.indexPathForSelectedRow())
        return selected;
    return own;
}

std::shared_ptr<UIView> UIInteractionDriver::keyboardRowCell() const
{
    auto table = std::dynamic_pointer_cast<UITableView>(focusedView());
    if (!table || (table->selectionFollowsFocus() && table->indexPathForSelectedRow()))
        return nullptr;
    auto row = keyboardRow(*table);
    return row ? std::shared_ptr<UIView>(table->cellForRow(*row)) : nullptr;
}

std::shared_ptr<UIMenu> UIInteractionDriver::openContextMenuAtFocus()
{
    auto focused = focusedView();
    if (auto table = std::dynamic_pointer_cast<UITableView>(focused)) {
        auto selected = keyboardRow(*table);
        if (!selected)
            return nullptr;
        table->scrollToRow(*selected, UITableView::ScrollPosition::none, false);
        table->layoutIfNeeded();
        std::shared_ptr<UIView> cell = table->cellForRow(*selected);
        return openContextMenu(cell);
    }
    return openContextMenu(focused);
}

bool UIInteractionDriver::chooseShownMenuItem(const std::vector<Foundation::String>& titlePath)
{
    auto window = windowOf(*m_scene);
    auto menu = window ? window->shownMenu() : nullptr;
    auto item = menu ? entry(menu, titlePath, true) : nullptr;
    if (!item || std::dynamic_pointer_cast<UIMenu>(item) || !UIMenuSystem::isEnabled(*item))
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

std::shared_ptr<UIView> UIInteractionDriver::activeScreen() const
{
    auto window = windowOf(*m_scene);
    if (!window)
        return nullptr;
    std::shared_ptr<UIView> screen = window;
    for (const auto& controller : window->presentedViewControllers())
        if (!controller->isBeingDismissed() && controller->isViewLoaded() && controller->view()->window() == window)
            screen = controller->view();
    return screen;
}

std::vector<std::shared_ptr<UIView>> UIInteractionDriver::focusableViews() const
{
    std::vector<std::shared_ptr<UIView>> views;
    if (auto screen = activeScreen())
        for (auto& run : readingOrder(screen))
            views.insert(views.end(), run.views.begin(), run.views.end());
    return views;
}

std::shared_ptr<UIView> UIInteractionDriver::focusedView() const
{
    auto views = focusableViews();
    auto window = windowOf(*m_scene);
    if (auto responder = window ? std::dynamic_pointer_cast<UIView>(window->firstResponder()) : nullptr)
        if (std::ranges::find(views, responder) != views.end())
            return responder;
    auto focused = window ? window->focusedView() : nullptr;
    return focused && std::ranges::find(views, focused) != views.end() ? focused : nullptr;
}

bool UIInteractionDriver::focus(const std::shared_ptr<UIView>& view)
{
    if (!view)
        return false;
    auto window = view->window();
    if (window)
        window->setFocusedView(view);
    // What takes the focus out of sight comes into sight, as a table's rows do: a long page scrolls to
    // its button. What is in sight (a click's target) stays where it is.
    for (auto ancestor = view->superview(); ancestor; ancestor = ancestor->superview())
        if (auto scrollView = std::dynamic_pointer_cast<UIScrollView>(ancestor); scrollView && !std::dynamic_pointer_cast<UITableView>(ancestor)) {
            const CGRect rect = view->convertTo(view->bounds(), scrollView);
            if (scrollView->bounds().intersection(rect) != rect)
                scrollView->scrollRectToVisible(rect, false);
            break;
        }
    if (isTextInput(*view))
        return view->becomeFirstResponder();
    if (window)
        if (auto responder = window->firstResponder())
            responder->resignFirstResponder();
    return true;
}

namespace {

// The table a view lies in (not the table itself), and the cell it lies in there.
std::pair<std::shared_ptr<UITableView>, std::shared_ptr<UITableViewCell>> enclosingTable(const std::shared_ptr<UIView>& view)
{
    std::shared_ptr<UITableViewCell> cell;
    for (auto ancestor = view ? view->superview() : nullptr; ancestor; ancestor = ancestor->superview()) {
        if (auto table = std::dynamic_pointer_cast<UITableView>(ancestor))
            return {cell ? table : nullptr, cell};
        if (!cell)
            cell = std::dynamic_pointer_cast<UITableViewCell>(ancestor);
    }
    return {nullptr, nullptr};
}

std::vector<Foundation::IndexPath> allRows(UITableView& table)
{
    std::vector<Foundation::IndexPath> rows;
    for (std::int64_t section = 0; section < table.numberOfSections(); ++section)
        for (std::int64_t row = 0; row < table.numberOfRows(section); ++row)
            rows.push_back(Foundation::IndexPath::withRow(row, section));
    return rows;
}

} // namespace

std::shared_ptr<UIView> UIInteractionDriver::focusableInRowsBeyondSight(const std::shared_ptr<UITableView>& table,
                                                                         std::optional<Foundation::IndexPath> from, bool forward) const
{
    // Rows out of sight have no cells: the table is scrolled to each in turn until one has a stop.
    auto rows = allRows(*table);
    if (!forward)
        std::ranges::reverse(rows);
    auto at = from ? std::ranges::find(rows, *from) : rows.begin();
    if (from && at != rows.end())
        ++at;
    for (; at != rows.end(); ++at) {
        table->scrollToRow(*at, forward ? UITableView::ScrollPosition::bottom : UITableView::ScrollPosition::top, false);
        table->layoutIfNeeded();
        auto cell = table->cellForRow(*at);
        if (!cell)
            continue;
        std::vector<std::shared_ptr<UIView>> stops;
        for (auto& run : readingOrder(cell))
            stops.insert(stops.end(), run.views.begin(), run.views.end());
        if (!stops.empty())
            return forward ? stops.front() : stops.back();
    }
    return nullptr;
}

bool UIInteractionDriver::editsDocumentPickerPath() const
{
    auto window = windowOf(*m_scene);
    auto field = window ? std::dynamic_pointer_cast<UIView>(window->firstResponder()) : nullptr;
    return field && field->accessibilityIdentifier() == Foundation::String(UIDocumentPickerViewController::pathFieldIdentifier);
}

bool UIInteractionDriver::moveFocus(bool forward)
{
    auto views = focusableViews();
    if (views.empty())
        return false;
    auto current = focusedView();
    auto here = std::ranges::find(views, current);
    const auto step = [&views, forward](std::size_t at) { return forward ? (at + 1) % views.size() : (at + views.size() - 1) % views.size(); };
    std::size_t index = 0;
    std::size_t next = 0;
    if (here != views.end()) {
        index = static_cast<std::size_t>(here - views.begin());
        next = step(index);
        // A focus group is one stop: the focus leaves it for the first view beyond it.
        if (const auto group = focusGroup(*current))
            for (std::size_t skipped = 1; skipped < views.size() && focusGroup(*views[next]) == group; ++skipped)
                next = step(next);
    } else if (!forward) {
        next = views.size() - 1;
    }
    // A table shows only some of its rows: the focus goes through the rows it can scroll to before it
    // leaves the table, and enters a table at its first row (last, going back).
    const bool wraps = here != views.end() && (forward ? next <= index : next >= index);
    auto [table, cell] = enclosingTable(current);
    if (table && (wraps || enclosingTable(views[next]).first != table)) {
        if (auto stop = focusableInRowsBeyondSight(table, table->indexPath(*cell), forward))
            return focus(stop);
    }
    auto [entered, enteredCell] = enclosingTable(views[next]);
    if (entered && entered != table) {
        if (auto stop = focusableInRowsBeyondSight(entered, std::nullopt, forward))
            return focus(stop);
    }
    return focus(groupEntry(views, views[next], forward));
}

bool UIInteractionDriver::moveFocusInGroup(bool forward)
{
    auto current = focusedView();
    const auto group = current ? focusGroup(*current) : std::nullopt;
    if (!group)
        return false;
    std::vector<std::shared_ptr<UIView>> members;
    std::ranges::copy_if(focusableViews(), std::back_inserter(members), [&group](const auto& view) { return focusGroup(*view) == group; });
    const auto here = std::ranges::find(members, current) - members.begin();
    const auto next = std::clamp<std::ptrdiff_t>(here + (forward ? 1 : -1), 0, std::ssize(members) - 1);
    // At either end the arrow stays in the group, as it does at a table's first and last rows.
    return next == here || focus(members[static_cast<std::size_t>(next)]);
}

std::shared_ptr<UITableView> UIInteractionDriver::arrowTable() const
{
    if (auto table = std::dynamic_pointer_cast<UITableView>(focusedView()))
        return table;
    for (const auto& view : focusableViews())
        if (auto table = std::dynamic_pointer_cast<UITableView>(view))
            return table;
    return nullptr;
}

bool UIInteractionDriver::moveTableSelection(std::int64_t rows)
{
    auto table = arrowTable();
    if (!table)
        return false;
    // Rows counted across sections, so that the arrows pass from one section into the next.
    std::vector<Foundation::IndexPath> all;
    for (std::int64_t section = 0; section < table->numberOfSections(); ++section)
        for (std::int64_t row = 0; row < table->numberOfRows(section); ++row)
            all.push_back(Foundation::IndexPath::withRow(row, section));
    if (all.empty())
        return false;
    std::int64_t target = rows > 0 ? 0 : static_cast<std::int64_t>(all.size()) - 1;
    if (auto current = keyboardRow(*table))
        if (auto at = std::ranges::find(all, *current); at != all.end())
            target = std::clamp<std::int64_t>((at - all.begin()) + rows, 0, static_cast<std::int64_t>(all.size()) - 1);
    const auto& indexPath = all[static_cast<std::size_t>(target)];
    m_keyboardRowTable = table;
    m_keyboardRow = indexPath;
    if (table->selectionFollowsFocus() && table->indexPathForSelectedRow() == indexPath)
        return true;
    table->scrollToRow(indexPath, UITableView::ScrollPosition::none, false);
    table->layoutIfNeeded();
    auto cell = table->cellForRow(indexPath);
    if (!cell)
        return false;
    if (auto window = table->window())
        window->setFocusedView(table);
    // The row is only pointed at, drawn as the focus; Return confirms it.
    if (!table->selectionFollowsFocus())
        return true;
    return tap(cell);
}

bool UIInteractionDriver::activateFocusedView()
{
    auto focused = focusedView();
    if (dynamic_cast<const UIFocusItem*>(focused.get()))
        return tap(focused);
    if (auto table = std::dynamic_pointer_cast<UITableView>(focused)) {
        if (!table->selectionFollowsFocus()) {
            // The row the arrows point at is confirmed as a click on it would be, selected or not.
            auto row = keyboardRow(*table);
            auto cell = row ? table->cellForRow(*row) : nullptr;
            if (!cell)
                return false;
            table->deselectRow(*row, false);
            return tap(cell);
        }
        auto selected = table->indexPathForSelectedRow();
        auto cell = selected ? table->cellForRow(*selected) : nullptr;
        return cell && tap(cell);
    }
    if (!std::dynamic_pointer_cast<UIControl>(focused) || std::dynamic_pointer_cast<UISegmentedControl>(focused)
        || std::dynamic_pointer_cast<UISlider>(focused) || std::dynamic_pointer_cast<UIStepper>(focused))
        return false;
    return tap(focused);
}

bool UIInteractionDriver::stepFocusedControl(int direction)
{
    auto focused = focusedView();
    if (!focused)
        return false;
    const CGRect bounds = focused->bounds();
    const CGFloat y = bounds.midY();
    if (auto segmented = std::dynamic_pointer_cast<UISegmentedControl>(focused)) {
        const auto count = segmented->numberOfSegments();
        const auto next = segmented->selectedSegmentIndex() + direction;
        if (count == 0 || next < 0 || next >= count)
            return false;
        const CGFloat width = bounds.size.width / static_cast<CGFloat>(count);
        return tap(focused, {bounds.origin.x + width * (static_cast<CGFloat>(next) + 0.5), y});
    }
    if (std::dynamic_pointer_cast<UIStepper>(focused))
        return tap(focused, {bounds.origin.x + bounds.size.width * (direction > 0 ? 0.75 : 0.25), y});
    if (auto slider = std::dynamic_pointer_cast<UISlider>(focused)) {
        const auto span = slider->maximumValue() - slider->minimumValue();
        const double fraction = span > 0 ? (slider->value() - slider->minimumValue()) / span : 0;
        const double next = std::clamp(fraction + 0.1 * direction, 0.0, 1.0);
        return tap(focused, {bounds.origin.x + bounds.size.width * next, y});
    }
    return false;
}

bool UIInteractionDriver::cancelScreen()
{
    auto window = windowOf(*m_scene);
    if (!window)
        return false;
    if (window->shownMenu()) {
        window->dismissMenu();
        return true;
    }
    // What a person would press to leave: the screen's Cancel or Back button, else a pop-over goes.
    auto screen = activeScreen();
    for (const auto& view : focusableViews())
        if (auto button = std::dynamic_pointer_cast<UIButton>(view);
            button && (button->currentTitle() == Foundation::String("Cancel") || button->currentTitle() == Foundation::String("Back")))
            return tap(button);
    return closePopover();
}

bool UIInteractionDriver::closePopover()
{
    auto window = windowOf(*m_scene);
    if (!window)
        return false;
    auto screen = activeScreen();
    for (const auto& controller : window->presentedViewControllers())
        if (controller->isViewLoaded() && controller->view() == screen
            && controller->modalPresentationStyle() == UIModalPresentationStyle::popover) {
            controller->dismiss(true);
            return true;
        }
    return false;
}

bool UIInteractionDriver::pressNavigating(const Foundation::String& keyName, UIKeyModifierFlags modifiers)
{
    const bool plain = !modifiers.contains(UIKeyModifierFlags::command()) && !modifiers.contains(UIKeyModifierFlags::control())
        && !modifiers.contains(UIKeyModifierFlags::alternate());
    const std::string name = keyName.utf8();
    if (plain && name == "Tab") {
        const bool forward = !modifiers.contains(UIKeyModifierFlags::shift());
        // In a document picker's path Tab completes the name typed so far, as a shell does; Shift-Tab
        // still leaves the field for the picker's buttons.
        if (forward && editsDocumentPickerPath())
            return press(keyName, modifiers);
        return moveFocus(forward);
    }
    // Command-W closes what is in front, and a pop-over is in front of its window.
    if (name == "w" && modifiers == UIKeyModifierFlags::command() && closePopover())
        return true;
    // Return and Space press a focused button, switch or item before the key commands of what holds it.
    if (plain && (name == "Return" || name == "Space")) {
        auto focused = focusedView();
        auto table = std::dynamic_pointer_cast<UITableView>(focused);
        const bool presses = std::dynamic_pointer_cast<UIControl>(focused) || dynamic_cast<const UIFocusItem*>(focused.get())
            || (table && !table->selectionFollowsFocus());
        if (presses && !isTextInput(*focused) && activateFocusedView())
            return true;
    }
    // The arrows move among the items of the focused group before the screen's own keys see them.
    if (plain && !modifiers.contains(UIKeyModifierFlags::shift()) && (name == "Up" || name == "Down" || name == "Left" || name == "Right"))
        if (auto focused = focusedView(); focused && focusGroup(*focused))
            return moveFocusInGroup(name == "Down" || name == "Right");
    // The arrows move in the table that holds the focus, before the screen's own keys move another.
    if (plain && !modifiers.contains(UIKeyModifierFlags::shift()) && std::dynamic_pointer_cast<UITableView>(focusedView()))
        if (auto move = tableMove(name))
            return moveTableSelection(*move);
    if (press(keyName, modifiers))
        return true;
    if (!plain)
        return false;
    if (name == "Return" || name == "Space")
        return activateFocusedView();
    if (name == "Escape")
        return cancelScreen();
    if (name == "Left" || name == "Right")
        return stepFocusedControl(name == "Left" ? -1 : 1);
    if (auto move = tableMove(name))
        return moveTableSelection(*move);
    return false;
}

std::optional<std::int64_t> UIInteractionDriver::tableMove(const std::string& keyName) const
{
    // A page is what the table shows less one row, so that a row of the last page stays in sight.
    auto table = arrowTable();
    const auto page = table && table->rowHeight() > 0
        ? std::max<std::int64_t>(1, static_cast<std::int64_t>(table->bounds().size.height / table->rowHeight()) - 1)
        : 1;
    const std::map<std::string, std::int64_t> moves {
        {"Up", -1}, {"Down", 1}, {"PageUp", -page}, {"PageDown", page}, {"Home", -1'000'000'000}, {"End", 1'000'000'000}};
    if (auto move = moves.find(keyName); move != moves.end())
        return move->second;
    return std::nullopt;
}

std::string UIInteractionDriver::describe() const
{
    return UIViewInspector::describe(*m_scene);
}

} // namespace UIKit
