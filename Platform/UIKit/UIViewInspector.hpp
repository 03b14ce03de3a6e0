#pragma once

#include "Platform/Foundation/String.hpp"

#include <memory>
#include <string>
#include <vector>

namespace UIKit {

class UIMenu;
class UIView;
class UIWindow;
class UIWindowScene;

// Looks at what is on screen as a person sees it: describes a window's view tree as text and finds views
// by accessibility identifier or by text across the visible windows of a scene, front to back (presented
// screens are in their presenter's window, on top). Hidden views and what they hold are passed over.
// Tests, the program's driver and a terminal front end share it.
class UIViewInspector {
public:
    // The texts a view shows: its accessibility label, a text field's text.
    static std::vector<Foundation::String> texts(const UIView& view);

    // The frontmost visible view with the identifier, or showing the text; none when there is none.
    static std::shared_ptr<UIView> viewWithIdentifier(const UIWindowScene& scene, const Foundation::String& identifier);
    static std::shared_ptr<UIView> viewWithText(const UIWindowScene& scene, const Foundation::String& text);
    // Either: an identifier first, then a text.
    static std::shared_ptr<UIView> find(const UIWindowScene& scene, const Foundation::String& identifierOrText);
    // Every visible view, frontmost first, that `matches` accepts.
    template <class Predicate>
    static std::vector<std::shared_ptr<UIView>> findAll(const UIWindowScene& scene, Predicate matches)
    {
        std::vector<std::shared_ptr<UIView>> found;
        for (const auto& view : visibleViews(scene))
            if (matches(*view))
                found.push_back(view);
        return found;
    }
    static std::vector<std::shared_ptr<UIView>> visibleViews(const UIWindowScene& scene);

    // One line a view, indented by depth: the type, "#identifier", the label in quotes, the value, the
    // states (focused, disabled, selected, highlighted, on, secure) and the frame in the superview.
    static std::string describe(const UIView& view);
    // Every visible window of the scene, frontmost first, each with the menu it shows.
    static std::string describe(const UIWindowScene& scene);
    static std::string describe(const UIMenu& menu, int depth = 0);
};

} // namespace UIKit
