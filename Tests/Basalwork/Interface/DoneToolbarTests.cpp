#include "Basalwork/Interface/DoneToolbar.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIScreen.hpp"

#include <gtest/gtest.h>

using Basalwork::DoneToolbar;
using Foundation::make;
using UIKit::CGRect;

namespace {

class DoneTarget : public Foundation::NSObject {
public:
    int taps = 0;
    void done() { ++taps; }

protected:
    friend Foundation::Construct;
    DoneTarget() = default;
};

} // namespace

TEST(DoneToolbar, OneDoneButtonAfterAFlexibleSpaceReachesTheTarget)
{
    auto target = make<DoneTarget>();
    auto toolbar = make<DoneToolbar>(target, &DoneTarget::done);
    ASSERT_EQ(toolbar->items().size(), 2u);
    EXPECT_EQ(toolbar->items()[0]->systemItem(), UIKit::UIBarButtonItem::SystemItem::flexibleSpace);
    EXPECT_FALSE(toolbar->items()[0]->hasAction());
    const auto& done = toolbar->items()[1];
    EXPECT_EQ(done->title(), Foundation::String("Done"));
    EXPECT_EQ(done->style(), UIKit::UIBarButtonItem::Style::done);
    done->sendAction();
    EXPECT_EQ(target->taps, 1);

    EXPECT_EQ(toolbar->frame(), (CGRect {0, 0, UIKit::UIScreen::main()->bounds().size.width, UIKit::UIToolbar::standardHeight}));
    EXPECT_EQ(toolbar->tintColor(), UIKit::UIColor::label());

    target.reset(); // held weakly: a tap after the target is gone reaches nothing
    done->sendAction();
}
