#include "Tests/Sorrelgate/ExtensionFixture.hpp"

#include "Shared/Crypto/Cryptor.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/UserDefaults.hpp"
#include "Platform/UIKit/UITextField.hpp"

namespace SorrelgateTests {
namespace {

// The main program's side of the lock: a store of the program's own over the same records.
class ProgramRecords : public Shared::AuthenticationStore::RecordSource {
public:
    ProgramRecords()
        : m_cryptor(Foundation::make<Shared::Cryptor>(Foundation::make<Foundation::NotificationCenter>()))
    {
    }
    std::shared_ptr<Shared::Cryptor> cryptor() const override { return m_cryptor; }

private:
    std::shared_ptr<Shared::Cryptor> m_cryptor;
};

// The list open and unlocked, its item selected.
class OpenListTest : public ExtensionTest {
protected:
    void SetUp() override
    {
        ExtensionTest::SetUp();
        forum = addLogin("Forum", "alice", "forum-secret", "forum.example");
        lock();
        request = std::make_unique<Request>(AutoFillRequest {AutoFillRequest::Kind::list, SORRELGATE_BUNDLE, false,
                                                             {AutoFillRequest::serviceIdentifier("forum.example")}, {}, std::nullopt, false});
        request->enter(masterPassword);
        ASSERT_EQ(request->shownItems(), std::vector<Foundation::String> {forum});
        ASSERT_TRUE(request->entriesC()->isFirstResponder());
        request->driver().press("Down");
        ASSERT_EQ(request->entriesC()->entriesVC()->selectedEntryIDs(), std::vector<Foundation::String> {forum});
    }

    // Every way of choosing the item, none of which may hand it over now.
    void chooseInEveryWay()
    {
        auto entriesC = request->entriesC();
        request->driver().press("Return");
        entriesC->handleReturnKeyPress();
        entriesC->didActivate(forum, *entriesC->entriesVC());
        entriesC->didUpdate({forum}, true, *entriesC->entriesVC());
        request->provider()->provideCredential(Sorrelgate::CredentialRequest::password(forum, {}));
        TestSupport::advanceClock(1);
    }

    Foundation::String forum;
    std::unique_ptr<Request> request;
};

TEST_F(OpenListTest, LockingHidesTheListAndNothingLeavesUntilItIsUnlockedAgain)
{
    lock();
    TestSupport::advanceClock(1);
    EXPECT_TRUE(request->shownItems().empty());
    EXPECT_FALSE(request->entriesC()->isFirstResponder());
    EXPECT_TRUE(request->authenticationC()->view()->isUserInteractionEnabled());
    EXPECT_EQ(request->unlockScreenState(), 16);
    chooseInEveryWay();
    EXPECT_FALSE(request->hasEnded());
    EXPECT_FALSE(request->outcome());

    // Unlocked again, the list comes back and the choice goes through.
    request->enter(masterPassword);
    EXPECT_EQ(request->shownItems(), std::vector<Foundation::String> {forum});
    request->driver().press("Down");
    request->driver().press("Return");
    ASSERT_TRUE(request->waitForEnd());
    EXPECT_EQ(*request->outcome(), Context::Outcome(Context::CompletedWithPassword {{"alice", "forum-secret"}}));
}

TEST_F(OpenListTest, TheMainProgramsLockReachesTheOpenList)
{
    auto userDefaults = Foundation::UserDefaults::withSuiteName(Shared::Global::App::appGroupIdentifier());
    auto program = Foundation::make<Shared::AuthenticationStore>(userDefaults, Foundation::make<Foundation::NotificationCenter>(), nullptr,
                                                                 std::make_shared<ProgramRecords>(), services().preferenceStore, nullptr,
                                                                 Shared::AppExecutionContext::app(nullptr));
    program->lock(Shared::AuthenticationStore::LockKind::allowBiometry, false, false, "the main program's Lock Now");
    ASSERT_TRUE(runMainLoopUntil([&] { return !services().authenticationStore->authenticationState().isAuthenticated(); }));
    TestSupport::advanceClock(1);
    EXPECT_TRUE(request->shownItems().empty());
    chooseInEveryWay();
    EXPECT_FALSE(request->outcome());
}

TEST_F(OpenListTest, EscapeLeavesOnlyWhileNothingIsPresentedAndNoSearchIsTyped)
{
    auto entriesC = request->entriesC();
    entriesC->entriesVC()->setSearchText("for");
    entriesC->handleEscapeKeyPress();
    EXPECT_FALSE(request->outcome());
    entriesC->entriesVC()->setSearchText("");

    request->provider()->presentAddEntry(entriesC->serviceIdentifiers());
    TestSupport::advanceClock(1);
    entriesC->handleEscapeKeyPress();
    EXPECT_FALSE(request->outcome());
    request->provider()->dismiss(false, nullptr);
    TestSupport::advanceClock(1);

    request->driver().press("Escape");
    ASSERT_TRUE(request->waitForEnd());
    EXPECT_EQ(*request->outcome(), cancelledWith(AuthenticationServices::ASExtensionError::Code::userCanceled));
}

TEST_F(ExtensionTest, WithNothingForTheSiteTheSearchFieldTakesTheKeyboard)
{
    addLogin("Forum", "alice", "forum-secret", "forum.example");
    lock();
    auto request = Request::list({"unknown.example"});
    request.enter(masterPassword);
    EXPECT_TRUE(request.shownItems().empty());
    EXPECT_TRUE(request.entriesC()->entriesVC()->searchField()->isFirstResponder());
    // A search covers every item.
    request.driver().type("Foru");
    EXPECT_EQ(request.shownItems().size(), 1U);
}

// The list takes the keyboard half a second after it shows; arrows pressed before then reach the table
// itself, where they must only point at an item, as they do later: only Return or a click chooses.
TEST_F(ExtensionTest, ArrowsBeforeTheListTakesTheKeyboardOnlyPoint)
{
    addLogin("Forum", "alice", "forum-secret", "forum.example");
    auto admin = addLogin("Forum Admin", "root", "admin-secret", "forum.example");
    lock();
    auto request = Request::list({"forum.example"});
    request.enter(masterPassword, 0.2);
    ASSERT_EQ(request.shownItems().size(), 2U);
    ASSERT_FALSE(request.entriesC()->isFirstResponder());
    // Keys as the terminal hands them over: to the screen's commands, else to the focus and the table.
    auto& driver = request.driver();
    auto press = [&](const char* key) {
        EXPECT_TRUE(driver.core().pressNavigating(Foundation::String(key))) << key;
        driver.settle();
    };
    press("Down");
    press("Down");
    EXPECT_FALSE(request.outcome());
    EXPECT_EQ(request.shownItems().at(1), admin);
    press("Return");
    ASSERT_TRUE(request.waitForEnd());
    EXPECT_EQ(*request.outcome(), Context::Outcome(Context::CompletedWithPassword {{"root", "admin-secret"}}));
}

} // namespace
} // namespace SorrelgateTests
