#include "Tests/Corvendale/Screens/Details/EntryDetailsFixture.hpp"
#include "Tests/Support/Files.hpp"

#include "Corvendale/Screens/Details/AttachmentCoordinator.hpp"
#include "Corvendale/Screens/Details/AttachmentCoordinatorError.hpp"

#include "Shared/Model/Attachment.hpp"
#include "Shared/Screens/PasteboardCoordinator.hpp"
#include "Shared/Screens/ProcessingActionPresenting.hpp"
#include "Shared/Stores/AttachmentDataStore.hpp"

#include "Basalwork/Interface/AlertController.hpp"
#include "Basalwork/Interface/PresentationSource.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/NSItemProvider.hpp"
#include "Platform/Foundation/Progress.hpp"
#include "Platform/UIKit/QLPreviewController.hpp"
#include "Platform/UIKit/UIActivityViewController.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIDocumentPickerViewController.hpp"
#include "Platform/UIKit/UIPasteboard.hpp"
#include "Platform/UniformTypeIdentifiers/UTType.hpp"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

using Foundation::String;
using QuickLookState = Corvendale::EntryDetailsCoordinator::QuickLookState;
using DocumentPickerAction = Corvendale::EntryDetailsCoordinator::DocumentPickerAction;

namespace CorvendaleTests {
namespace {

namespace fs = std::filesystem;

// Every plaintext copy carries this, so a search of the temporary folders finds any copy left behind.
constexpr const char* secret = "the secret note 5b1f";

class EntryDetailsAttachments : public EntryDetailsFixture {
protected:
    // Encryption and decryption run on other threads: the main loop turns until they report (10 s at most).
    static bool waitUntil(const std::function<bool()>& condition)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!condition() && std::chrono::steady_clock::now() < deadline)
            TestSupport::runMainLoopUntilIdle();
        return condition();
    }

    static fs::path temporaryFolder() { return Foundation::FileManager::defaultManager()->temporaryDirectory().path().utf8(); }

    fs::path writeFile(const std::string& name, const std::string& text)
    {
        auto folder = temporaryFolder() / ("source-" + Foundation::UUID().uuidString().utf8());
        fs::create_directories(folder);
        std::ofstream(folder / name) << text;
        return folder / name;
    }

    // An item whose one attachment field holds a text file with the secret.
    String addItemWithAttachment(Shared::Entry::Field::ID& field)
    {
        auto file = writeFile("note.txt", secret);
        auto id = addItem("Files", "", [&](auto& context, const String& id) {
            context.insertSectionBelow(-1, Shared::EntrySectionTemplate::blank, id);
            field = context.appendField(0, Category::attachment, id);
            auto done = std::make_shared<bool>(false);
            context.importFile(Foundation::URL::fileURLWithPath(String(file.string())), field, id, Foundation::make<Foundation::Progress>(1),
                               Basalwork::ResultHandler<Shared::RecordStore::EditingContext::AttachmentResult>(
                                   Foundation::DispatchQueue::main(), [done](auto) { *done = true; }));
            waitUntil([&] { return *done; });
        });
        fs::remove_all(file.parent_path());
        return id;
    }

    // The files anywhere under the temporary folders that hold the secret in plain text.
    static std::vector<fs::path> plaintextCopies()
    {
        std::vector<fs::path> found;
        std::error_code error;
        for (auto it = fs::recursive_directory_iterator(temporaryFolder(), fs::directory_options::skip_permission_denied, error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            std::error_code ignored;
            if (!it->is_regular_file(ignored))
                continue;
            std::ifstream file(it->path(), std::ios::binary);
            std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            if (text.find(secret) != std::string::npos)
                found.push_back(it->path());
        }
        return found;
    }

    // A job ends its background task once it has delivered its outcome.
    static bool hasAttachmentJob()
    {
        for (const auto& name : UIKit::UIApplication::shared()->backgroundTaskNames())
            if (name.hasPrefix("AttachmentCoordinator."))
                return true;
        return false;
    }

    std::shared_ptr<UIKit::UIViewController> presented() const { return coordinator->presentedViewController(); }
    template <class T>
    std::shared_ptr<T> waitForPresented()
    {
        waitUntil([&] { return std::dynamic_pointer_cast<T>(presented()) != nullptr; });
        driver.settle();
        return std::dynamic_pointer_cast<T>(presented());
    }

    Shared::Attachment attachmentOf(const MenuSource& source)
    {
        auto found = coordinator->attachment(source);
        EXPECT_TRUE(found);
        return found.value_or(Shared::Attachment {});
    }
};

TEST_F(EntryDetailsAttachments, APreviewShowsTheFileOnceAndItsOwnerOnlyCopyGoesWithIt)
{
    Shared::Entry::Field::ID field {};
    auto id = addItemWithAttachment(field);
    view(id);
    const auto source = MenuSource::customField(field, Category::attachment);
    EXPECT_TRUE(coordinator->attachmentInfo(source));
    EXPECT_FALSE(coordinator->attachmentInfo(MenuSource::systemField(SystemID::title)));
    auto attachment = attachmentOf(source);

    coordinator->presentQuickLook(attachment, false);
    coordinator->presentQuickLook(attachment, false);
    EXPECT_TRUE(coordinator->quickLookState().is<QuickLookState::Decrypting>()) << "the second request waits for nothing";
    auto preview = waitForPresented<UIKit::QLPreviewController>();
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->shownText(), String(secret));
    const auto* decrypted = coordinator->quickLookState().as<QuickLookState::Decrypted>();
    ASSERT_TRUE(decrypted);
    EXPECT_EQ(plaintextCopies(), std::vector {fs::path(decrypted->temporaryDecryptedURL.path().utf8())});
    EXPECT_EQ(fs::status(decrypted->temporaryDecryptedURL.path().utf8()).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    coordinator->presentQuickLook(attachment, false);
    EXPECT_EQ(presented(), preview) << "one preview at a time";

    preview->close();
    driver.settle();
    EXPECT_FALSE(presented());
    EXPECT_TRUE(coordinator->quickLookState().is<QuickLookState::Inactive>());
    EXPECT_TRUE(plaintextCopies().empty()) << "no decrypted copy outlives its preview";
    coordinator->previewControllerDidDismiss(*preview);
    // Asked outside a preview, the data source answers an empty placeholder rather than stopping the program.
    EXPECT_EQ(coordinator->numberOfPreviewItems(*preview), 0);
    EXPECT_EQ(coordinator->previewItemAt(*preview, 0).path(), String("/dev/null"));
}

// Each way a decrypted copy can end (shown and closed, saved, given up, shared, copied, the vault locking
// under it, the decryption finishing after the lock) leaves no plaintext anywhere under the temporary
// folders.
TEST_F(EntryDetailsAttachments, NoDecryptedCopyOutlivesThePreviewThePickerOrTheShareSheetHoweverTheyEnd)
{
    Shared::Entry::Field::ID field {};
    auto id = addItemWithAttachment(field);
    view(id);
    const auto source = MenuSource::customField(field, Category::attachment);
    auto attachment = attachmentOf(source);

    // Save To, given up.
    coordinator->presentSaveTo(attachment, false);
    auto picker = waitForPresented<UIKit::UIDocumentPickerViewController>();
    ASSERT_TRUE(picker);
    ASSERT_EQ(picker->urlsToExport().size(), 1u);
    EXPECT_EQ(coordinator->documentPickerAction(), DocumentPickerAction::exportAttachment(picker->urlsToExport().front()));
    EXPECT_EQ(plaintextCopies().size(), 1u);
    picker->cancel();
    driver.settle();
    EXPECT_FALSE(presented());
    EXPECT_TRUE(plaintextCopies().empty()) << "a cancelled save leaves no copy";

    // Save To a folder: the saved file is the owner's alone, and the copy it was made from is gone.
    auto destination = temporaryFolder() / ("saved-" + Foundation::UUID().uuidString().utf8());
    fs::create_directories(destination);
    coordinator->presentSaveTo(attachment, false);
    picker = waitForPresented<UIKit::UIDocumentPickerViewController>();
    ASSERT_TRUE(picker);
    picker->setDirectoryURL(Foundation::URL::fileURLWithPath(String(destination.string()), true));
    picker->open();
    driver.settle();
    EXPECT_FALSE(presented());
    EXPECT_EQ(plaintextCopies(), std::vector {destination / "note.txt"});
    EXPECT_EQ(fs::status(destination / "note.txt").permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    fs::remove_all(destination);

    // Share, given up; then shared through Copy, which puts the text on the clipboard as a secret.
    const auto anchor = Basalwork::PresentationSource::view(coordinator->view());
    coordinator->presentShare(attachment, anchor, false);
    auto sheet = waitForPresented<UIKit::UIActivityViewController>();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->activityTypes(), std::vector {UIKit::UIActivityViewController::copyToPasteboard()});
    coordinator->dismiss(false);
    driver.settle();
    EXPECT_TRUE(plaintextCopies().empty()) << "a cancelled share leaves no copy";
    coordinator->presentShare(attachment, anchor, false);
    sheet = waitForPresented<UIKit::UIActivityViewController>();
    ASSERT_TRUE(sheet);
    sheet->perform(UIKit::UIActivityViewController::copyToPasteboard());
    driver.settle();
    EXPECT_TRUE(plaintextCopies().empty());
    const auto& pasteboard = UIKit::UIPasteboard::general();
    EXPECT_EQ(pasteboard->string(), String(secret));
    EXPECT_TRUE(pasteboard->isLocalOnly()) << "the copied file is treated as the program's own secret";
    pasteboard->setItems({});

    // A preview open while the vault locks goes with the lock, and its copy with it.
    coordinator->presentQuickLook(attachment, false);
    ASSERT_TRUE(waitForPresented<UIKit::QLPreviewController>());
    lockAndUnlock(driver);
    EXPECT_FALSE(presented());
    EXPECT_TRUE(coordinator->quickLookState().is<QuickLookState::Inactive>());
    EXPECT_TRUE(plaintextCopies().empty());

    // A decryption that ends after the vault locked shows nothing and keeps nothing.
    view(id);
    coordinator->presentShare(attachment, anchor, false);
    inMemoryDependencies().authenticationStore->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, false, std::nullopt, "test");
    ASSERT_TRUE(waitUntil([] { return !hasAttachmentJob(); }));
    // The job hands its outcome to the main queue before it ends its task.
    TestSupport::runMainLoopUntilIdle();
    unlockVault();
    driver.settle();
    EXPECT_FALSE(presented());
    EXPECT_TRUE(plaintextCopies().empty());
}

TEST_F(EntryDetailsAttachments, AFilePickedOrDroppedOnAFieldBeingEditedBecomesItsAttachment)
{
    auto id = addItem("Files", "", [](auto& context, const String& id) {
        context.insertSectionBelow(-1, Shared::EntrySectionTemplate::blank, id);
        context.appendField(0, Category::text, id);
        context.appendField(0, Category::text, id);
    });
    const auto first = MenuSource::customField({0, 0}, Category::text);
    const auto second = MenuSource::customField({0, 1}, Category::text);
    auto letter = writeFile("letter.txt", "Dear Sir");
    auto report = writeFile("report.txt", "All well");

    // While viewing, neither the picker nor a dropped file does anything.
    view(id);
    coordinator->didRequestDocumentPicker(first, table());
    EXPECT_FALSE(presented());
    coordinator->didSelect(Foundation::URL::fileURLWithPath(String(letter.string())), first, table());
    driver.settle();
    EXPECT_FALSE(stored(id).attachmentID(first.customFieldID().value()));

    edit(id);
    coordinator->didRequestDocumentPicker(first, table());
    auto picker = std::dynamic_pointer_cast<UIKit::UIDocumentPickerViewController>(presented());
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->contentTypes(), std::vector {Shared::Attachment::supportedUTType()});
    EXPECT_EQ(coordinator->documentPickerAction(), DocumentPickerAction::importAttachmentToField({0, 0}));
    // The picker tells of several files: only the first is taken.
    coordinator->dismiss(false);
    driver.settle();
    coordinator->documentPicker(*picker, {Foundation::URL::fileURLWithPath(String(letter.string())), Foundation::URL::fileURLWithPath(String(report.string()))});
    coordinator->documentPicker(*picker, {});
    ASSERT_TRUE(waitUntil([&] { return edited().attachmentID({0, 0}).has_value(); }));
    driver.settle();
    EXPECT_EQ(edited().field({0, 0}).category, Category::attachment);
    EXPECT_EQ(edited().field({0, 0}).title, std::optional<String>("letter.txt"));
    EXPECT_FALSE(edited().attachmentID({0, 1}));

    // A file dropped on the second field.
    coordinator->didSelect(Foundation::URL::fileURLWithPath(String(report.string())), second, table());
    ASSERT_TRUE(waitUntil([&] { return edited().attachmentID({0, 1}).has_value(); }));
    driver.settle();
    // One that is gone by then is reported.
    coordinator->didSelect(Foundation::URL::fileURLWithPath(String("/nowhere/at/all.txt")), second, table());
    ASSERT_TRUE(waitUntil([&] { return presented() != nullptr; }));
    driver.settle();
    auto alert = std::dynamic_pointer_cast<Basalwork::AlertController>(presented());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Oops!");
    coordinator->dismiss(false);
    driver.settle();

    // Saved, both files open as they were.
    coordinator->didSelectDone(header());
    driver.settle();
    auto attachment = store->attachment(id, {0, 1});
    ASSERT_TRUE(attachment);
    auto copy = store->attachmentDataStore()->decryptToTemporaryFile(attachment->id);
    EXPECT_EQ(TestSupport::readText(copy.path().utf8()), "All well");
    Shared::AttachmentDataStore::removeDecryptedCopy(copy);
    fs::remove_all(letter.parent_path());
    fs::remove_all(report.parent_path());
}

TEST_F(EntryDetailsAttachments, ADraggedAttachmentHandsOverItsFileOnlyWhenLoadedAndTakesItAwayAfterwards)
{
    Shared::Entry::Field::ID field {};
    auto id = addItemWithAttachment(field);
    view(id);
    EXPECT_FALSE(coordinator->itemProviderForDragging(MenuSource::systemField(SystemID::title), table())) << "not an attachment";
    auto provider = coordinator->itemProviderForDragging(MenuSource::customField(field, Category::attachment), table());
    ASSERT_TRUE(provider);
    EXPECT_EQ(provider->suggestedName(), std::optional<String>("note.txt"));
    EXPECT_TRUE(plaintextCopies().empty()) << "nothing is decrypted until a drop asks";

    std::optional<Foundation::URL> loaded;
    provider->loadFileRepresentation(UniformTypeIdentifiers::UTType::data().identifier,
                                     [&](const std::optional<Foundation::URL>& url, const Foundation::ErrorPtr&) { loaded = url; });
    ASSERT_TRUE(waitUntil([&] { return loaded.has_value(); }));
    EXPECT_EQ(TestSupport::readText(loaded->path().utf8()), secret);
    provider.reset();
    EXPECT_TRUE(plaintextCopies().empty()) << "the copy goes with the item";

    // Nothing to hand over outside a single item.
    coordinator->transition(State::Empty {}, false, false, false);
    EXPECT_FALSE(coordinator->itemProviderForDragging(MenuSource::customField(field, Category::attachment), table()));
}

// The attachment jobs: each under a background task of its own, named after the job; a source that is
// not an editing context refuses a file at once.
TEST_F(EntryDetailsAttachments, AttachmentJobsRunUnderTheirOwnBackgroundTasksAndOnlyAnEditingContextTakesFiles)
{
    Shared::Entry::Field::ID field {};
    auto id = addItemWithAttachment(field);
    auto attachment = *store->attachment(id, field);
    auto presenter = std::make_shared<Shared::ProcessingActionPresenting>();
    auto job = Foundation::make<Corvendale::AttachmentCoordinator>(store->attachmentDataStore(), presenter);

    std::optional<Corvendale::AttachmentCoordinator::AttachingResult> attached;
    job->attachFile(Foundation::URL::fileURLWithPath(String("/etc/hostname")), field, id,
                    Basalwork::ResultHandler<Corvendale::AttachmentCoordinator::AttachingResult>(Foundation::DispatchQueue::main(),
                                                                                               [&](auto result) { attached = result; }));
    EXPECT_FALSE(attached) << "delivered later, never inside the call";
    EXPECT_TRUE(job->backgroundTasks().empty());
    TestSupport::runMainLoopUntilIdle();
    ASSERT_TRUE(attached && attached->isFailure());
    EXPECT_EQ(attached->failureError()->domain(), "Corvendale.AttachmentCoordinatorError");

    std::vector<Corvendale::AttachmentCoordinator::DecryptionResult> results;
    auto collect = Basalwork::ResultHandler<Corvendale::AttachmentCoordinator::DecryptionResult>(Foundation::DispatchQueue::main(),
                                                                                                [&](auto result) { results.push_back(result); });
    job->decryptToTemporaryURL(attachment.id, collect);
    job->decryptToTemporaryURL(attachment.id, collect);
    ASSERT_EQ(job->backgroundTasks().size(), 2u);
    const auto names = UIKit::UIApplication::shared()->backgroundTaskNames();
    for (const auto& [uuid, task] : job->backgroundTasks())
        EXPECT_NE(std::ranges::find(names, String("AttachmentCoordinator.backgroundTask." + uuid.uuidString().utf8())), names.end());
    ASSERT_TRUE(waitUntil([&] { return results.size() == 2; }));
    EXPECT_TRUE(job->backgroundTasks().empty());
    for (const auto& result : results) {
        ASSERT_TRUE(result.successValue());
        Shared::AttachmentDataStore::removeDecryptedCopy(*result.successValue());
    }
}

} // namespace
} // namespace CorvendaleTests
