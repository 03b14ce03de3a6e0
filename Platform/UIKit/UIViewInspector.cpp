#include "Platform/UIKit/UIViewInspector.hpp"

#include "Platform/UIKit/UIAction.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UICommand.hpp"
#include "Platform/UIKit/UIImage.hpp"
#include "Platform/UIKit/UIControl.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UISwitch.hpp"
#include "Platform/UIKit/UITableViewCell.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sstream>

namespace UIKit {
namespace {

std::vector<std::shared_ptr<UIWindow>> visibleWindows(const UIWindowScene& scene)
{
    std::vector<std::shared_ptr<UIWindow>> windows;
    for (const auto& window : UIApplication::shared()->windowsFrontToBack())
        if (window->windowScene().get() == &scene)
            windows.push_back(window);
    return windows;
}

// Frontmost first: later subviews lie in front of earlier ones.
void collectVisible(const std::shared_ptr<UIView>& view, std::vector<std::shared_ptr<UIView>>& into)
{
    if (view->isHidden())
        return;
    into.push_back(view);
    const auto& subviews = view->subviews();
    for (auto subview = subviews.rbegin(); subview != subviews.rend(); ++subview)
        collectVisible(*subview, into);
}

std::string number(CGFloat value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

void describeTree(const UIView& view, int depth, std::ostringstream& out)
{
    out << UIViewInspector::describe(view).insert(0, static_cast<std::size_t>(depth) * 2, ' ') << '\n';
    if (view.isHidden())
        return;
    for (const auto& subview : view.subviews())
        describeTree(*subview, depth + 1, out);
}

} // namespace

std::vector<Foundation::String> UIViewInspector::texts(const UIView& view)
{
    std::vector<Foundation::String> result;
    if (auto label = view.accessibilityLabel(); label && !label->isEmpty())
        result.push_back(*label);
    if (const auto* field = dynamic_cast<const UITextField*>(&view); field && !field->isSecureTextEntry() && !field->text().isEmpty())
        result.push_back(field->text());
    return result;
}

std::vector<std::shared_ptr<UIView>> UIViewInspector::visibleViews(const UIWindowScene& scene)
{
    std::vector<std::shared_ptr<UIView>> views;
    for (const auto& window : visibleWindows(scene))
        collectVisible(window, views);
    return views;
}

std::shared_ptr<UIView> UIViewInspector::viewWithIdentifier(const UIWindowScene& scene, const Foundation::String& identifier)
{
    auto found = findAll(scene, [&](const UIView& view) { return view.accessibilityIdentifier() == identifier; });
    return found.empty() ? nullptr : found.front();
}

std::shared_ptr<UIView> UIViewInspector::viewWithText(const UIWindowScene& scene, const Foundation::String& text)
{
    auto found = findAll(scene, [&](const UIView& view) {
        auto shown = texts(view);
        return std::ranges::find(shown, text) != shown.end();
    });
    return found.empty() ? nullptr : found.front();
}

std::shared_ptr<UIView> UIViewInspector::find(const UIWindowScene& scene, const Foundation::String& identifierOrText)
{
    if (auto view = viewWithIdentifier(scene, identifierOrText))
        return view;
    return viewWithText(scene, identifierOrText);
}

std::string UIViewInspector::describe(const UIView& view)
{
    std::string line = view.className();
    if (const auto& identifier = view.accessibilityIdentifier())
        line += " #" + identifier->utf8();
    if (auto label = view.accessibilityLabel())
        line += " \"" + label->utf8() + "\"";
    if (auto value = view.accessibilityValue(); value && !dynamic_cast<const UISwitch*>(&view))
        line += " value=\"" + value->utf8() + "\"";
    std::vector<std::string> states;
    if (view.isHidden())
        states.emplace_back("hidden");
    if (view.isFirstResponder())
        states.emplace_back("focused");
    if (const auto* window = dynamic_cast<const UIWindow*>(&view)) {
        if (window->isKeyWindow())
            states.emplace_back("key");
        states.push_back("level " + number(window->windowLevel().rawValue));
    }
    if (const auto* control = dynamic_cast<const UIControl*>(&view)) {
        if (!control->isEnabled())
            states.emplace_back("disabled");
        if (control->isSelected())
            states.emplace_back("selected");
        if (control->isHighlighted())
            states.emplace_back("highlighted");
    }
    if (const auto* toggle = dynamic_cast<const UISwitch*>(&view))
        states.emplace_back(toggle->isOn() ? "on" : "off");
    if (const auto* field = dynamic_cast<const UITextField*>(&view); field && field->isSecureTextEntry())
        states.emplace_back("secure");
    if (const auto* cell = dynamic_cast<const UITableViewCell*>(&view)) {
        if (cell->isSelected())
            states.emplace_back("selected");
        if (cell->isHighlighted())
            states.emplace_back("highlighted");
    }
    for (const auto& state : states)
        line += " " + state;
    const CGRect frame = view.frame();
    line += " (" + number(frame.origin.x) + ", " + number(frame.origin.y) + ", " + number(frame.size.width) + ", "
        + number(frame.size.height) + ")";
    return line;
}

std::string UIViewInspector::describe(const UIMenu& menu, int depth)
{
    std::ostringstream out;
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    out << indent << "UIMenu";
    if (!menu.title().isEmpty())
        out << " \"" << menu.title().utf8() << "\"";
    out << " #" << menu.identifier().rawValue.utf8() << '\n';
    for (const auto& child : menu.children()) {
        if (auto submenu = std::dynamic_pointer_cast<UIMenu>(child)) {
            out << describe(*submenu, depth + 1);
            continue;
        }
        out << indent << "  " << child->className() << " \"" << child->title().utf8() << "\"";
        // Symbols are not drawn: their names stand in for them.
        if (const auto& image = child->image(); image && image->systemName())
            out << " image=" << image->systemName()->utf8();
        auto attributes = UIMenuElement::Attributes();
        auto state = UIMenuElement::State::off;
        if (auto command = std::dynamic_pointer_cast<UICommand>(child)) {
            attributes = command->attributes();
            state = command->state();
        } else if (auto action = std::dynamic_pointer_cast<UIAction>(child)) {
            attributes = action->attributes();
            state = action->state();
        }
        if (attributes.contains(UIMenuElement::Attributes::disabled()))
            out << " disabled";
        if (state == UIMenuElement::State::on)
            out << " on";
        out << '\n';
    }
    return out.str();
}

std::string UIViewInspector::describe(const UIWindowScene& scene)
{
    std::ostringstream out;
    for (const auto& window : visibleWindows(scene)) {
        describeTree(*window, 0, out);
        if (const auto& menu = window->shownMenu())
            out << describe(*menu, 1);
    }
    return out.str();
}

} // namespace UIKit
