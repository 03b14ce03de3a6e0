#pragma once

#include "Platform/Foundation/NSCoder.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/UIBarButtonItem.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIToolbar.hpp"

#include <memory>

namespace Basalwork {

// A keyboard toolbar with a single "Done" button at its trailing end. It is only made with a target and
// action: a toolbar made from a frame alone would have a button that does nothing.
class DoneToolbar : public UIKit::UIToolbar {
protected:
    friend Foundation::Construct;
    // init(target:selector:): either may be absent, and the button then does nothing when tapped.
    template <class Target>
    DoneToolbar(const std::shared_ptr<Target>& target, void (Target::*selector)())
        : UIToolbar(mainScreenBounds())
    {
        setItems({flexibleSpace(), Foundation::make<UIKit::UIBarButtonItem>(Foundation::String("Done"),
                                                                          UIKit::UIBarButtonItem::Style::done,
                                                                          target, selector)});
        setTintColor(UIKit::UIColor::label());
    }
    // init(coder:): never made from an archive.
    explicit DoneToolbar(const Foundation::NSCoder& coder);
    // Sizes itself to fit once it is whole.
    void initialize() override;

private:
    static UIKit::CGRect mainScreenBounds();
    static std::shared_ptr<UIKit::UIBarButtonItem> flexibleSpace();
};

} // namespace Basalwork
