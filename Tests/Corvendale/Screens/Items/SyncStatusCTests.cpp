#include "Tests/Corvendale/Services/SyncCoordinatorFixture.hpp"

#include "Corvendale/Screens/Items/SyncStatusC.hpp"

#include "Shared/Screens/SyncStatusV.Config.hpp"
#include "Shared/Screens/SyncStatusV.hpp"

#include "Shared/Model/AppExecutionContext.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"

#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Interface/AlertController.hpp"

#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIAlertController.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UIPopoverPresentationController.hpp"
#include "Platform/UIKit/UIScrollView.hpp"
#include "Platform/UIKit/UIView.AnimationRecorder.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include "Tests/Support/MainLoop.hpp"

using namespace CorvendaleTests;
using Corvendale::SyncCoordinator;
using Corvendale::SyncStatusC;

namespace {

class RecordingDelegate : public Corvendale::SyncStatusCDelegate {
public:
    void didSelectReplaceExistingDataWithiCloudData(SyncStatusC&) override { ++replaceRequests; }
    int replaceRequests = 0;
};

class SyncStatusCTests : public SyncCoordinatorFixture {
protected:
    void SetUp() override
    {
        SyncCoordinatorFixture::SetUp();
        program = makeInstallation("program");
        program->coordinator->startsSyncs = false;
        authenticationStore = Foundation::make<Shared::AuthenticationStore>(program->userDefaults, program->notificationCenter, program->analytics,
                                                                          program->records, program->preferenceStore, nullptr,
                                                                          Shared::AppExecutionContext::app(UIKit::UIApplication::shared()));
        window = Foundation::make<UIKit::UIWindow>(scene);
        window->setRootViewController(root);
        window->makeKeyAndVisible();
    }
    void TearDown() override
    {
        root->dismiss(false);
        TestSupport::runMainLoopUntilIdle();
        window.reset();
        popover.reset();
        authenticationStore.reset();
        program.reset();
        SyncCoordinatorFixture::TearDown();
    }

    // Opens the pop-over from a view of the window's, as the list's status indicator does.
    void open(const std::shared_ptr<Corvendale::SyncStatusCDelegate>& delegate)
    {
        auto source = Foundation::make<UIKit::UIView>();
        root->view()->addSubview(source);
        popover = Foundation::make<SyncStatusC>(source, delegate, program->coordinator, authenticationStore);
        root->present(popover, false);
        TestSupport::runMainLoopUntilIdle();
    }

    int syncsAfterAction(const SyncStatus& status)
    {
        program->report(status);
        auto before = program->coordinator->syncRequests;
        popover->syncStatusV()->actionButton()->sendActions(UIKit::UIControl::Event::primaryActionTriggered());
        TestSupport::runMainLoopUntilIdle();
        return program->coordinator->syncRequests - before;
    }

    std::shared_ptr<UIKit::UIAlertController> presentedAlert() const
    {
        return std::dynamic_pointer_cast<UIKit::UIAlertController>(popover->presentedViewController());
    }
    void choose(const char* title)
    {
        auto alert = presentedAlert();
        ASSERT_TRUE(alert);
        for (const auto& action : alert->actions()) {
            if (action->title() == String(title)) {
                // As the alert does: the handler runs once it is gone.
                popover->dismiss(false, [action] {
                    if (action->handler())
                        action->handler()(action);
                });
                TestSupport::runMainLoopUntilIdle();
                return;
            }
        }
        FAIL() << "no action " << title;
    }

    std::unique_ptr<ProgramInstallation> program;
    std::shared_ptr<Shared::AuthenticationStore> authenticationStore;
    std::shared_ptr<UIKit::UIWindowScene> scene = Foundation::make<UIKit::UIWindowScene>();
    std::shared_ptr<UIKit::UIWindow> window;
    std::shared_ptr<UIKit::UIViewController> root = Foundation::make<UIKit::UIViewController>();
    std::shared_ptr<SyncStatusC> popover;

    Shared::SyncStatusV::Config shown() const { return popover->syncStatusV()->config().value(); }
    static Shared::SyncStatusV::Config configFor(const SyncStatus& status) { return Shared::SyncStatusV::Config::make(status); }
};

} // namespace

TEST_F(SyncStatusCTests, ShowsTheStatusAndFollowsItWhileOpen)
{
    program->report(SyncStatus::upToDate(Foundation::Date::now()));
    auto delegate = std::make_shared<RecordingDelegate>();
    open(delegate);
    ASSERT_EQ(popover->modalPresentationStyle(), UIKit::UIModalPresentationStyle::popover);
    EXPECT_EQ(popover->popoverPresentationController()->permittedArrowDirections(), UIKit::UIPopoverArrowDirection::up());
    EXPECT_EQ(shown(), configFor(program->coordinator->syncStatus()));
    EXPECT_EQ(popover->view(), popover->syncStatusV());

    {
        UIKit::UIView::AnimationRecorder recorder;
        program->report(SyncStatus::syncing(SyncStatus::Activity::fetching));
        EXPECT_EQ(shown(), configFor(SyncStatus::syncing(SyncStatus::Activity::fetching)));
        ASSERT_FALSE(recorder.animations().empty());
        EXPECT_EQ(recorder.last().duration, 0.25);
    }

    // The height follows the content, up to 1000 points.
    auto scrollView = popover->syncStatusV()->scrollView();
    scrollView->setContentSize({300, 420});
    EXPECT_EQ(popover->preferredContentSize().height, 420);
    scrollView->setContentSize({300, 4000});
    EXPECT_EQ(popover->preferredContentSize().height, 1000);

    // Once dismissed and gone, a status change reaches nobody.
    std::weak_ptr<SyncStatusC> gone = popover;
    auto view = popover->syncStatusV();
    root->dismiss(false);
    TestSupport::runMainLoopUntilIdle();
    popover.reset();
    EXPECT_TRUE(gone.expired());
    program->report(SyncStatus::upToDate(Foundation::Date::now()));
    EXPECT_EQ(view->config(), configFor(SyncStatus::syncing(SyncStatus::Activity::fetching)));
}

TEST_F(SyncStatusCTests, TheActionFollowsTheStatus)
{
    open(std::make_shared<RecordingDelegate>());
    auto failure = SyncStatus::Failure::error(Basalwork::GeneralError::failedWithMessage("offline"));
    // A running sync is stopped, not followed by another; disabled does nothing.
    EXPECT_EQ(syncsAfterAction(SyncStatus::syncing(SyncStatus::Activity::pushing)), 0);
    EXPECT_EQ(syncsAfterAction(SyncStatus::disabled()), 0);
    for (const auto& status : {SyncStatus::upToDate(Foundation::Date::now()), SyncStatus::idle(std::nullopt), SyncStatus::unknown(),
                               SyncStatus::failed(failure, std::nullopt)})
        EXPECT_EQ(syncsAfterAction(status), 1) << status.description();
    EXPECT_FALSE(presentedAlert());
}

TEST_F(SyncStatusCTests, RecordsSharingAnIdentifierAreRepairedAndFetchedAgainInFull)
{
    open(std::make_shared<RecordingDelegate>());
    const char* key = SyncCoordinator::mostRecentlyForceRefetchedAppVersionKey;
    program->userDefaults->set(Foundation::PropertyListValue(String("3.2.0")), key);
    program->cacheStore->save(true, SyncCoordinator::didCreateCustomRecordZoneItemID);

    // (Reloading the authentication records afterwards may start one more.)
    EXPECT_GE(syncsAfterAction(SyncStatus::failed(SyncStatus::Failure::multipleRecordsUsingTheSameID("a"), std::nullopt)), 1);
    // Refetched although the stored version was current: the set-up runs again and the version is this one.
    EXPECT_TRUE(program->cacheStore->itemDoesNotExist(SyncCoordinator::didCreateCustomRecordZoneItemID));
    EXPECT_NE(program->userDefaults->string(key), String("3.2.0"));
    EXPECT_FALSE(presentedAlert());
}

TEST_F(SyncStatusCTests, ReplacingTheLocalDataAsksFirstAndNeedsADelegate)
{
    auto delegate = std::make_shared<RecordingDelegate>();
    open(delegate);
    auto accountChanged = SyncStatus::failed(SyncStatus::Failure::iCloudAccountChanged("one", "two"), std::nullopt);
    EXPECT_EQ(syncsAfterAction(accountChanged), 0);
    auto alert = presentedAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), String("Replace Existing Data"));
    EXPECT_EQ(alert->message(), String(SyncStatusC::replaceMessage));
    choose("Cancel");
    EXPECT_EQ(delegate->replaceRequests, 0);

    syncsAfterAction(accountChanged);
    choose("Replace");
    EXPECT_EQ(delegate->replaceRequests, 1);

    // Nobody to carry it out: the error is reported, nothing is replaced.
    delegate.reset();
    syncsAfterAction(accountChanged);
    choose("Replace");
    auto oops = std::dynamic_pointer_cast<Basalwork::AlertController>(popover->presentedViewController());
    ASSERT_TRUE(oops);
    EXPECT_EQ(oops->title(), String("Oops!"));
    ASSERT_EQ(oops->actions().size(), 1u);
    EXPECT_EQ(oops->actions().front()->title(), String("OK"));
    ASSERT_EQ(program->analytics->events().size(), 1u);
}
