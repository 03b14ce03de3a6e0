#include "Basalwork/Interface/AlignedFlowLayout.hpp"

#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UICollectionView.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::IndexPath;
using Foundation::make;
using UIKit::CGRect;
using UIKit::CGSize;

namespace {

struct Items : UIKit::UICollectionViewDataSource, UIKit::UICollectionViewDelegateFlowLayout {
    std::vector<CGSize> sizes;
    std::int64_t numberOfItemsInSection(const UIKit::UICollectionView&, std::int64_t) const override
    {
        return static_cast<std::int64_t>(sizes.size());
    }
    std::optional<CGSize> sizeForItemAt(const UIKit::UICollectionView&, const UIKit::UICollectionViewLayout&,
                                        const IndexPath& path) const override
    {
        return sizes.at(static_cast<std::size_t>(path.item()));
    }
};

// A 300-point-wide collection view showing `sizes` with insets 10 left and right and spacing 8.
struct Fixture {
    std::shared_ptr<Items> items = std::make_shared<Items>();
    std::shared_ptr<AlignedFlowLayout> layout;
    std::shared_ptr<UIKit::UICollectionView> view;

    Fixture(std::vector<CGSize> sizes, HorizontalAlignment horizontal, VerticalAlignment vertical)
    {
        items->sizes = std::move(sizes);
        layout = make<AlignedFlowLayout>(horizontal, vertical);
        layout->setSectionInset({0, 10, 0, 10});
        layout->setMinimumInteritemSpacing(8);
        view = make<UIKit::UICollectionView>(CGRect {0, 0, 300, 400}, layout);
        view->setDataSource(items);
        view->setDelegate(items);
    }
    CGRect frame(std::int64_t item) const { return layout->layoutAttributesForItem(IndexPath::withItem(item, 0))->frame(); }
    CGRect flowFrame(std::int64_t item) const
    {
        return layout->UICollectionViewFlowLayout::layoutAttributesForItem(IndexPath::withItem(item, 0))->frame();
    }
};

} // namespace

TEST(AlignedFlowLayout, DefaultsLeaveTheFlowLayoutsFramesAlone)
{
    Fixture fixture({{50, 40}, {80, 60}, {60, 40}, {200, 30}, {100, 30}}, HorizontalAlignment::justified,
                    VerticalAlignment::center);
    for (std::int64_t item = 0; item < 5; ++item)
        EXPECT_EQ(fixture.frame(item), fixture.flowFrame(item)) << item;
    // The flow layout spreads a line and centres a lone item; the alignment tests below rely on that.
    EXPECT_EQ(fixture.flowFrame(2).maxX(), 290);
    EXPECT_EQ(fixture.flowFrame(4).minX(), 100);
}

TEST(AlignedFlowLayout, LeftAlignmentPacksEachLineFromTheInset)
{
    Fixture fixture({{50, 40}, {80, 40}, {60, 40}, {200, 30}, {100, 30}}, HorizontalAlignment::left,
                    VerticalAlignment::center);
    EXPECT_EQ(fixture.frame(0).minX(), 10);
    EXPECT_EQ(fixture.frame(1).minX(), 68);
    EXPECT_EQ(fixture.frame(2).minX(), 156);
    EXPECT_EQ(fixture.frame(4).minX(), 10); // alone on its line
    // The flow layout's own objects are untouched.
    EXPECT_NE(fixture.flowFrame(1).minX(), 68);
}

TEST(AlignedFlowLayout, RightAndLeadingInRightToLeftEndEachLineAtTheInset)
{
    for (auto alignment : {HorizontalAlignment::right, HorizontalAlignment::leading}) {
        auto application = UIKit::UIApplication::shared();
        struct Restore {
            ~Restore() { UIKit::UIApplication::shared()->setUserInterfaceLayoutDirection(UIKit::UIUserInterfaceLayoutDirection::leftToRight); }
        } restore;
        if (alignment == HorizontalAlignment::leading)
            application->setUserInterfaceLayoutDirection(UIKit::UIUserInterfaceLayoutDirection::rightToLeft);
        Fixture fixture({{50, 40}, {80, 40}, {60, 40}}, alignment, VerticalAlignment::center);
        EXPECT_EQ(fixture.frame(2).maxX(), 290);
        EXPECT_EQ(fixture.frame(2).minX() - fixture.frame(1).maxX(), 8);
        EXPECT_EQ(fixture.frame(1).minX() - fixture.frame(0).maxX(), 8);
    }
}

TEST(AlignedFlowLayout, TopAndBottomMeetTheTallestItemsEdge)
{
    Fixture top({{50, 40}, {80, 60}}, HorizontalAlignment::justified, VerticalAlignment::top);
    EXPECT_EQ(top.frame(0).minY(), top.frame(1).minY());
    Fixture bottom({{50, 40}, {80, 60}}, HorizontalAlignment::justified, VerticalAlignment::bottom);
    EXPECT_EQ(bottom.frame(0).maxY(), bottom.frame(1).maxY());
    EXPECT_EQ(bottom.frame(0).minX(), bottom.flowFrame(0).minX());
}

TEST(AlignedFlowLayout, ElementsInARectMoveCellsButNotHeaders)
{
    Fixture fixture({{50, 40}, {80, 40}}, HorizontalAlignment::left, VerticalAlignment::top);
    fixture.layout->setHeaderReferenceSize({0, 20});
    auto elements = fixture.layout->layoutAttributesForElements({0, 0, 300, 400});
    ASSERT_TRUE(elements);
    ASSERT_EQ(elements->size(), 3u);
    EXPECT_EQ((*elements)[0]->representedElementCategory(), UIKit::UICollectionElementCategory::supplementaryView);
    EXPECT_EQ((*elements)[0]->frame(), (CGRect {0, 0, 300, 20}));
    EXPECT_EQ((*elements)[1]->frame(), (CGRect {10, 20, 50, 40}));
    EXPECT_EQ((*elements)[2]->frame(), (CGRect {68, 20, 80, 40}));
}

TEST(AlignedFlowLayout, LinesThatTouchStayApart)
{
    // Without line spacing the second line starts where the first ends; it is still a line of its own.
    for (auto alignment : {VerticalAlignment::top, VerticalAlignment::bottom}) {
        Fixture fixture({{200, 40}, {200, 20}}, HorizontalAlignment::left, alignment);
        fixture.layout->setMinimumLineSpacing(0);
        EXPECT_EQ(fixture.frame(0), (CGRect {10, 0, 200, 40}));
        EXPECT_EQ(fixture.frame(1), (CGRect {10, 40, 200, 20}));
    }
}
