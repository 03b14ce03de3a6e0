#pragma once

#include "Corvendale/Screens/Settings/AppVersionCell.hpp"
#include "Corvendale/Screens/Settings/SettingCell.hpp"

#include "Basalwork/Interface/DiffableTableItem.hpp"
#include "Basalwork/Interface/DiffableTableSection.hpp"

#include "Platform/Foundation/IndexPath.hpp"
#include "Platform/Foundation/String.hpp"

#include <memory>
#include <variant>
#include <vector>

namespace UIKit {
class UITableView;
class UITableViewCell;
} // namespace UIKit

namespace Corvendale {

// SettingsTVC.Section.Item: a row of the settings list. The twelve settings rows carry a setting cell's
// configuration, the version row the version cell's. A row is known by its configuration's id, and
// every configuration carries the appearance, so a change of appearance refreshes every row.
class SettingsTVCSectionItem : public Basalwork::DiffableTableItemDefaults {
public:
    enum class Case {
        authentication,
        autoFill,
        appearance,
        itemList,
        itemDetails,
        importItems,
        exportItems,
        backupRestore,
        safeForInspection,
        changeMasterPassword,
        reset,
        getInTouch,
        versionBuild,
    };

    // A settings row; `versionBuild` takes the other form.
    SettingsTVCSectionItem(Case kind, SettingCell::Config config);
    static SettingsTVCSectionItem versionBuild(AppVersionCell::Config config);

    Case kind() const { return m_case; }
    const SettingCell::Config* settingConfig() const { return std::get_if<SettingCell::Config>(&m_config); }
    const AppVersionCell::Config* appVersionConfig() const { return std::get_if<AppVersionCell::Config>(&m_config); }

    Foundation::String id() const;
    static void registerReusableViews(UIKit::UITableView& tableView);
    std::shared_ptr<UIKit::UITableViewCell> dequeueUpdatedCell(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath) const;
    void updateCell(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath, bool animated) const;

    friend bool operator==(const SettingsTVCSectionItem&, const SettingsTVCSectionItem&) = default;

private:
    SettingsTVCSectionItem(Case kind, std::variant<SettingCell::Config, AppVersionCell::Config> config);
    void configure(UIKit::UITableViewCell& cell) const;

    Case m_case;
    std::variant<SettingCell::Config, AppVersionCell::Config> m_config;
};

// SettingsTVC.Section: the settings rows ("settings"), then the version row ("versionBuild").
class SettingsTVCSection : public Basalwork::DiffableTableSectionDefaults {
public:
    using Item = SettingsTVCSectionItem;
    enum class Case { settings, versionBuild };

    static SettingsTVCSection settings(std::vector<Item> items) { return {Case::settings, std::move(items)}; }
    static SettingsTVCSection versionBuild(std::vector<Item> items) { return {Case::versionBuild, std::move(items)}; }

    Case kind() const { return m_case; }
    Foundation::String id() const { return Foundation::String(m_case == Case::settings ? "settings" : "versionBuild"); }
    const std::vector<Item>& items() const { return m_items; }
    static void registerReusableViews(UIKit::UITableView&) {}

    friend bool operator==(const SettingsTVCSection&, const SettingsTVCSection&) = default;

private:
    SettingsTVCSection(Case kind, std::vector<Item> items)
        : m_case(kind)
        , m_items(std::move(items))
    {
    }

    Case m_case;
    std::vector<Item> m_items;
};

} // namespace Corvendale
