#pragma once

#include "Tests/Corvendale/App/MainCoordinatorFixture.hpp"
#include "Tests/Shared/Stores/VaultFixture.hpp"
#include "Tests/Support/Files.hpp"

#include "Shared/Transfer/BackupStore.hpp"
#include "Shared/Transfer/Exporter.hpp"
#include "Shared/Transfer/Importer.hpp"

#include "Basalwork/Interface/PromotionButton.hpp"

#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/UIApplication.hpp"

#include <filesystem>
#include <string>

namespace CorvendaleTests {

// The unlocked window with a transfer page opened through its menu command.
class TransferPageFixture : public MainCoordinatorFixture {
protected:
    void SetUp() override
    {
        MainCoordinatorFixture::SetUp();
        if (auto banners = delegate->banners->view()->window())
            banners->setIsHidden(true);
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        show();
    }
    void TearDown() override
    {
        waitForTransfers();
        dependencies().importer->resetStatus();
        dependencies().exporter->resetStatus();
        UIKit::UIApplication::setExternalURLHandler({});
        MainCoordinatorFixture::TearDown();
    }

    static const Corvendale::Dependencies& dependencies() { return inMemoryDependencies(); }

    template <class Page>
    std::shared_ptr<Page> open(const char* command)
    {
        EXPECT_TRUE(coordinator->perform(Foundation::Selector(command)));
        settle();
        auto page = std::dynamic_pointer_cast<Page>(coordinator->presentedViewController());
        EXPECT_NE(page, nullptr) << command << " presents its page";
        window->layoutIfNeeded();
        return page;
    }

    static void waitForTransfers()
    {
        SharedTests::runMainLoopUntil([] {
            return !dependencies().importer->status().is<Shared::Importer::Status::InProgress>()
                && !dependencies().exporter->status().is<Shared::Exporter::Status::InProgress>();
        });
    }

    static Foundation::URL url(const std::filesystem::path& path, bool isDirectory = false)
    {
        return Foundation::URL::fileURLWithPath(Foundation::String(path.string()), isDirectory);
    }

    static std::string title(const Basalwork::PromotionButton& button) { return button.titleText().value_or(Foundation::String()).utf8(); }

    // A browser's CSV export of `rows` logins.
    std::filesystem::path browserExport(int rows, const std::string& name = "Passwords.csv")
    {
        std::string text = "name,url,username,password\n";
        for (int i = 0; i < rows; ++i)
            text += "Site " + std::to_string(i) + ",https://site" + std::to_string(i) + ".example,user" + std::to_string(i) + ",secret" + std::to_string(i) + "\n";
        TestSupport::writeText(folder / name, text);
        return folder / name;
    }

    std::filesystem::path folder = std::filesystem::path(std::getenv("TMPDIR")) / "TransferPages";
};

} // namespace CorvendaleTests
