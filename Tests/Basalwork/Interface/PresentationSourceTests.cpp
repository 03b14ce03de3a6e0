#include "Basalwork/Interface/AlertController.hpp"
#include "Basalwork/Interface/PresentationSource.hpp"
#include "Basalwork/Interface/UIPopoverPresentationController.hpp"

#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIPopoverPresentationController.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::make;
using UIKit::CGRect;

namespace {

class PopoverDelegate : public Foundation::NSObject, public UIKit::UIPopoverPresentationControllerDelegate {
protected:
    friend Foundation::Construct;
    PopoverDelegate() = default;
};

} // namespace

TEST(AlertController, StartsWithoutAnIdentifierAndKeepsTheOneItIsGiven)
{
    auto alert = make<AlertController>("Delete item?", std::nullopt, UIKit::UIAlertController::Style::alert);
    EXPECT_EQ(alert->identifier(), std::nullopt);
    alert->setIdentifier("delete-confirmation");
    EXPECT_EQ(alert->identifier(), Foundation::String("delete-confirmation"));
    EXPECT_EQ(alert->title(), Foundation::String("Delete item?"));
    EXPECT_EQ(alert->popoverPresentationController(), nullptr);

    // An action sheet is anchored as a pop-over.
    auto sheet = make<AlertController>(std::nullopt, "Share", UIKit::UIAlertController::Style::actionSheet);
    EXPECT_NE(sheet->popoverPresentationController(), nullptr);
}

TEST(PresentationSource, AViewAnchorsOnTheBoundsItHadWhenTaken)
{
    auto view = make<UIKit::UIView>();
    auto source = PresentationSource::view(view);
    view->setFrame({0, 0, 120, 40});

    const auto* anchor = source.as<PresentationSource::Source>();
    ASSERT_NE(anchor, nullptr);
    EXPECT_EQ(anchor->view, view);
    EXPECT_EQ(anchor->rect, CGRect::zero());
    EXPECT_EQ(PresentationSource::view(view).as<PresentationSource::Source>()->rect, (CGRect {0, 0, 120, 40}));
}

TEST(PresentationSource, SwitchingAnchorsLeavesNothingOfTheOtherKind)
{
    auto alert = make<AlertController>(std::nullopt, std::nullopt, UIKit::UIAlertController::Style::actionSheet);
    auto popover = alert->popoverPresentationController();
    auto item = make<UIKit::UIBarButtonItem>();
    auto view = make<UIKit::UIView>();

    setPresentationSource(*popover, PresentationSource::source(view, {5, 6, 7, 8}));
    setPresentationSource(*popover, PresentationSource::barButtonItem(item));
    EXPECT_EQ(popover->barButtonItem(), item);
    EXPECT_EQ(popover->sourceView(), nullptr);
    EXPECT_EQ(popover->sourceRect(), CGRect::zero());

    auto delegate = make<PopoverDelegate>();
    setPresentationSource(*popover, PresentationSource::source(view, {5, 6, 7, 8}), UIKit::UIPopoverArrowDirection::up(),
                          delegate);
    EXPECT_EQ(popover->barButtonItem(), nullptr);
    EXPECT_EQ(popover->sourceView(), view);
    EXPECT_EQ(popover->sourceRect(), (CGRect {5, 6, 7, 8}));
    EXPECT_EQ(popover->permittedArrowDirections(), UIKit::UIPopoverArrowDirection::up());
    EXPECT_EQ(popover->delegate(), delegate);

    // The delegate is held weakly.
    delegate.reset();
    EXPECT_EQ(popover->delegate(), nullptr);
}
