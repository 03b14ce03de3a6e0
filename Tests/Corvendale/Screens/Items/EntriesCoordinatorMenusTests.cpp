#include "Corvendale/Screens/Items/EntriesCoordinator.Menus.hpp"
#include "Corvendale/Screens/Items/EntriesCoordinator.hpp"

#include "Tests/Corvendale/Screens/Items/ItemListFixture.hpp"
#include "Tests/Support/Driver.hpp"

#include "Shared/Screens/Menu.Action.hpp"
#include "Shared/Stores/PreferenceStore.hpp"

#include "Platform/Foundation/Error.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIImage.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Platform/UIKit/UIViewInspector.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>

using Corvendale::EntriesCoordinatorMenus;
using Corvendale::EntriesCoordinatorRecentCategoryFilters;
using CorvendaleTests::actionTitles;
using CorvendaleTests::choose;
using CorvendaleTests::describe;
using Foundation::String;
using Shared::EntryCategory;
using Shared::EntryFilter;
using SystemField = Shared::Entry::SystemField::ID;
using Lines = std::vector<std::string>;

namespace {

// Stands in for the list coordinator.
class ListHost : public UIKit::UIViewController, public EntriesCoordinatorMenus::Host {
public:
    std::shared_ptr<Corvendale::EntriesCoordinatorDelegate> delegate;
    bool expanded = true;
    bool multiSelecting = false;
    std::vector<std::string> calls;
    // What the delegate's calls name; never shown.
    std::shared_ptr<Corvendale::EntriesCoordinator> coordinator = Foundation::make<Corvendale::EntriesCoordinator>();

    std::shared_ptr<Corvendale::EntriesCoordinatorDelegate> entriesCoordinatorDelegate() const override { return delegate; }
    std::shared_ptr<UIKit::UIViewController> viewController() override { return sharedSelf(this); }
    std::shared_ptr<Corvendale::EntriesCoordinator> entriesCoordinator() override { return coordinator; }
    void handleUnexpectedError(const Foundation::Error&, const String& context) override { calls.push_back("Oops! " + context.utf8()); }
    bool isBeingDisplayedInExpandedSplitView() const override { return expanded; }
    bool isMultiSelecting() const override { return multiSelecting; }
    void didSelectFilter(const EntryFilter& filter) override { calls.push_back("filter " + filter.titleText().utf8()); }
    void shareEntry(const String& entryID) override { calls.push_back("share " + entryID.utf8()); }

protected:
    friend Foundation::Construct;
    ListHost() = default;
};

class ItemListMenus : public CorvendaleTests::ItemListFixture {
protected:
    void SetUp() override
    {
        ItemListFixture::SetUp();
        host->delegate = delegate;
        window->setFrame({0, 0, 1000, 700});
        window->setRootViewController(host);
        window->makeKeyAndVisible();
        source->setFrame({10, 10, 200, 40});
        host->view()->addSubview(source);
        menus = std::make_unique<EntriesCoordinatorMenus>(host, recordStore, vault->preferenceStore, analytics);
    }

    std::shared_ptr<UIKit::UIMenu> contextMenu(const std::vector<String>& ids) { return menus->contextMenu(ids, source); }
    // A login with a username, a password, a one-time password and a website.
    String fullLogin(const String& title)
    {
        return addItem(title, [](Shared::RecordStore::EditingContext& context, const String& id) {
            context.setText("ada", SystemField::username, id);
            context.setText("first secret", SystemField::password, id);
            context.setText("otpauth://totp/Example?secret=JBSWY3DPEHPK3PXP", SystemField::totpSecretKey, id);
            context.setText("https://example.com/login", SystemField::website, id);
        });
    }

    std::shared_ptr<UIKit::UIWindowScene> scene = Foundation::make<UIKit::UIWindowScene>();
    std::shared_ptr<UIKit::UIWindow> window = Foundation::make<UIKit::UIWindow>(scene);
    std::shared_ptr<ListHost> host = Foundation::make<ListHost>();
    std::shared_ptr<UIKit::UIView> source = Foundation::make<UIKit::UIView>();
    TestSupport::Driver driver {scene};
    std::unique_ptr<EntriesCoordinatorMenus> menus;
};

} // namespace

TEST_F(ItemListMenus, OneItemOffersItsActionsInSectionsAndHandsThemToTheDelegate)
{
    auto id = fullLogin("Mail");
    auto menu = contextMenu({id});
    ASSERT_TRUE(menu);
    EXPECT_EQ(actionTitles(*menu), (Lines {"Edit", "Copy Username", "Copy Password", "Copy One-Time Password", "Open Website",
                                           "Open Website and Quit", "Show Password in Large Type", "Show One-Time Password in Large Type",
                                           "Favorite", "Duplicate", "Share…", "Archive", "Move to Trash"}));
    auto lines = describe(*menu);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "--"), 6) << "seven sections without the history";

    for (const char* title : {"Edit", "Copy Password", "Show Password in Large Type", "Open Website and Quit", "Favorite", "Share…"})
        EXPECT_TRUE(choose(*menu, {title})) << title;
    EXPECT_TRUE(choose(*menu, {"Category", "Payments", "Credit Card"}));
    EXPECT_EQ(delegate->calls, (Lines {"didSelectEdit " + id.utf8(), "copyPassword " + id.utf8(),
                                       "presentLargeFirstCopyablePassword animated " + id.utf8(), "didSelectOpenInBrowserAndQuit " + id.utf8(),
                                       "isFavorite true " + id.utf8(), "didSelectChangeCategory Credit Card " + id.utf8()}));
    EXPECT_EQ(host->calls, (Lines {"share " + id.utf8()}));

    auto gone = Foundation::make<ListHost>();
    gone->delegate = delegate;
    auto outliving = EntriesCoordinatorMenus(gone, recordStore, vault->preferenceStore, analytics).contextMenu({id}, source);
    gone.reset();
    delegate->calls.clear();
    EXPECT_TRUE(choose(*outliving, {"Edit"}));
    EXPECT_TRUE(delegate->calls.empty()) << "a menu outliving its list does nothing";
}

TEST_F(ItemListMenus, TrashedItemsOfferOnlyArchiveRestoreAndDeletePermanently)
{
    auto trashed = fullLogin("Old");
    auto kept = addItem("Kept", [](auto& context, const String& id) { context.setFavorite(true, id); });
    recordStore->setTrashed({trashed}, true);

    auto one = contextMenu({trashed});
    ASSERT_TRUE(one);
    EXPECT_EQ(actionTitles(*one), (Lines {"Copy Username", "Copy Password", "Copy One-Time Password", "Open Website", "Open Website and Quit",
                                          "Show Password in Large Type", "Show One-Time Password in Large Type", "Archive", "Restore",
                                          "Delete Permanently"}));

    auto several = contextMenu({kept, trashed});
    ASSERT_TRUE(several);
    EXPECT_EQ(actionTitles(*several), (Lines {"Archive", "Restore", "Delete Permanently"}));
    EXPECT_EQ(describe(*several).front(), "Category >");

    recordStore->setTrashed({trashed}, false);
    several = contextMenu({kept, trashed});
    EXPECT_EQ(actionTitles(*several), (Lines {"Favorite", "Duplicate", "Archive", "Move to Trash"})) << "one is not a favourite yet";
    recordStore->setFavorite({trashed}, true);
    recordStore->setArchived({kept, trashed}, true);
    EXPECT_EQ(actionTitles(*contextMenu({kept, trashed})), (Lines {"Unfavorite", "Duplicate", "Unarchive", "Move to Trash"}));
    EXPECT_TRUE(choose(*contextMenu({kept, trashed}), {"Unarchive"}));
    EXPECT_EQ(delegate->calls, (Lines {"isArchived false " + kept.utf8() + " " + trashed.utf8()}));
}

TEST_F(ItemListMenus, WebsitesTheSystemCannotOpenAndMissingTextsOfferNothing)
{
    // The desktop here opens web pages only.
    UIKit::UIApplication::setExternalURLHandler({[](const Foundation::URL& url) { return url.scheme() == "https"; }, {}});
    struct Reset {
        ~Reset() { UIKit::UIApplication::setExternalURLHandler({}); }
    } reset;
    auto bare = addItem("Bare");
    auto ftp = addItem("Files", [](auto& context, const String& id) { context.setText("ftp://files.example.com", SystemField::website, id); });
    EXPECT_EQ(actionTitles(*contextMenu({bare})), (Lines {"Edit", "Favorite", "Duplicate", "Share…", "Archive", "Move to Trash"}));
    for (const auto& line : actionTitles(*contextMenu({ftp})))
        EXPECT_EQ(line.find("Open Website"), std::string::npos);

    EXPECT_FALSE(contextMenu({"no such item"}));
    EXPECT_FALSE(contextMenu({}));
    host->multiSelecting = true;
    EXPECT_FALSE(contextMenu({bare})) << "no menu while several items are being picked";
}

TEST_F(ItemListMenus, TheHistorySectionIsOnlyForTheItemShownInTheDetails)
{
    auto id = addItem("Bank", [](auto& context, const String& entryID) { context.setText("first", SystemField::password, entryID); });
    auto change = recordStore->makeEditingContext();
    change->setText("second", SystemField::password, id);
    change->save();
    auto other = fullLogin("Other");
    ASSERT_FALSE(recordStore->entry(id)->passwordHistory.empty());
    auto titles = actionTitles(*contextMenu({id}));
    EXPECT_EQ(std::count(titles.begin(), titles.end(), "Show History"), 0);

    delegate->displayedEntryIDs = {id, other};
    EXPECT_TRUE(choose(*contextMenu({id}), {"Show History"}));
    delegate->showingPasswordHistory = true;
    EXPECT_TRUE(choose(*contextMenu({id}), {"Hide History"}));
    titles = actionTitles(*contextMenu({other}));
    EXPECT_EQ(std::count(titles.begin(), titles.end(), "Hide History"), 0) << "no history to show";
    EXPECT_EQ(delegate->calls, (Lines {"showPasswordHistory", "hidePasswordHistory"}));
}

TEST_F(ItemListMenus, AFailingRecordStoreShowsOopsAndNoMenu)
{
    auto id = addItem("Mail");
    vault->cryptor->lock();
    EXPECT_FALSE(contextMenu({id}));
    EXPECT_FALSE(contextMenu({id, id}));
    EXPECT_EQ(host->calls, (Lines {"Oops! contextMenu(entryIDs:sourceView:entriesTVC:)", "Oops! contextMenu(entryIDs:sourceView:entriesTVC:)"}));
}

TEST_F(ItemListMenus, DontAskAgainStopsTheConfirmationForThatActionFromThenOn)
{
    auto id = addItem("Mail");
    const auto enabled = Shared::Settings::Items::ArchiveConfirmation::enabled;
    ASSERT_EQ(vault->preferenceStore->archiveConfirmation(), enabled);

    int didAct = 0;
    menus->archive({id}, source, [&] { ++didAct; });
    driver.settle();
    driver.chooseAlertAction("Cancel");
    EXPECT_TRUE(delegate->calls.empty());
    EXPECT_EQ(didAct, 0) << "a cancelled confirmation is no action";

    EXPECT_TRUE(choose(*contextMenu({id}), {"Archive"}));
    driver.settle();
    driver.chooseAlertAction("Archive and Don’t Ask Again");
    EXPECT_EQ(delegate->calls, (Lines {"isArchived true " + id.utf8()}));
    EXPECT_EQ(vault->preferenceStore->archiveConfirmation(), Shared::Settings::Items::ArchiveConfirmation::disabled);

    menus->archive({id}, source, [&] { ++didAct; });
    EXPECT_EQ(host->presentedViewController(), nullptr) << "no confirmation any more";
    EXPECT_EQ(delegate->calls.size(), 2u);
    EXPECT_EQ(didAct, 1);

    // The other confirmations still ask; a plain confirmation keeps asking.
    menus->moveToTrash({id}, source);
    driver.settle();
    driver.chooseAlertAction("Move to Trash");
    EXPECT_EQ(delegate->calls.back(), "isTrashed true " + id.utf8());
    EXPECT_EQ(vault->preferenceStore->moveToTrashConfirmation(), Shared::Settings::Items::MoveToTrashConfirmation::enabled);
}

TEST_F(ItemListMenus, DuplicatingHandsTheCopiesToTheDelegateAndDeletingAlwaysAsks)
{
    auto id = addItem("Mail");
    vault->preferenceStore->setDuplicateConfirmation(Shared::Settings::Items::DuplicateConfirmation::disabled);
    menus->duplicate({id}, source);
    ASSERT_TRUE(SharedTests::runMainLoopUntil([&] { return !delegate->calls.empty(); }));
    EXPECT_EQ(delegate->calls.front().rfind("duplicate selecting ", 0), 0u) << delegate->calls.front();
    EXPECT_EQ(recordStore->count(EntryFilter::allItems()), 2);

    vault->preferenceStore->setDuplicateConfirmation(Shared::Settings::Items::DuplicateConfirmation::enabled);
    host->expanded = false;
    menus->duplicate({id}, source);
    driver.settle();
    host->expanded = true;
    driver.chooseAlertAction("Duplicate");
    ASSERT_TRUE(SharedTests::runMainLoopUntil([&] { return delegate->calls.size() == 2; }));
    EXPECT_EQ(delegate->calls.back().rfind("duplicate ", 0), 0u);
    EXPECT_EQ(delegate->calls.back().find("selecting"), std::string::npos) << "decided when the user acted";

    recordStore->setTrashed({id}, true);
    EXPECT_TRUE(choose(*contextMenu({id}), {"Delete Permanently"}));
    driver.settle();
    driver.chooseAlertAction("Delete Permanently");
    EXPECT_EQ(delegate->calls.back(), "permanentlyDelete " + id.utf8());
}

TEST_F(ItemListMenus, TheNewItemMenuOffersTheStandardCategoriesThenEveryGroup)
{
    auto menu = menus->newItemMenu();
    auto lines = describe(*menu);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 5), (Lines {"Login", "Secure Note", "Credit Card", "--", "Passwords >"}));
    for (const char* group : {"Passwords >", "Secure Notes >", "Payments >", "Rewards >", "Software >", "Identification >", "Other >"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), group), lines.end()) << group;
    EXPECT_TRUE(choose(*menu, {"Identification", "Passport"}));
    EXPECT_TRUE(choose(*menu, {"Secure Note"}));
    EXPECT_EQ(delegate->calls, (Lines {"attemptPresentAddEntry Passport animated", "attemptPresentAddEntry Secure Note animated"}));
}

TEST_F(ItemListMenus, TheFilterMenuShowsTheFiltersThatHaveItemsWithTheirCounts)
{
    addItem("Mail", [](auto& context, const String& id) { context.setFavorite(true, id); });
    addItem("Notes", [](auto& context, const String& id) {
        context.setCategory(EntryCategory::secureNote, id);
        context.setText("travel", SystemField::tags, id);
    });
    auto passport = addItem("Passport", [](auto& context, const String& id) { context.setCategory(EntryCategory::passport, id); });
    recordStore->setArchived({passport}, true);

    EntriesCoordinatorRecentCategoryFilters recent;
    auto menu = menus->filterMenu(EntryFilter::favorites(), recent);
    EXPECT_EQ(describe(*menu), (Lines {"All Items (2)", "Favorites (1) *", "--",
                                       "Login (1)", "Secure Note (1)", "--",
                                       "Passwords >", "  Login (1)", "Secure Notes >", "  Secure Note (1)", "--",
                                       "Tags >", "  travel (1)", "--",
                                       "Sort By >", "  Title >", "    A to Z *", "    Z to A", "    No Sort Order",
                                       "  Date Last Edited >", "    Most Recent on Top", "    Oldest on Top",
                                       "  Date Added >", "    Most Recent on Top", "    Oldest on Top",
                                       "--", "Archived (1)", "Trash (0)"}));

    EXPECT_TRUE(choose(*menu, {"Secure Notes", "Secure Note"}));
    EXPECT_EQ(host->calls, (Lines {"filter Secure Note"}));
    EXPECT_TRUE(choose(*menu, {"Sort By", "Date Added", "Oldest on Top"}));
    EXPECT_EQ(vault->preferenceStore->sortMethod(EntryFilter::favorites()), Shared::Settings::Items::SortMethod::createdAt);
    EXPECT_EQ(vault->preferenceStore->sortMethod(EntryFilter::allItems()), Shared::Settings::Items::SortMethod::alphabetical)
        << "each filter keeps its own";
}

TEST_F(ItemListMenus, CountingFailuresAreTrackedAndTheMenuStillShows)
{
    addItem("Mail");
    vault->cryptor->lock();
    auto menu = menus->filterMenu(EntryFilter::allItems(), EntriesCoordinatorRecentCategoryFilters());
    auto lines = describe(*menu);
    EXPECT_EQ(lines.front(), "All Items *");
    EXPECT_EQ(lines.back(), "Trash");
    auto messages = analytics->messages();
    EXPECT_NE(std::find(messages.begin(), messages.end(), "EntriesCoordinator.contextMenu(titleButton:), filter: Favorites"), messages.end());
    EXPECT_TRUE(host->calls.empty()) << "no Oops! for counts";
}

TEST_F(ItemListMenus, ActionsAndFiltersShowSymbolsWhileCategoriesAndSortMethodsShowTheirNamesAlone)
{
    auto id = fullLogin("Mail");
    // Every entry as "title=symbol" (the symbol empty where there is none), under its titled submenus.
    std::function<void(const UIKit::UIMenu&, const std::string&, Lines&)> symbols = [&](const UIKit::UIMenu& menu, const std::string& path,
                                                                                          Lines& into) {
        for (const auto& child : menu.children()) {
            if (auto submenu = std::dynamic_pointer_cast<UIKit::UIMenu>(child)) {
                symbols(*submenu, submenu->title().isEmpty() ? path : path + submenu->title().utf8() + "/", into);
                continue;
            }
            const auto& image = child->image();
            into.push_back(path + child->title().utf8() + "=" + (image && image->systemName() ? image->systemName()->utf8() : ""));
        }
    };
    Lines itemMenu;
    symbols(*contextMenu({id}), "", itemMenu);
    for (const char* expected : {"Edit=pencil", "Copy Password=key", "Open Website=safari", "Favorite=star", "Share…=square.and.arrow.up",
                                 "Move to Trash=trash", "Category/Payments/Credit Card="})
        EXPECT_NE(std::ranges::find(itemMenu, expected), itemMenu.end()) << expected;
    for (const auto& line : itemMenu)
        EXPECT_EQ(line.back() == '=', line.starts_with("Category/")) << line;

    Lines filterMenu;
    symbols(*menus->filterMenu(EntryFilter::allItems(), EntriesCoordinatorRecentCategoryFilters()), "", filterMenu);
    for (const char* expected : {"All Items=tray.full", "Trash=trash", "Sort By/Title/A to Z=", "Login="})
        EXPECT_NE(std::ranges::find(filterMenu, expected), filterMenu.end()) << expected;

    auto described = UIKit::UIViewInspector::describe(*contextMenu({id}), 0);
    EXPECT_NE(described.find("UIAction \"Edit\" image=pencil"), std::string::npos) << "what cannot be drawn is named";
    EXPECT_FALSE(UIKit::UIImage::systemImage(" ")) << "no symbol without a name";
}
