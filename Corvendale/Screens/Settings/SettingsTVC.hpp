#pragma once

#include "Corvendale/Screens/Settings/SettingsTVC.Section.hpp"

#include "Basalwork/Interface/DiffableTableViewController.hpp"

#include <memory>
#include <vector>

namespace Shared {
class BackupStore;
class PreferenceStore;
class RecordStore;
} // namespace Shared

namespace Corvendale {

class SettingsTVCDelegate;

// The settings list: one section of settings rows, each a title with an explanatory subtitle, and the
// version row. Choosing a row (a click, or the keyboard's selection and Return) asks the delegate to
// open its page. The coordinator moves the selection with the keyboard; the table takes no keys itself.
class SettingsTVC : public Basalwork::DiffableTableViewController<SettingsTVCSection> {
public:
    using Section = SettingsTVCSection;
    struct Config {
        std::vector<Section> sections;
    };

    // The rows of the "settings" section; seven of them are left out while the safe-for-inspection mode
    // is active.
    static std::vector<Section::Item> makeSections(const Shared::PreferenceStore& preferenceStore, const Shared::RecordStore& recordStore,
                                                   const Shared::BackupStore& backupStatus);

    std::shared_ptr<SettingsTVCDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<SettingsTVCDelegate>& delegate) { m_delegate = delegate; }

    virtual void update(const Config& config, bool animated);
    virtual void selectPreviousRow();
    virtual void selectNextRow();
    virtual void performSelectedRow();

    void loadView() override;
    void viewDidLoad() override;
    void viewDidLayoutSubviews() override;
    UIKit::CGFloat heightForHeaderInSection(UIKit::UITableView& tableView, std::int64_t section) override;
    std::optional<Foundation::IndexPath> willSelectRowAt(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath) override;
    void didSelectRowAt(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath) override;
    std::shared_ptr<UIKit::UITableViewCell> cellForRowAt(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath) override;
    void scrollViewDidScroll(UIKit::UIScrollView& scrollView);

protected:
    friend Foundation::Construct;
    SettingsTVC()
        : DiffableTableViewController(UIKit::UITableView::Style::grouped)
    {
    }

private:
    void select(const Foundation::IndexPath& indexPath);

    std::weak_ptr<SettingsTVCDelegate> m_delegate;
    bool m_shouldDeselectRowAfterNextDidSelectRow = false;
    bool m_hasPerformedCellPreload = false;
};

} // namespace Corvendale
