#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UICollectionView.hpp"
#include "Platform/UIKit/UICollectionViewDataSource.hpp"
#include "Platform/UIKit/UICollectionViewFlowLayout.hpp"
#include "Platform/UIKit/UILabel.hpp"

#include <gtest/gtest.h>

using namespace UIKit;
using Foundation::IndexPath;
using Foundation::make;
using Foundation::String;

namespace {

// A tag: its text with 5 points around it.
class TagCell : public UICollectionViewCell {
public:
    std::shared_ptr<UILabel> label = make<UILabel>();

protected:
    friend Foundation::Construct;
    TagCell() = default;
    void initialize() override
    {
        UICollectionViewCell::initialize();
        label->setTranslatesAutoresizingMaskIntoConstraints(false);
        contentView()->addSubview(label);
        NSLayoutConstraint::activate({
            label->topAnchor().constraintEqualTo(contentView()->topAnchor(), 5),
            contentView()->bottomAnchor().constraintEqualTo(label->bottomAnchor(), 5),
            label->leadingAnchor().constraintEqualTo(contentView()->leadingAnchor(), 5),
            contentView()->trailingAnchor().constraintEqualTo(label->trailingAnchor(), 5),
        });
    }
};

struct Tags : UICollectionViewDataSource {
    std::vector<String> texts;
    std::int64_t numberOfItemsInSection(const UICollectionView&, std::int64_t) const override
    {
        return static_cast<std::int64_t>(texts.size());
    }
    std::shared_ptr<UICollectionViewCell> cellForItemAt(UICollectionView& view, const IndexPath& path) const override
    {
        auto cell = std::static_pointer_cast<TagCell>(view.dequeueReusableCell("Tag", path));
        cell->label->setText(texts[static_cast<std::size_t>(path.item())]);
        return cell;
    }
};

} // namespace

TEST(UICollectionView, ItemsWithEstimatedSizesTakeTheSizeOfTheirCells)
{
    auto layout = make<UICollectionViewFlowLayout>();
    auto view = make<UICollectionView>(CGRect {0, 0, 300, 400}, layout);
    view->registerCell<TagCell>("Tag");
    auto tags = std::make_shared<Tags>();
    tags->texts = {"home", "work", "a much longer tag"};
    view->setDataSource(tags);
    const auto size = [&](std::int64_t item) { return layout->layoutAttributesForItem(IndexPath::withItem(item, 0))->frame().size; };
    EXPECT_EQ(size(0), (CGSize {50, 50}));

    layout->setEstimatedItemSize(UICollectionViewFlowLayout::automaticSize());
    EXPECT_EQ(size(0), (CGSize {4 * TextGrid::columnWidth + 10, TextGrid::lineHeight + 10}));
    EXPECT_EQ(size(2), (CGSize {17 * TextGrid::columnWidth + 10, TextGrid::lineHeight + 10}));
}
