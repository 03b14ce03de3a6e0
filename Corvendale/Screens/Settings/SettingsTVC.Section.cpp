#include "Corvendale/Screens/Settings/SettingsTVC.Section.hpp"

#include "Basalwork/Interface/UITableView.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UITableView.hpp"

namespace Corvendale {

SettingsTVCSectionItem::SettingsTVCSectionItem(Case kind, SettingCell::Config config)
    : SettingsTVCSectionItem(kind, std::variant<SettingCell::Config, AppVersionCell::Config>(std::move(config)))
{
    Foundation::precondition(kind != Case::versionBuild, "The version row carries the version cell's configuration");
}

SettingsTVCSectionItem::SettingsTVCSectionItem(Case kind, std::variant<SettingCell::Config, AppVersionCell::Config> config)
    : m_case(kind)
    , m_config(std::move(config))
{
}

SettingsTVCSectionItem SettingsTVCSectionItem::versionBuild(AppVersionCell::Config config)
{
    return {Case::versionBuild, std::variant<SettingCell::Config, AppVersionCell::Config>(std::move(config))};
}

Foundation::String SettingsTVCSectionItem::id() const
{
    return std::visit([](const auto& config) { return config.id; }, m_config);
}

void SettingsTVCSectionItem::registerReusableViews(UIKit::UITableView& tableView)
{
    Basalwork::registerReuseIdentifiableClass<SettingCell>(tableView);
    Basalwork::registerReuseIdentifiableClass<AppVersionCell>(tableView);
}

std::shared_ptr<UIKit::UITableViewCell> SettingsTVCSectionItem::dequeueUpdatedCell(UIKit::UITableView& tableView,
                                                                                   const Foundation::IndexPath& indexPath) const
{
    std::shared_ptr<UIKit::UITableViewCell> cell;
    if (settingConfig())
        cell = Basalwork::dequeueReusableCell<SettingCell>(tableView, indexPath);
    else
        cell = Basalwork::dequeueReusableCell<AppVersionCell>(tableView, indexPath);
    configure(*cell);
    return cell;
}

void SettingsTVCSectionItem::updateCell(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath, bool) const
{
    if (auto cell = tableView.cellForRow(indexPath))
        configure(*cell);
}

void SettingsTVCSectionItem::configure(UIKit::UITableViewCell& cell) const
{
    if (const auto* config = settingConfig()) {
        if (auto* settingCell = dynamic_cast<SettingCell*>(&cell))
            settingCell->configure(*config);
    } else if (auto* versionCell = dynamic_cast<AppVersionCell*>(&cell)) {
        versionCell->configure(*appVersionConfig());
    }
}

} // namespace Corvendale
