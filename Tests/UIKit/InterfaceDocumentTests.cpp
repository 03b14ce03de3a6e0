#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/NSCoder.hpp"
#include "Platform/UIKit/ClassRegistry.hpp"
#include "Platform/UIKit/UICollectionView.hpp"
#include "Platform/UIKit/UICollectionViewFlowLayout.hpp"
#include "Platform/UIKit/UINib.hpp"
#include "Platform/UIKit/UIStoryboard.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Tests/Support/Files.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include <gtest/gtest.h>

using namespace UIKit;
using Foundation::make;

namespace {

class GreetingViewController : public UIViewController {
protected:
    friend Foundation::Construct;
    GreetingViewController() = default;
    explicit GreetingViewController(Foundation::NSCoder& coder)
        : UIViewController(coder)
    {
    }
};

class AwakeCell : public UITableViewCell {
public:
    int awakenings = 0;
    void awakeFromNib() override { ++awakenings; }

protected:
    friend Foundation::Construct;
    explicit AwakeCell(Foundation::NSCoder& coder)
        : UITableViewCell(coder)
    {
    }
};

class ItemCell : public UICollectionViewCell {
protected:
    friend Foundation::Construct;
    explicit ItemCell(Foundation::NSCoder& coder)
        : UICollectionViewCell(coder)
    {
    }
};

// A bundle folder in a temporary home holding the documents a test writes.
struct DocumentBundle {
    TestSupport::TemporaryHome home;
    std::shared_ptr<Foundation::Bundle> bundle;

    DocumentBundle()
    {
        ClassRegistry::registerClass<GreetingViewController>("GreetingViewController");
        ClassRegistry::registerClass<AwakeCell>("AwakeCell");
        ClassRegistry::registerClass<ItemCell>("ItemCell");
        bundle = Foundation::Bundle::atPath(home.path().string());
    }
    void write(const std::string& file, const std::string& json) { TestSupport::writeText(home.path() / file, json); }
};

} // namespace

TEST(ClassRegistry, OffersTheInitialisersAClassHas)
{
    ClassRegistry::registerClass<GreetingViewController>("GreetingViewController");
    ClassRegistry::registerClass<AwakeCell>("AwakeCell");
    auto greeting = ClassRegistry::classNamed("GreetingViewController");
    ASSERT_TRUE(greeting);
    EXPECT_TRUE(greeting->make && greeting->makeWithCoder);
    EXPECT_TRUE(std::dynamic_pointer_cast<GreetingViewController>(greeting->make()));
    auto cell = ClassRegistry::classNamed("AwakeCell");
    ASSERT_TRUE(cell);
    EXPECT_FALSE(cell->make); // only init(coder:)
    EXPECT_EQ(ClassRegistry::name(typeid(AwakeCell)), "AwakeCell");
    EXPECT_TRUE(ClassRegistry::classNamed("UITableView")); // UIKit's own are known from the start
    EXPECT_FALSE(ClassRegistry::classNamed("NoSuchClass"));
}

TEST(UIStoryboard, MakesTheNamedControllersAnewEachTime)
{
    DocumentBundle documents;
    documents.write("Main.storyboard.json", R"({"initialViewController": "greeting", "objects": [
        {"class": "UIViewController", "identifier": "plain"},
        {"class": "GreetingViewController", "identifier": "greeting"}]})");
    auto storyboard = make<UIStoryboard>("Main", documents.bundle);
    auto initial = storyboard->instantiateInitialViewController();
    EXPECT_TRUE(std::dynamic_pointer_cast<GreetingViewController>(initial));
    EXPECT_NE(storyboard->instantiateInitialViewController(), initial);
    auto plain = storyboard->instantiateViewController("plain");
    ASSERT_TRUE(plain);
    EXPECT_FALSE(std::dynamic_pointer_cast<GreetingViewController>(plain));

    documents.write("Bare.storyboard.json", R"({"objects": [{"class": "UIViewController"}]})");
    EXPECT_EQ(make<UIStoryboard>("Bare", documents.bundle)->instantiateInitialViewController(), nullptr);
}

TEST(UIStoryboardDeathTest, MissingOrDamagedDocumentsAndUnknownNamesStop)
{
    DocumentBundle documents;
    EXPECT_DEATH(make<UIStoryboard>("Absent", documents.bundle), "Could not find a storyboard named 'Absent'");
    documents.write("Damaged.storyboard.json", R"({"objects": [{"identifier": "x"}]})");
    EXPECT_DEATH(make<UIStoryboard>("Damaged", documents.bundle), "storyboard 'Damaged' is damaged");
    documents.write("Main.storyboard.json", R"({"objects": [{"class": "Unregistered", "identifier": "x"}]})");
    auto storyboard = make<UIStoryboard>("Main", documents.bundle);
    EXPECT_DEATH(storyboard->instantiateViewController("y"), "doesn't contain a view controller with identifier 'y'");
    EXPECT_DEATH(storyboard->instantiateViewController("x"), "Unknown class Unregistered");
}

TEST(UINib, MakesItsTopLevelObjectsAndWakesTheViews)
{
    DocumentBundle documents;
    documents.write("AwakeCell.nib.json", R"({"objects": [
        {"class": "AwakeCell", "accessibilityIdentifier": "cell"}, {"class": "UIView"}]})");
    auto objects = make<UINib>("AwakeCell", documents.bundle)->instantiate(nullptr);
    ASSERT_EQ(objects.size(), 2u);
    auto cell = std::dynamic_pointer_cast<AwakeCell>(objects[0]);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->awakenings, 1);
    EXPECT_EQ(cell->accessibilityIdentifier(), "cell");
    ASSERT_TRUE(cell->contentView()); // made as by code

    // Tables and collection views make their cells from the nib's first object.
    auto table = make<UITableView>(CGRect {0, 0, 100, 100}, UITableView::Style::plain);
    table->registerCell(make<UINib>("AwakeCell", documents.bundle), "Awake");
    auto dequeued = std::dynamic_pointer_cast<AwakeCell>(table->dequeueReusableCell("Awake", Foundation::IndexPath::withRow(0, 0)));
    ASSERT_TRUE(dequeued);
    EXPECT_EQ(dequeued->reuseIdentifier(), "Awake");
    table->registerHeaderFooterView(make<UINib>("AwakeCell", documents.bundle), "NotAHeader");
    EXPECT_EQ(table->dequeueReusableHeaderFooterView("NotAHeader"), nullptr);

    documents.write("ItemCell.nib.json", R"({"objects": [{"class": "ItemCell"}]})");
    auto collection = make<UICollectionView>(CGRect {0, 0, 100, 100}, make<UICollectionViewFlowLayout>());
    collection->registerCell(make<UINib>("ItemCell", documents.bundle), "Item");
    auto item = collection->dequeueReusableCell("Item", Foundation::IndexPath::withItem(0, 0));
    ASSERT_TRUE(std::dynamic_pointer_cast<ItemCell>(item));
    EXPECT_EQ(item->reuseIdentifier(), "Item");
    EXPECT_EQ(collection->dequeueReusableCell("Other", Foundation::IndexPath::withItem(0, 0)), nullptr);
}

TEST(UINibDeathTest, AMissingNibStopsWhenItIsFirstUsed)
{
    DocumentBundle documents;
    auto nib = make<UINib>("Absent", documents.bundle);
    EXPECT_DEATH(nib->instantiate(nullptr), "Could not find a nib named 'Absent'");
}
