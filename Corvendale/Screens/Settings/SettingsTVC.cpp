#include "Corvendale/Screens/Settings/SettingsTVC.hpp"

#include "Corvendale/Screens/Settings/SettingsTVCDelegate.hpp"

#include "Shared/Transfer/BackupStore.hpp"
#include "Shared/Model/Global.hpp"
#include "Shared/Transfer/Importer.App.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Basalwork/Base/Array.hpp"
#include "Basalwork/Base/DateFormatter.hpp"
#include "Basalwork/Interface/Array.hpp"
#include "Basalwork/Interface/KeyCommandDisabledTableView.hpp"
#include "Basalwork/Interface/UserInteractionNotifyingWindow.hpp"

#include "Platform/Foundation/DateFormatter.Style.hpp"
#include "Platform/Foundation/TimeZone.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UITableView.hpp"

#include <limits>

namespace Corvendale {

using Item = SettingsTVCSectionItem;
using Case = Item::Case;
using Foundation::String;

namespace {

String backupRestoreSubtitle(const Shared::BackupStoreStatus& status, bool& isAttentionRequired)
{
    const auto product = Shared::Global::corvendale();
    if (const auto* failed = status.as<Shared::BackupStoreStatus::Failed>()) {
        isAttentionRequired = true;
        String text = product + " was unable to perform the last backup. ";
        if (!failed->lastBackupAt)
            return text + "No backups found.";
        auto formatter = Basalwork::DateFormatters::withDateStyle(Foundation::DateFormatter::Style::medium, Foundation::DateFormatter::Style::short_,
                                                                  Foundation::TimeZone::current());
        formatter->setDoesRelativeDateFormatting(true);
        return text + "Last backed up: " + formatter->string(*failed->lastBackupAt);
    }
    isAttentionRequired = false;
    return "Ensure your data is never lost by having " + product + " automatically perform encrypted backups, saved locally to your device.";
}

} // namespace

std::vector<SettingsTVCSection::Item> SettingsTVC::makeSections(const Shared::PreferenceStore& preferenceStore,
                                                               const Shared::RecordStore& recordStore, const Shared::BackupStore& backupStatus)
{
    using State = Shared::RecordStore::SafeForInspectionState;
    const auto appearance = preferenceStore.appearance();
    const auto product = Shared::Global::corvendale();
    std::vector<Item> items;
    auto row = [&](Case kind, const char* id, String title, String subtitle, bool isAttentionRequired = false) {
        items.emplace_back(kind, SettingCell::Config {String(id), std::move(title), std::move(subtitle), isAttentionRequired, appearance});
    };

    bool isInspectionModeActive = recordStore.safeForInspectionState() == State::activated;
    if (!isInspectionModeActive)
        row(Case::authentication, "authentication", "Authentication & Security",
            "Choose how often " + product
                + " needs to be unlocked, under what conditions, and how long copied content remains on the clipboard.");
    row(Case::autoFill, "autoFill", Shared::Global::AutoFill::name(),
        Shared::Global::AutoFill::description() + ", open verification code links and QR codes in " + product
            + ", and automatically copy one-time passwords to the clipboard.");
    row(Case::appearance, "appearance", "Appearance",
        "Customize the look and feel of " + product + "! Choose the color scheme and font style used throughout the app.");
    row(Case::itemList, "itemList", "Item List & Search",
        "Choose how items are displayed in the list, which fields are included in search, and whether or not to ask before "
        "duplicating, archiving, or moving items to the trash.");
    row(Case::itemDetails, "itemDetails", "Item Details",
        "Choose a default username for new logins, whether to conceal passwords, when to show Large Viewer character positions, "
        "and how to display the password generator.");

    // The mode may have changed while the rows above were made.
    isInspectionModeActive = recordStore.safeForInspectionState() == State::activated;
    if (!isInspectionModeActive) {
        row(Case::importItems, "importItems", Shared::Global::ImportItems::name(),
            "Import items from " + Basalwork::joined(Shared::allImporterAppNames(), Basalwork::Array::OxfordCommaMode::or_) + ".");
        row(Case::exportItems, "exportItems", Shared::Global::ExportItems::name(),
            "Export items to unencrypted JSON or CSV, transfer items to another iCloud account or app, or keep an unencrypted backup.");
        bool isAttentionRequired = false;
        auto subtitle = backupRestoreSubtitle(backupStatus.status(), isAttentionRequired);
        row(Case::backupRestore, "backupRestore", "Backup & Restore", std::move(subtitle), isAttentionRequired);
        row(Case::safeForInspection, "safeForInspection", Shared::Global::SafeForInspection::mode(),
            Shared::Global::SafeForInspection::description());
        row(Case::changeMasterPassword, "changeMasterPassword", "Change Master Password",
            "You will need to enter your new password on each device associated with your iCloud account.");
        row(Case::reset, "reset", "Reset " + product,
            "Clear locally cached data from this device and re-sync from iCloud OR permanently delete all data from all synced devices "
            "and start over.");
    }
    row(Case::getInTouch, "getInTouch", "Questions?",
        "We will be offering support until August 1st, 2026. Please start with our FAQs as they cover many common issues. Then feel "
        "free to get in touch if you still have questions.");
    return items;
}

void SettingsTVC::loadView()
{
    // The table takes no keys of its own, so arrows, Tab and Return reach the coordinator's commands.
    setView(Foundation::make<Basalwork::KeyCommandDisabledTableView>(UIKit::CGRect::zero(), UIKit::UITableView::Style::grouped));
}

void SettingsTVC::viewDidLoad()
{
    DiffableTableViewController::viewDidLoad();
    tableView()->setBackgroundColor(UIKit::UIColor::clear());
    tableView()->setSeparatorColor(UIKit::UIColor::clear());
}

void SettingsTVC::viewDidLayoutSubviews()
{
    DiffableTableViewController::viewDidLayoutSubviews();
    if (m_hasPerformedCellPreload)
        return;
    m_hasPerformedCellPreload = true;
    // One very tall layout makes and measures every row's cell at once, so that the keyboard's moves
    // scroll by the rows' real heights from the start.
    auto table = tableView();
    const auto frame = table->frame();
    auto tall = frame;
    tall.size.height = 1'000'000;
    table->setFrame(tall);
    table->layoutSubviews();
    table->setFrame(frame);
    table->setNeedsLayout();
}

UIKit::CGFloat SettingsTVC::heightForHeaderInSection(UIKit::UITableView&, std::int64_t section)
{
    Foundation::precondition(section >= 0 && static_cast<std::size_t>(section) < sections().size(), "No such section");
    return std::numeric_limits<UIKit::CGFloat>::min();
}

std::optional<Foundation::IndexPath> SettingsTVC::willSelectRowAt(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath)
{
    m_shouldDeselectRowAfterNextDidSelectRow = !tableView.indexPathForSelectedRow().has_value();
    return indexPath;
}

void SettingsTVC::didSelectRowAt(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath)
{
    performSelectedRow();
    // A click leaves no selection behind unless the keyboard had made one.
    if (m_shouldDeselectRowAfterNextDidSelectRow)
        tableView.deselectRow(indexPath, true);
}

std::shared_ptr<UIKit::UITableViewCell> SettingsTVC::cellForRowAt(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath)
{
    auto cell = DiffableTableViewController::cellForRowAt(tableView, indexPath);
    if (auto versionCell = std::dynamic_pointer_cast<AppVersionCell>(cell))
        versionCell->setDelegate(m_delegate.lock());
    return cell;
}

void SettingsTVC::scrollViewDidScroll(UIKit::UIScrollView&)
{
    Basalwork::UserInteractionNotifyingWindow::handleUserInteractionEvent();
}

void SettingsTVC::update(const Config& config, bool animated)
{
    DiffableTableViewController::update(config.sections, animated, UIKit::UITableView::RowAnimation::middle,
                                        UIKit::UITableView::RowAnimation::middle, true, std::nullopt, nullptr);
}

void SettingsTVC::select(const Foundation::IndexPath& indexPath)
{
    auto table = tableView();
    table->selectRow(indexPath, false, UIKit::UITableView::ScrollPosition::none);
    table->scrollToRow(indexPath, UIKit::UITableView::ScrollPosition::none, false);
    Basalwork::UserInteractionNotifyingWindow::handleUserInteractionEvent();
}

void SettingsTVC::selectPreviousRow()
{
    auto selected = tableView()->indexPathForSelectedRow();
    if (!selected)
        return;
    auto previous = Basalwork::itemBefore(sections(), *selected);
    if (!previous)
        return;
    if (auto indexPath = Basalwork::indexPathOfItem(sections(), previous->id()))
        select(*indexPath);
}

void SettingsTVC::selectNextRow()
{
    auto table = tableView();
    auto selected = table->indexPathForSelectedRow();
    if (!selected) {
        if (!sections().empty() && !sections().front().items().empty())
            table->selectRow(Foundation::IndexPath::withRow(0, 0), false, UIKit::UITableView::ScrollPosition::none);
        return;
    }
    auto next = Basalwork::itemAfter(sections(), *selected);
    if (!next)
        return;
    auto indexPath = Basalwork::indexPathOfItem(sections(), next->id());
    if (!indexPath)
        return;
    // The version row is never selected from the keyboard.
    if (auto item = Basalwork::item(sections(), *indexPath); !item || item->kind() == Case::versionBuild)
        return;
    select(*indexPath);
}

void SettingsTVC::performSelectedRow()
{
    auto selected = tableView()->indexPathForSelectedRow();
    if (!selected)
        return;
    Basalwork::UserInteractionNotifyingWindow::handleUserInteractionEvent();
    auto item = Basalwork::item(sections(), *selected);
    auto delegate = m_delegate.lock();
    if (!item || !delegate)
        return;
    switch (item->kind()) {
    case Case::authentication:
        return delegate->didSelectAuthentication(*this);
    case Case::autoFill:
        return delegate->didSelectAutoFill(*this);
    case Case::appearance:
        return delegate->didSelectAppearance(*this);
    case Case::itemList:
        return delegate->didSelectItemList(*this);
    case Case::itemDetails:
        return delegate->didSelectItemDetails(*this);
    case Case::importItems:
        return delegate->didSelectImportItems(*this);
    case Case::exportItems:
        return delegate->didSelectExportItems(*this);
    case Case::backupRestore:
        return delegate->didSelectBackupRestore(*this);
    case Case::safeForInspection:
        return delegate->didSelectSafeForInspection(*this);
    case Case::changeMasterPassword:
        return delegate->didSelectChangeMasterPassword(*this);
    case Case::reset:
        return delegate->didSelectReset(*this);
    case Case::getInTouch:
        return delegate->didSelectGetInTouch(*this);
    case Case::versionBuild:
        return;
    }
}

} // namespace Corvendale
