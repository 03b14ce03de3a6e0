#pragma once

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/UIKit/UIContentSizeCategory.hpp"
#include "Platform/UIKit/UIFont.hpp"

#include <memory>
#include <vector>

namespace UIKit {
class UIButton;
class UILabel;
class UITextField;
class UITextView;
}

namespace Basalwork {

using UpdateableFonts = std::vector<std::shared_ptr<UIKit::UIFont>>;

// Something that shows fonts built from text styles and lets Dynamic Type replace them, in a fixed order.
class PreferredContentSizeCategoryFontUpdateable {
public:
    virtual ~PreferredContentSizeCategoryFontUpdateable() = default;
    virtual UpdateableFonts updateableFonts() const = 0;
    virtual void setUpdateableFonts(const UpdateableFonts& fonts) = 0;
};

inline UpdateableFonts updateableFonts(const PreferredContentSizeCategoryFontUpdateable& object)
{
    return object.updateableFonts();
}
inline void setUpdateableFonts(PreferredContentSizeCategoryFontUpdateable& object, const UpdateableFonts& fonts)
{
    object.setUpdateableFonts(fonts);
}

// A label's one font; an empty list gives the label its default font back.
UpdateableFonts updateableFonts(const UIKit::UILabel& label);
void setUpdateableFonts(UIKit::UILabel& label, const UpdateableFonts& fonts);
UpdateableFonts updateableFonts(const UIKit::UITextField& field);
void setUpdateableFonts(UIKit::UITextField& field, const UpdateableFonts& fonts);
UpdateableFonts updateableFonts(const UIKit::UITextView& textView);
void setUpdateableFonts(UIKit::UITextView& textView, const UpdateableFonts& fonts);
// The title label's font; a button without a title label is left alone.
UpdateableFonts updateableFonts(const UIKit::UIButton& button);
void setUpdateableFonts(UIKit::UIButton& button, const UpdateableFonts& fonts);

template <class T>
concept FontUpdateable = requires(T& object, const UpdateableFonts& fonts) {
    { updateableFonts(std::as_const(object)) } -> std::same_as<UpdateableFonts>;
    setUpdateableFonts(object, fonts);
};

// Each font of a text style becomes that style's size at the user's text size kept within the global
// bounds, keeping its own weight and design; a font of no text style becomes none.
UpdateableFonts fontsForPreferredContentSizeCategory(const UpdateableFonts& fonts);

template <FontUpdateable T>
void updateFontsForPreferredContentSizeCategory(T& object)
{
    setUpdateableFonts(object, fontsForPreferredContentSizeCategory(updateableFonts(std::as_const(object))));
}

// Rescales now and on every change of the text size or of its bounds. The observer holds the object
// weakly and is never removed; registering twice rescales twice.
template <FontUpdateable T>
void registerForPreferredContentSizeCategoryChanges(const std::shared_ptr<T>& object)
{
    std::weak_ptr<T> weak = object;
    Foundation::NotificationCenter::defaultCenter()->addObserver(
        UIKit::UIContentSizeCategory::didChangeNotification(), nullptr, Foundation::OperationQueue::main(),
        [weak](const Foundation::Notification&) {
            if (auto strong = weak.lock())
                updateFontsForPreferredContentSizeCategory(*strong);
        });
    updateFontsForPreferredContentSizeCategory(*object);
}

} // namespace Basalwork
