#pragma once

#include "Shared/Model/EntryIndex.hpp"
#include "Shared/Screens/EntriesVC.Items.hpp"
#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UITableViewDataSource.hpp"
#include "Platform/UIKit/UITableViewDelegate.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Basalwork {
class ChangeSet;
}

namespace Foundation {
class DispatchQueue;
class NSObject;
}

namespace UIKit {
class UIButton;
class UILabel;
class UIStackView;
class UITableView;
class UITextField;
}

namespace Shared {

struct EntriesVCConfig;
class EntriesVCRows;
struct EntriesVSyncStatusIndicatorConfig;
class EntriesVCDelegate;
class LetterPressCollector;

// The item list: a header (the filter's title with its menu, the sync indicator, settings, select,
// new item and cancel), a search field and the table of items, with the bulk controls while several
// are selected. Its owner pushes a `Config`; the list asks its delegate for the filter's items when the
// push changes what they are, and searches them itself, so typing never goes back to the store. Reading
// the items, searching them and the difference from what shows grow with the vault: they run on a
// worker thread, one step at a time, each handing the table one batch of changes on the main queue.
// Requests of the owner that need the rows (selecting them) wait for steps still under way.
class EntriesVC : public UIKit::UIViewController,
                  public UIKit::UITableViewDataSource,
                  public UIKit::UITableViewDelegate,
                  public PreferenceStoreAppearanceUpdateHandling {
public:
    using Config = EntriesVCConfig;
    using Items = EntriesVCItems;
    using Rows = EntriesVCRows;

    ~EntriesVC() override;

    std::shared_ptr<EntriesVCDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<EntriesVCDelegate>& delegate) { m_delegate = delegate; }

    const std::optional<Config>& config() const;
    void setConfig(const Config& config, bool animated);
    void setSyncStatusIndicatorConfig(const EntriesVSyncStatusIndicatorConfig& config);

    // The state the owner passes back in the next configuration.
    std::vector<Foundation::String> selectedEntryIDs() const;
    bool isSelectingMultiple() const;
    Foundation::String searchText() const;
    // As if typed: the list searches and tells its delegate.
    void setSearchText(const Foundation::String& text);

    // The items shown now, in order: the filter's, narrowed by the search text.
    std::vector<Foundation::String> shownEntryIDs() const;

    // Requests of the owner.
    void focusSearch();
    // Selects the first item when nothing is selected; `scrollToSelection` brings it into view.
    void selectFirstRow(bool animated, bool scrollToSelection);
    void selectAll();
    void deselectAll();
    // Selects the shown ones of `entryIDs` (others are skipped) and reports the selection.
    void select(const std::vector<Foundation::String>& entryIDs, bool scrollToSelection);
    // Type-to-select: the first shown item whose title starts with `text`, whatever the case.
    void selectFirstItem(const Foundation::String& matching);
    void setSelectingMultiple(bool selectingMultiple, bool animated);

    // The views a person or a test reaches.
    const std::shared_ptr<UIKit::UITableView>& tableView() const { return m_tableView; }
    const std::shared_ptr<UIKit::UITextField>& searchField() const { return m_searchField; }
    const std::shared_ptr<UIKit::UIButton>& titleButton() const { return m_titleButton; }
    const std::shared_ptr<UIKit::UIButton>& syncStatusIndicator() const { return m_syncStatusButton; }

    // Key commands: the arrows move the selection (Shift extends it, Command goes to the ends, Option
    // moves a page, Option-Shift extends to the ends), Command-A selects all, Return activates, Command-F
    // searches, and letters typed outside the search field jump to the first item whose title starts
    // with them (the picker's owner takes them for its search instead).
    std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> keyCommands() const override;
    bool canBecomeFirstResponder() const override { return true; }
    void handleMoveUp();
    void handleMoveDown();
    void handleExtendUp();
    void handleExtendDown();
    void handleMoveToFirst();
    void handleMoveToLast();
    void handlePageUp();
    void handlePageDown();
    void handleExtendToFirst();
    void handleExtendToLast();
    void handleSelectAll();
    void handleActivate();
    void handleFind();
    void handleEscape();
    void pressesBegan(const std::vector<std::shared_ptr<UIKit::UIPress>>& presses, const std::shared_ptr<UIKit::UIEvent>& event) override;

    // UITableViewDataSource, UITableViewDelegate
    std::int64_t numberOfRowsInSection(UIKit::UITableView& tableView, std::int64_t section) override;
    std::shared_ptr<UIKit::UITableViewCell> cellForRowAt(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath) override;
    void didSelectRowAt(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath) override;
    void didDeselectRowAt(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath) override;
    std::shared_ptr<UIKit::UIContextMenuConfiguration> contextMenuConfigurationForRowAt(UIKit::UITableView& tableView,
                                                                                        const Foundation::IndexPath& indexPath,
                                                                                        UIKit::CGPoint point) override;
    std::shared_ptr<UIKit::UISwipeActionsConfiguration> leadingSwipeActionsConfigurationForRowAt(UIKit::UITableView& tableView,
                                                                                                 const Foundation::IndexPath& indexPath) override;
    std::shared_ptr<UIKit::UISwipeActionsConfiguration> trailingSwipeActionsConfigurationForRowAt(UIKit::UITableView& tableView,
                                                                                                  const Foundation::IndexPath& indexPath) override;

    void update(const Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    EntriesVC();

    void loadView() override;
    void viewDidLoad() override;

private:
    struct Work;

    // Asks the delegate for the filter's items and hands them to the worker.
    void requestEntries();
    // Whether the picker's list is narrowed to its site's items with that search text.
    bool narrowsToDomain(const Foundation::String& searchText) const;
    void searchTextDidChange();
    // Hands a step to the worker (new items, when given, and the search text now in the field); its
    // result comes back on the main queue, one batch for the table.
    void submit(std::optional<EntriesVCItems> items);
    void stepDidEnd();
    void show(std::shared_ptr<const EntriesVCRows> rows, const Basalwork::ChangeSet& changes, bool itemsArrived);
    // Runs what needs the rows now asked for: at once, or once the worker's steps have come back.
    void whenRowsArrive(std::function<void(EntriesVC&)> request);
    void reconfigureCell(const Foundation::IndexPath& indexPath);
    void reconfigureVisibleCells();
    void updateHeader();
    void updateEmptyLabel();
    void updateSelectionControls();
    void reportSelection(bool shouldUpdateDetails);
    void applySelectionToTable(bool scroll);
    void moveSelection(std::int64_t offset, bool extend);
    void selectRowAt(std::int64_t row, bool extend);
    std::optional<std::int64_t> rowOf(const Foundation::String& entryID) const;
    const EntryIndex* rowAt(const Foundation::IndexPath& indexPath) const;
    const Foundation::String& shownID(std::int64_t row) const;
    std::int64_t shownCount() const;
    std::shared_ptr<UIKit::UIView> viewForRow(const Foundation::IndexPath& indexPath) const;
    std::int64_t rowsPerPage() const;

    std::weak_ptr<EntriesVCDelegate> m_delegate;
    std::unique_ptr<std::optional<Config>> m_config; // complete only after this class
    // What the table shows; the worker's steps replace it whole.
    std::shared_ptr<const EntriesVCRows> m_rows;
    std::shared_ptr<Work> m_work;
    std::shared_ptr<Foundation::DispatchQueue> m_workQueue;
    std::size_t m_stepsInFlight = 0;
    std::vector<std::function<void(EntriesVC&)>> m_waitingForRows;
    // Whether items came since the list last asked for them: until then it says nothing of being empty.
    bool m_hasItems = false;
    // The search text the last step handed to the worker searches for.
    Foundation::String m_requestedSearchText;
    std::vector<Foundation::String> m_selectedEntryIDs;
    std::optional<std::int64_t> m_anchorRow; // where an extending selection started
    std::optional<std::int64_t> m_lastMovedRow; // where the keyboard left the selection
    bool m_isSelectingMultiple = false;
    bool m_needsEntries = true;
    std::shared_ptr<Foundation::NSObject> m_recordsObserver;
    std::shared_ptr<LetterPressCollector> m_letterPressCollector;
    Settings::Appearance m_appearance;
    Settings::Items::SearchableFields m_searchableFields {};
    Settings::Items::ListStyle m_listStyle = Settings::Items::ListStyle::standard;

    std::shared_ptr<UIKit::UIButton> m_titleButton;
    std::shared_ptr<UIKit::UIButton> m_syncStatusButton;
    std::shared_ptr<UIKit::UIButton> m_settingsButton;
    std::shared_ptr<UIKit::UIButton> m_selectButton;
    std::shared_ptr<UIKit::UIButton> m_newItemButton;
    std::shared_ptr<UIKit::UIButton> m_cancelButton;
    std::shared_ptr<UIKit::UILabel> m_pickerLabel;
    std::shared_ptr<UIKit::UITextField> m_searchField;
    std::shared_ptr<UIKit::UITableView> m_tableView;
    std::shared_ptr<UIKit::UILabel> m_emptyLabel;
    std::shared_ptr<UIKit::UIStackView> m_editingControls;
    std::vector<std::shared_ptr<UIKit::UIButton>> m_editingButtons;
};

} // namespace Shared

#include "Shared/Screens/EntriesVC.Config.hpp"
