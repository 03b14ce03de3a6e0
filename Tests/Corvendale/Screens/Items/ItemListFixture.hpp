#pragma once

#include "Tests/Corvendale/RecordingAnalyticsStore.hpp"
#include "Tests/Corvendale/Screens/Items/RecordingEntriesCoordinatorDelegate.hpp"
#include "Tests/Shared/Stores/RecordStoreFixture.hpp"

#include "Platform/UIKit/UIAction.hpp"
#include "Platform/UIKit/UIMenu.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace CorvendaleTests {

// An unlocked vault of the test's own with its stores.
class ItemListFixture : public testing::Test {
protected:
    void SetUp() override
    {
        SharedTests::removeApplicationGroup();
        vault = std::make_unique<SharedTests::Vault>();
        vault->cryptor->unlock(key.copy());
        recordStore = SharedTests::openRecordStore(*vault);
    }

    Foundation::String addItem(const Foundation::String& title,
                               const std::function<void(Shared::RecordStore::EditingContext&, const Foundation::String&)>& fill = {})
    {
        return SharedTests::addEntry(*recordStore, title, "", fill);
    }

    Shared::Cryptor::Key key = Shared::Cryptor::Key::random();
    std::unique_ptr<SharedTests::Vault> vault;
    std::shared_ptr<Shared::RecordStore> recordStore;
    std::shared_ptr<RecordingAnalyticsStore> analytics = Foundation::make<RecordingAnalyticsStore>();
    std::shared_ptr<RecordingEntriesCoordinatorDelegate> delegate = Foundation::make<RecordingEntriesCoordinatorDelegate>();
};

// The menu as a person reads it: one line per entry, submenus indented under their titles, "--" between
// sections; an entry that is on ends in " *", a subtitle follows in brackets.
inline std::vector<std::string> describe(const UIKit::UIMenu& menu, const std::string& indent = "")
{
    std::vector<std::string> lines;
    for (const auto& child : menu.children()) {
        if (auto submenu = std::dynamic_pointer_cast<UIKit::UIMenu>(child)) {
            if (submenu->title().isEmpty()) {
                if (!lines.empty() && lines.back() != indent + "--")
                    lines.push_back(indent + "--");
                for (auto& line : describe(*submenu, indent))
                    lines.push_back(std::move(line));
                lines.push_back(indent + "--");
            } else {
                lines.push_back(indent + submenu->title().utf8() + " >");
                for (auto& line : describe(*submenu, indent + "  "))
                    lines.push_back(std::move(line));
            }
            continue;
        }
        std::string line = indent + child->title().utf8();
        if (child->subtitle())
            line += " (" + child->subtitle()->utf8() + ")";
        if (auto action = std::dynamic_pointer_cast<UIKit::UIAction>(child); action && action->state() == UIKit::UIMenuElement::State::on)
            line += " *";
        lines.push_back(std::move(line));
    }
    while (!lines.empty() && (lines.back() == indent + "--"))
        lines.pop_back();
    while (!lines.empty() && lines.front() == indent + "--")
        lines.erase(lines.begin());
    return lines;
}

// The menu's entries without the category submenu (which is Shared's) and without separators.
inline std::vector<std::string> actionTitles(const UIKit::UIMenu& menu)
{
    std::vector<std::string> titles;
    for (const auto& line : describe(menu)) {
        if (line != "--" && line.front() != ' ' && line.back() != '>')
            titles.push_back(line);
    }
    return titles;
}

// Chooses the entry at the end of the title path (sections are looked through); false when there is none.
inline bool choose(const UIKit::UIMenu& menu, std::vector<std::string> path)
{
    for (const auto& child : menu.children()) {
        auto submenu = std::dynamic_pointer_cast<UIKit::UIMenu>(child);
        if (submenu && submenu->title().isEmpty()) {
            if (choose(*submenu, path))
                return true;
            continue;
        }
        if (child->title().utf8() != path.front())
            continue;
        if (path.size() == 1) {
            if (auto action = std::dynamic_pointer_cast<UIKit::UIAction>(child)) {
                action->performWithSender(nullptr);
                return true;
            }
            return false;
        }
        if (submenu)
            return choose(*submenu, std::vector<std::string>(path.begin() + 1, path.end()));
    }
    return false;
}

} // namespace CorvendaleTests
