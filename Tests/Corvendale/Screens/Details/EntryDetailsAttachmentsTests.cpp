#include "Tests/Corvendale/Screens/Details/EntryDetailsFixture.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Progress.hpp"
#include "Platform/UIKit/QLPreviewController.hpp"

#include <chrono>
#include <filesystem>
#include <fstream>

using Foundation::String;

namespace CorvendaleTests {
namespace {

class EntryDetailsAttachments : public EntryDetailsFixture {
protected:
    // Encryption and decryption run on other threads: the main loop turns until they report (10 s at most).
    static void waitUntil(const std::function<bool()>& condition)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!condition() && std::chrono::steady_clock::now() < deadline)
            TestSupport::runMainLoopUntilIdle();
    }

    // An item whose one attachment field holds a text file.
    String addItemWithAttachment(Shared::Entry::Field::ID& field)
    {
        auto file = std::filesystem::temp_directory_path() / ("note-" + Foundation::UUID().uuidString().utf8() + ".txt");
        std::ofstream(file) << "the secret note";
        return addItem("Files", "", [&](auto& context, const String& id) {
            context.insertSectionBelow(-1, Shared::EntrySectionTemplate::blank, id);
            field = context.appendField(0, Category::attachment, id);
            auto done = std::make_shared<bool>(false);
            context.importFile(Foundation::URL::fileURLWithPath(String(file.string())), field, id, Foundation::make<Foundation::Progress>(1),
                               Basalwork::ResultHandler<Shared::RecordStore::EditingContext::AttachmentResult>(
                                   Foundation::DispatchQueue::main(), [done](auto) { *done = true; }));
            waitUntil([&] { return *done; });
            std::filesystem::remove(file);
        });
    }

    // The files under the folder that holds every decrypted copy.
    static std::size_t decryptedFiles(const std::filesystem::path& root)
    {
        std::size_t count = 0;
        std::error_code error;
        for (auto it = std::filesystem::recursive_directory_iterator(root, error); !error && it != std::filesystem::recursive_directory_iterator(); ++it)
            count += it->is_regular_file() ? 1 : 0;
        return count;
    }
};

TEST_F(EntryDetailsAttachments, APreviewShowsTheFileOnceAndItsDecryptedCopyGoesWithIt)
{
    Shared::Entry::Field::ID field {};
    auto id = addItemWithAttachment(field);
    view(id);
    const auto source = MenuSource::customField(field, Category::attachment);
    auto attachment = coordinator->attachment(source);
    ASSERT_TRUE(attachment);

    coordinator->presentQuickLook(*attachment, false);
    coordinator->presentQuickLook(*attachment, false);
    EXPECT_TRUE(coordinator->quickLookState().isDecrypting) << "the second request waits for nothing";
    waitUntil([&] { return coordinator->quickLookState().temporaryDecryptedURL.has_value(); });
    settleSyncs();
    auto preview = std::dynamic_pointer_cast<UIKit::QLPreviewController>(coordinator->presentedViewController());
    ASSERT_TRUE(preview);
    preview->loadViewIfNeeded();
    EXPECT_EQ(preview->shownText(), String("the secret note"));
    const auto root = std::filesystem::path(coordinator->quickLookState().temporaryDecryptedURL->path().utf8()).parent_path().parent_path();
    EXPECT_EQ(decryptedFiles(root), 1u);

    preview->close();
    settleSyncs();
    EXPECT_FALSE(coordinator->presentedViewController());
    EXPECT_TRUE(coordinator->quickLookState().isInactive());
    EXPECT_EQ(decryptedFiles(root), 0u) << "no decrypted copy outlives its preview";
    coordinator->previewControllerDidDismiss(*preview);
    // Asked outside a preview, the data source answers a placeholder rather than stopping the program.
    EXPECT_EQ(coordinator->numberOfPreviewItems(*preview), 0);
    EXPECT_EQ(coordinator->previewItemAt(*preview, 0).path(), String("/dev/null"));
}

} // namespace
} // namespace CorvendaleTests
