#include "Basalwork/Interface/DisplayLargeTitlesOnInitialAppearanceHack.hpp"
#include "Basalwork/Interface/KeyCommandDisabledTableView.hpp"
#include "Basalwork/Interface/NibLoadable.hpp"
#include "Basalwork/Interface/SearchBarWithCancelButtonAlwaysEnabled.hpp"
#include "Basalwork/Interface/StoryboardInstantiable.hpp"
#include "Basalwork/Interface/UICollectionView.hpp"
#include "Basalwork/Interface/UITableView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/ClassRegistry.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UICollectionViewFlowLayout.hpp"
#include "Platform/UIKit/UISearchTextField.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Tests/Support/Files.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::IndexPath;
using Foundation::make;
using UIKit::ClassRegistry;

namespace Outer {

template <class T>
struct Holder {
    class Cell : public UIKit::UITableViewCell {
    protected:
        friend Foundation::Construct;
        Cell() = default;
    };
};

struct Item {};

} // namespace Outer

namespace {

template <class T>
class Box : public UIKit::UICollectionViewCell {
protected:
    friend Foundation::Construct;
    Box() = default;
    explicit Box(Foundation::NSCoder& coder)
        : UICollectionViewCell(coder)
    {
    }
};

class NoteCell : public UIKit::UITableViewCell {
protected:
    friend Foundation::Construct;
    NoteCell() = default;
    explicit NoteCell(Foundation::NSCoder& coder)
        : UITableViewCell(coder)
    {
    }
};

class LoginViewController : public UIKit::UIViewController {
protected:
    friend Foundation::Construct;
    explicit LoginViewController(Foundation::NSCoder& coder)
        : UIViewController(coder)
    {
    }
};

class Settings : public UIKit::UIViewController {};

// A bundle in a temporary home with the documents a test writes, and the classes they name.
struct Documents {
    TestSupport::TemporaryHome home;
    std::shared_ptr<Foundation::Bundle> bundle;

    Documents()
    {
        ClassRegistry::registerClass<NoteCell>("NoteCell");
        ClassRegistry::registerClass<Box<Outer::Item>>("ItemBox");
        ClassRegistry::registerClass<LoginViewController>("LoginViewController");
        bundle = Foundation::Bundle::atPath(home.path().string());
    }
    void write(const std::string& file, const std::string& json) { TestSupport::writeText(home.path() / file, json); }
};

std::shared_ptr<UIKit::UITableView> makeTable()
{
    return make<KeyCommandDisabledTableView>(UIKit::CGRect {0, 0, 320, 480}, UIKit::UITableView::Style::plain);
}

std::shared_ptr<UIKit::UICollectionView> makeCollection()
{
    return make<UIKit::UICollectionView>(UIKit::CGRect {0, 0, 320, 480}, make<UIKit::UICollectionViewFlowLayout>());
}

} // namespace

TEST(ReuseIdentifiable, IsTheBareTypeNameEvenInsideTemplates)
{
    EXPECT_EQ(reuseIdentifier<NoteCell>(), "NoteCell");
    EXPECT_EQ(reuseIdentifier<Outer::Holder<int>::Cell>(), "Cell");
    EXPECT_EQ(reuseIdentifier<Outer::Holder<Outer::Item>::Cell>(), "Cell");
    EXPECT_EQ(reuseIdentifier<Box<Outer::Item>>(), "Box<Item>");
    EXPECT_EQ(xibFilename<Outer::Holder<int>::Cell>(), "Cell");
    EXPECT_EQ(make<Outer::Holder<int>::Cell>()->className(), "Cell");
}

TEST(ReuseIdentifiable, RegisteredTypesAreDequeuedByTableAndCollectionViews)
{
    auto table = makeTable();
    registerReuseIdentifiableClass<Outer::Holder<int>::Cell>(*table);
    EXPECT_TRUE(dequeueReusableCell<Outer::Holder<int>::Cell>(*table, IndexPath::withRow(0, 0)));
    EXPECT_EQ(table->keyCommands(), std::nullopt);

    auto collection = makeCollection();
    registerReuseIdentifiableClass<Box<Outer::Item>>(*collection);
    auto cell = dequeueReusableCell<Box<Outer::Item>>(*collection, IndexPath::withItem(3, 0));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->reuseIdentifier(), "Box<Item>");
}

TEST(ReuseIdentifiableDeathTest, DequeuingWhatWasNeverRegisteredStopsNamingTheIdentifier)
{
    auto table = makeTable();
    table->registerCell<UIKit::UITableViewCell>("NoteCell"); // another class under the identifier
    EXPECT_DEATH(dequeueReusableCell<NoteCell>(*table, IndexPath::withRow(0, 0)),
                 "Could not dequeue cell with reuseIdentifier -- NoteCell --");
    auto collection = makeCollection();
    EXPECT_DEATH(dequeueReusableCell<Box<int>>(*collection, IndexPath::withItem(0, 0)),
                 "Could not dequeue cell with reuseIdentifier -- Box<int> --");
}

TEST(NibLoadable, ViewsComeFromTheFileNamedAfterTheirType)
{
    Documents documents;
    documents.write("NoteCell.nib.json", R"({"objects": [{"class": "NoteCell", "accessibilityIdentifier": "note"}]})");
    documents.write("Box<Item>.nib.json", R"({"objects": [{"class": "ItemBox"}]})");

    auto loaded = loadFromXib<NoteCell>(documents.bundle);
    EXPECT_EQ(loaded->accessibilityIdentifier(), "note");

    auto table = makeTable();
    registerNib<NoteCell>(*table, documents.bundle);
    EXPECT_EQ(dequeueReusableCell<NoteCell>(*table, IndexPath::withRow(0, 0))->accessibilityIdentifier(), "note");
    auto collection = makeCollection();
    registerNib<Box<Outer::Item>>(*collection, documents.bundle);
    EXPECT_TRUE(dequeueReusableCell<Box<Outer::Item>>(*collection, IndexPath::withItem(0, 0)));
}

TEST(NibLoadableDeathTest, AFileWhoseFirstObjectIsOfAnotherTypeStops)
{
    Documents documents;
    documents.write("NoteCell.nib.json", R"({"objects": [{"class": "UIView"}, {"class": "NoteCell"}]})");
    EXPECT_DEATH(loadFromXib<NoteCell>(documents.bundle), "The first object of NoteCell is not a NoteCell");
}

TEST(StoryboardInstantiable, TheStoryboardIsNamedAfterTheControllerType)
{
    EXPECT_EQ(storyboardFilename<LoginViewController>(), "Login");
    EXPECT_EQ(storyboardFilename<Settings>(), "Settings");

    Documents documents;
    documents.write("Login.storyboard.json",
                    R"({"initialViewController": "login", "objects": [{"class": "LoginViewController", "identifier": "login"}]})");
    EXPECT_TRUE(instantiateFromStoryboard<LoginViewController>(documents.bundle));
}

TEST(StoryboardInstantiableDeathTest, AStoryboardThatDoesNotMatchTheClassStops)
{
    Documents documents;
    documents.write("Login.storyboard.json",
                    R"({"initialViewController": "other", "objects": [{"class": "UIViewController", "identifier": "other"}]})");
    EXPECT_DEATH(instantiateFromStoryboard<LoginViewController>(documents.bundle),
                 "Failed to instantiate initial view controller of type LoginViewController from Login.storyboard; "
                 "received instance of Optional<UIViewController> instead. Ensure Usage Requirements section of "
                 "StoryboardInstantiable documentation have been followed exactly.");
}

TEST(SearchBarWithCancelButtonAlwaysEnabled, KeepsTheCancelButtonEnabledAfterEditingEnds)
{
    auto window = make<UIKit::UIWindow>(make<UIKit::UIWindowScene>());
    window->makeKeyAndVisible();
    auto bar = make<SearchBarWithCancelButtonAlwaysEnabled>();
    auto plain = make<UIKit::UISearchBar>();
    window->addSubview(bar);
    window->addSubview(plain);
    for (const auto& searchBar : std::vector<std::shared_ptr<UIKit::UISearchBar>> {bar, plain}) {
        searchBar->setShowsCancelButton(true);
        ASSERT_TRUE(searchBar->searchTextField()->becomeFirstResponder());
        ASSERT_TRUE(searchBar->searchTextField()->resignFirstResponder());
    }
    auto buttons = findSubviewsRecursively<UIKit::UIButton>(*bar);
    ASSERT_FALSE(buttons.empty());
    EXPECT_TRUE(buttons.front()->isEnabled());
    EXPECT_FALSE(findSubviewsRecursively<UIKit::UIButton>(*plain).front()->isEnabled());

    // Hidden, the button is left as the bar leaves it.
    bar->setShowsCancelButton(false, false);
    ASSERT_TRUE(bar->searchTextField()->becomeFirstResponder());
    ASSERT_TRUE(bar->searchTextField()->resignFirstResponder());
    EXPECT_FALSE(buttons.front()->isEnabled());
}

TEST(DisplayLargeTitlesOnInitialAppearanceHack, ThePlaceholderStaysUntilTheFirstAppearance)
{
    auto item = make<UIKit::UINavigationItem>();
    auto hack = make<DisplayLargeTitlesOnInitialAppearanceHack>(item);
    hack->performViewDidLoadActionsIfRequired();
    EXPECT_EQ(item->searchController(), hack->searchController());
    EXPECT_FALSE(item->hidesSearchBarWhenScrolling());
    EXPECT_EQ(hack->hidesSearchBarWhenScrollingSetOutsideOfHack(), std::nullopt); // its own change is not the owner's

    hack->performViewDidAppearActionsIfRequired();
    EXPECT_EQ(item->searchController(), nullptr);
    EXPECT_TRUE(item->hidesSearchBarWhenScrolling()); // the owner never set it
    EXPECT_TRUE(hack->hasPerformedHack());

    // Afterwards nothing happens, and the owner's changes are the owner's alone.
    item->setHidesSearchBarWhenScrolling(false);
    hack->performViewDidLoadActionsIfRequired();
    hack->performViewDidAppearActionsIfRequired();
    EXPECT_EQ(item->searchController(), nullptr);
    EXPECT_FALSE(item->hidesSearchBarWhenScrolling());
}

TEST(DisplayLargeTitlesOnInitialAppearanceHack, TheOwnersOwnSettingsWin)
{
    for (bool ownersValue : {true, false}) {
        auto item = make<UIKit::UINavigationItem>();
        auto hack = make<DisplayLargeTitlesOnInitialAppearanceHack>(item);
        hack->performViewDidLoadActionsIfRequired();
        item->setHidesSearchBarWhenScrolling(ownersValue);
        hack->performViewDidAppearActionsIfRequired();
        EXPECT_EQ(item->hidesSearchBarWhenScrolling(), ownersValue);
    }

    // A real search controller of the owner's turns the work-around off.
    auto item = make<UIKit::UINavigationItem>();
    auto own = make<UIKit::UISearchController>();
    item->setSearchController(own);
    auto hack = make<DisplayLargeTitlesOnInitialAppearanceHack>(item);
    hack->performViewDidLoadActionsIfRequired();
    hack->performViewDidAppearActionsIfRequired();
    EXPECT_EQ(item->searchController(), own);
    EXPECT_TRUE(item->hidesSearchBarWhenScrolling());
    EXPECT_FALSE(hack->hasPerformedHack());
}
