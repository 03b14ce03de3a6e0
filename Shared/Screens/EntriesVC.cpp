#include "Shared/Screens/EntriesVC.hpp"

#include "Shared/Screens/EntriesSearch.hpp"
#include "Shared/Screens/EntriesVCDelegate.hpp"
#include "Shared/Screens/EntryCell.hpp"
#include "Shared/Screens/LetterPressCollector.hpp"
#include "Shared/Screens/UIColor.hpp"
#include "Shared/Screens/UIKeyCommand.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Basalwork/Interface/UITableView.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/NSLayoutDimension.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIKey.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIPress.hpp"
#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITextField.hpp"

#include <algorithm>
#include <utility>

namespace Shared {

namespace {

using Foundation::IndexPath;
using Foundation::Selector;
using Foundation::String;

// Two lines of text (title and subtitle): rows lie on whole lines of the text grid, so that a row's mark
// and highlight are drawn on the row.
constexpr UIKit::CGFloat rowHeight = 2 * UIKit::TextGrid::lineHeight;

std::shared_ptr<UIKit::UIButton> makeButton(const char* title, const char* identifier)
{
    auto button = Foundation::make<UIKit::UIButton>();
    button->setTitle(String(title), UIKit::UIControl::State::normal());
    button->setAccessibilityIdentifier(String(identifier));
    return button;
}

const bool registered = [] {
    Foundation::MethodTable::add(Selector("handleMoveUp"), &EntriesVC::handleMoveUp);
    Foundation::MethodTable::add(Selector("handleMoveDown"), &EntriesVC::handleMoveDown);
    Foundation::MethodTable::add(Selector("handleExtendUp"), &EntriesVC::handleExtendUp);
    Foundation::MethodTable::add(Selector("handleExtendDown"), &EntriesVC::handleExtendDown);
    Foundation::MethodTable::add(Selector("handleMoveToFirst"), &EntriesVC::handleMoveToFirst);
    Foundation::MethodTable::add(Selector("handleMoveToLast"), &EntriesVC::handleMoveToLast);
    Foundation::MethodTable::add(Selector("handlePageUp"), &EntriesVC::handlePageUp);
    Foundation::MethodTable::add(Selector("handlePageDown"), &EntriesVC::handlePageDown);
    Foundation::MethodTable::add(Selector("handleExtendToFirst"), &EntriesVC::handleExtendToFirst);
    Foundation::MethodTable::add(Selector("handleExtendToLast"), &EntriesVC::handleExtendToLast);
    Foundation::MethodTable::add(Selector("handleSelectAll"), &EntriesVC::handleSelectAll);
    Foundation::MethodTable::add(Selector("handleActivate"), &EntriesVC::handleActivate);
    Foundation::MethodTable::add(Selector("handleFind"), &EntriesVC::handleFind);
    Foundation::MethodTable::add(Selector("handleEscape"), &EntriesVC::handleEscape);
    return true;
}();

} // namespace

EntriesVC::EntriesVC()
    : m_config(std::make_unique<std::optional<Config>>())
    , m_letterPressCollector(Foundation::make<LetterPressCollector>())
{
    (void)registered;
}

EntriesVC::~EntriesVC()
{
    if (m_recordsObserver && *m_config && (*m_config)->recordStore)
        (*m_config)->recordStore->notificationCenter()->removeObserver(m_recordsObserver);
}

const std::optional<EntriesVC::Config>& EntriesVC::config() const
{
    return *m_config;
}

void EntriesVC::loadView()
{
    auto view = Foundation::make<UIKit::UIView>(UIKit::CGRect {0, 0, 400, 600});
    view->setBackgroundColor(UIColors::primaryBackground());

    m_titleButton = makeButton("All Items", "EntriesVC.title");
    m_titleButton->setShowsMenuAsPrimaryAction(true);
    m_titleButton->addAction(
        [weakSelf = weakSelf(this)] {
            // Counts change with the items: the menu is made when it opens.
            auto self = weakSelf.lock();
            auto delegate = self ? self->delegate() : nullptr;
            if (delegate)
                self->m_titleButton->setMenu(delegate->contextMenu(*self->m_titleButton));
        },
        UIKit::UIControl::Event::touchDown());
    m_syncStatusButton = makeButton("", "EntriesVC.syncStatus");
    m_settingsButton = makeButton("Settings", "EntriesVC.settings");
    m_selectButton = makeButton("Select", "EntriesVC.select");
    m_newItemButton = makeButton("+", "EntriesVC.newItem");
    m_newItemButton->setShowsMenuAsPrimaryAction(true);
    m_newItemButton->addAction(
        [weakSelf = weakSelf(this)] {
            auto self = weakSelf.lock();
            auto delegate = self ? self->delegate() : nullptr;
            if (delegate)
                self->m_newItemButton->setMenu(delegate->newItemMenu(*self->m_newItemButton));
        },
        UIKit::UIControl::Event::touchDown());
    m_cancelButton = makeButton("Cancel", "EntriesVC.cancel");
    auto onTap = [this](const std::shared_ptr<UIKit::UIButton>& button, std::function<void(EntriesVC&, EntriesVCDelegate&)> action) {
        button->addAction(
            [weakSelf = weakSelf(this), action = std::move(action)] {
                auto self = weakSelf.lock();
                auto delegate = self ? self->delegate() : nullptr;
                if (delegate)
                    action(*self, *delegate);
            },
            UIKit::UIControl::Event::primaryActionTriggered());
    };
    onTap(m_syncStatusButton, [](EntriesVC& self, EntriesVCDelegate& delegate) { delegate.didSelectSyncStatusIndicator(self.m_syncStatusButton, self); });
    onTap(m_settingsButton, [](EntriesVC& self, EntriesVCDelegate& delegate) { delegate.didSelectSettings(self.m_settingsButton, self); });
    onTap(m_selectButton, [](EntriesVC& self, EntriesVCDelegate& delegate) { delegate.didSelectSelect(self); });
    onTap(m_cancelButton, [](EntriesVC& self, EntriesVCDelegate& delegate) { delegate.didSelectCancel(self); });

    m_pickerLabel = Foundation::make<UIKit::UILabel>();
    m_pickerLabel->setNumberOfLines(0);
    m_pickerLabel->setIsHidden(true);

    m_searchField = Foundation::make<UIKit::UITextField>();
    m_searchField->setPlaceholder(String("Search"));
    m_searchField->setAccessibilityIdentifier(String("EntriesVC.search"));
    m_searchField->addAction(
        [weakSelf = weakSelf(this)] {
            auto self = weakSelf.lock();
            if (!self)
                return;
            self->searchTextDidChange(true);
            if (auto delegate = self->delegate())
                delegate->didUpdateSearchText(*self);
        },
        UIKit::UIControl::Event::editingChanged());

    m_tableView = Foundation::make<UIKit::UITableView>(UIKit::CGRect {0, 0, 400, 400}, UIKit::UITableView::Style::plain);
    m_tableView->setAccessibilityIdentifier(String("EntriesVC.table"));
    m_tableView->registerCell<EntryCell>(EntryCell::reuseIdentifier);
    m_tableView->setRowHeight(rowHeight);
    m_tableView->setDataSource(std::dynamic_pointer_cast<UIKit::UITableViewDataSource>(sharedSelf(this)));
    m_tableView->setDelegate(std::dynamic_pointer_cast<UIKit::UITableViewDelegate>(sharedSelf(this)));

    m_emptyLabel = Foundation::make<UIKit::UILabel>();
    m_emptyLabel->setTextAlignment(UIKit::NSTextAlignment::center);
    m_emptyLabel->setIsHidden(true);

    m_editingControls = Foundation::make<UIKit::UIStackView>();
    m_editingControls->setAxis(UIKit::NSLayoutConstraint::Axis::vertical);
    using Control = std::pair<const char*, void (*)(EntriesVC&, EntriesVCDelegate&, const std::shared_ptr<UIKit::UIView>&)>;
    const Control controls[] = {
        {"Done", [](EntriesVC& self, EntriesVCDelegate& delegate, const auto&) { delegate.didSelectDone(self); }},
        {"Select All", [](EntriesVC& self, EntriesVCDelegate& delegate, const auto&) { delegate.didSelectSelectAll(self); }},
        {"Deselect All", [](EntriesVC& self, EntriesVCDelegate& delegate, const auto&) { delegate.didSelectDeselectAll(self); }},
        {"Favorite", [](EntriesVC& self, EntriesVCDelegate& delegate, const auto& source) { delegate.didSelectFavorite(source, self); }},
        {"Unfavorite", [](EntriesVC& self, EntriesVCDelegate& delegate, const auto& source) { delegate.didSelectUnfavorite(source, self); }},
        {"Duplicate", [](EntriesVC& self, EntriesVCDelegate& delegate, const auto& source) { delegate.didSelectDuplicate(source, self); }},
        {"Archive", [](EntriesVC& self, EntriesVCDelegate& delegate, const auto& source) { delegate.didSelectArchive(source, self); }},
        {"Unarchive", [](EntriesVC& self, EntriesVCDelegate& delegate, const auto& source) { delegate.didSelectUnarchive(source, self); }},
        {"Move to Trash", [](EntriesVC& self, EntriesVCDelegate& delegate, const auto& source) { delegate.didSelectMoveToTrash(source, self); }},
        {"Restore", [](EntriesVC& self, EntriesVCDelegate& delegate, const auto& source) { delegate.didSelectRestore(source, self); }},
        {"Delete Permanently",
         [](EntriesVC& self, EntriesVCDelegate& delegate, const auto& source) { delegate.didSelectDeletePermanently(source, self); }},
    };
    // Three rows, so that every control fits a narrow column.
    std::shared_ptr<UIKit::UIStackView> controlRow;
    std::size_t position = 0;
    for (const auto& [title, action] : controls) {
        if (position == 0 || position == 3 || position == 8) {
            controlRow = Foundation::make<UIKit::UIStackView>();
            controlRow->setAxis(UIKit::NSLayoutConstraint::Axis::horizontal);
            controlRow->setSpacing(8);
            m_editingControls->addArrangedSubview(controlRow);
        }
        ++position;
        auto button = makeButton(title, "EntriesVC.editing");
        button->addAction(
            [weakSelf = weakSelf(this), weakButton = std::weak_ptr<UIKit::UIButton>(button), action] {
                auto self = weakSelf.lock();
                auto delegate = self ? self->delegate() : nullptr;
                if (delegate)
                    action(*self, *delegate, weakButton.lock());
            },
            UIKit::UIControl::Event::primaryActionTriggered());
        controlRow->addArrangedSubview(button);
        m_editingButtons.push_back(button);
    }
    m_editingControls->setIsHidden(true);

    // The header in two rows, so that a column as narrow as a phone's shows every button whole: the
    // buttons, then the title with the sync status at the far end. Only the title gives way to a long
    // sync status, ending in "…".
    auto row = [](std::initializer_list<std::shared_ptr<UIKit::UIView>> views) {
        auto stack = Foundation::make<UIKit::UIStackView>();
        stack->setAxis(UIKit::NSLayoutConstraint::Axis::horizontal);
        stack->setSpacing(10);
        for (const auto& view : views)
            stack->addArrangedSubview(view);
        return stack;
    };
    // Takes what the buttons leave; it has no size of its own, and none below zero to lend the buttons.
    auto gap = [] {
        auto view = Foundation::make<UIKit::UIView>();
        view->widthAnchor().constraintGreaterThanOrEqualToConstant(0)->setIsActive(true);
        return view;
    };
    m_titleButton->setContentCompressionResistancePriority(UIKit::UILayoutPriority {749}, UIKit::NSLayoutConstraint::Axis::horizontal);
    auto header = Foundation::make<UIKit::UIStackView>();
    header->setAxis(UIKit::NSLayoutConstraint::Axis::vertical);
    header->addArrangedSubview(row({m_settingsButton, gap(), m_selectButton, m_newItemButton, m_cancelButton}));
    header->addArrangedSubview(row({m_titleButton, gap(), m_syncStatusButton}));
    auto column = Foundation::make<UIKit::UIStackView>();
    column->setAxis(UIKit::NSLayoutConstraint::Axis::vertical);
    column->setFrame(view->bounds());
    column->setAutoresizingMask(UIKit::UIView::AutoresizingMask::flexibleWidth() | UIKit::UIView::AutoresizingMask::flexibleHeight());
    for (const auto& part : std::initializer_list<std::shared_ptr<UIKit::UIView>> {header, m_pickerLabel, m_searchField, m_emptyLabel, m_tableView,
                                                                                    m_editingControls})
        column->addArrangedSubview(part);
    view->addSubview(column);
    setView(view);
}

void EntriesVC::viewDidLoad()
{
    UIViewController::viewDidLoad();
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
    if (*m_config)
        setConfig(**m_config, false);
}

void EntriesVC::update(const Settings::Appearance& appearance)
{
    if (!isViewLoaded())
        return;
    m_appearance = appearance;
    m_searchField->setFont(appearance.font(UIKit::UIFont::TextStyle::body(), false));
    m_emptyLabel->setFont(appearance.font(UIKit::UIFont::TextStyle::title3(), false));
    m_tableView->reloadData();
    applySelectionToTable(false);
}

void EntriesVC::setConfig(const Config& config, bool /*animated*/)
{
    auto previous = std::move(*m_config);
    *m_config = config;
    if (!previous || previous->filter != config.filter || previous->sortMethod != config.sortMethod
        || previous->recordStore != config.recordStore || previous->preferenceStore != config.preferenceStore
        || previous->authenticationState.isAuthenticated() != config.authenticationState.isAuthenticated() || previous->mode != config.mode)
        m_needsEntries = true;
    // Changes to the items reach the list through the next push; until then it keeps what it has.
    if (config.recordStore && (!previous || previous->recordStore != config.recordStore)) {
        if (m_recordsObserver && previous && previous->recordStore)
            previous->recordStore->notificationCenter()->removeObserver(m_recordsObserver);
        m_recordsObserver = config.recordStore->notificationCenter()->addObserver(
            RecordStore::recordStoreDidUpdateRecords(), config.recordStore, nullptr, [weakSelf = weakSelf(this)](const Foundation::Notification&) {
                if (auto self = weakSelf.lock())
                    self->m_needsEntries = true;
            });
    }
    m_isSelectingMultiple = config.selectionMode == Config::SelectionMode::multiple;
    m_selectedEntryIDs = config.selectedEntryIDs;
    if (!isViewLoaded())
        return;
    if (m_searchField->text() != config.searchState.text)
        m_searchField->setText(config.searchState.text);
    auto searchableFields = config.preferenceStore ? config.preferenceStore->searchableFields() : Settings::Items::SearchableFields {};
    if (searchableFields != m_searchableFields || narrowsToDomain(m_appliedSearchText) != narrowsToDomain(config.searchState.text))
        m_needsEntries = true;
    auto listStyle = config.preferenceStore ? config.preferenceStore->listStyle() : Settings::Items::ListStyle::standard;
    bool restyles = std::exchange(m_listStyle, listStyle) != listStyle;
    if (m_needsEntries) {
        auto previousRows = reloadEntries();
        show(search(false), previousRows);
    } else if (m_searchField->text() != m_appliedSearchText) {
        show(search(false), m_rows);
    }
    if (restyles)
        reconfigureVisibleCells();
    updateHeader();
    if (std::exchange(m_selectionNeedsReport, false))
        reportSelection(true);
}

void EntriesVC::setSyncStatusIndicatorConfig(const EntriesVSyncStatusIndicatorConfig& config)
{
    if (*m_config)
        (*m_config)->syncStatus = config.syncStatus;
    if (isViewLoaded())
        updateHeader();
}

std::vector<EntriesVC::Row> EntriesVC::reloadEntries()
{
    m_needsEntries = false;
    auto previousRows = std::exchange(m_rows, {});
    const auto& config = **m_config;
    m_searchableFields = config.preferenceStore ? config.preferenceStore->searchableFields() : Settings::Items::SearchableFields {};
    auto delegate = this->delegate();
    if (delegate && config.authenticationState.isAuthenticated() && delegate->canShowEntries(*this)) {
        auto indices = delegate->entryIndices(config.filter, config.sortMethod, *this);
        m_rows.reserve(indices.size());
        for (auto& index : indices) {
            auto haystack = EntriesSearch::haystack(index, m_searchableFields);
            bool isASCII = std::ranges::all_of(haystack, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
            m_rows.push_back({std::move(index), std::move(haystack), isASCII});
        }
    }
    // Items deleted meanwhile leave the selection, and the owner hears of it, so nothing goes on
    // showing an item that is gone.
    m_positionByID.clear();
    m_positionByID.reserve(m_rows.size());
    for (std::size_t position = 0; position < m_rows.size(); ++position)
        m_positionByID.emplace(m_rows[position].index.entryID.utf8(), static_cast<std::int64_t>(position));
    auto selected = m_selectedEntryIDs.size();
    std::erase_if(m_selectedEntryIDs, [&](const String& entryID) { return !m_positionByID.contains(entryID.utf8()); });
    m_selectionNeedsReport = m_selectedEntryIDs.size() != selected;
    return previousRows;
}

bool EntriesVC::narrowsToDomain(const String& searchText) const
{
    // The picker shows the link's site until the user searches, and then every item.
    const auto* picker = *m_config ? (*m_config)->mode.as<Config::Mode::Picker>() : nullptr;
    return picker && !picker->domainText.isEmpty() && searchText.isEmpty();
}

void EntriesVC::searchTextDidChange(bool mayNarrow)
{
    auto text = searchText();
    if (*m_config)
        (*m_config)->searchState.text = text;
    if (narrowsToDomain(text) != narrowsToDomain(m_appliedSearchText)) {
        auto previousRows = reloadEntries();
        show(search(false), previousRows);
        if (std::exchange(m_selectionNeedsReport, false))
            reportSelection(true);
        return;
    }
    show(search(mayNarrow), m_rows);
}

std::vector<std::int64_t> EntriesVC::search(bool mayNarrow) const
{
    auto text = searchText();
    auto words = EntriesSearch::words(text);
    // Typing one more letter only narrows what shows, so only that is searched.
    bool narrows = mayNarrow && !m_appliedSearchText.isEmpty() && text.hasPrefix(m_appliedSearchText) && !m_shown.empty();
    auto matches = [&](const Row& row) { return EntriesSearch::matches(row.haystack, row.isASCII, words); };
    std::vector<std::int64_t> shown;
    if (narrows) {
        for (auto position : m_shown)
            if (matches(m_rows[static_cast<std::size_t>(position)]))
                shown.push_back(position);
    } else {
        shown.reserve(m_rows.size());
        for (std::size_t position = 0; position < m_rows.size(); ++position)
            if (words.empty() || matches(m_rows[position]))
                shown.push_back(static_cast<std::int64_t>(position));
    }
    return shown;
}

namespace {

// A shown row as the table's difference sees it: known by its item, the same while its summary is.
struct ShownRow {
    const EntryIndex* index;
    const String& id() const { return index->entryID; }
    friend bool operator==(const ShownRow& a, const ShownRow& b) { return a.index == b.index || *a.index == *b.index; }
};

struct ShownRows {
    using Item = ShownRow;
    std::vector<ShownRow> rows;
    String id() const { return String(); }
    const std::vector<ShownRow>& items() const { return rows; }
};

} // namespace

void EntriesVC::show(std::vector<std::int64_t> shown, const std::vector<Row>& previousRows)
{
    m_appliedSearchText = searchText();
    auto apply = [&] {
        m_shown = std::move(shown);
        m_shownRowOfPosition.assign(m_rows.size(), -1);
        for (std::size_t row = 0; row < m_shown.size(); ++row)
            m_shownRowOfPosition[static_cast<std::size_t>(m_shown[row])] = static_cast<std::int64_t>(row);
    };
    if (!isViewLoaded()) {
        apply();
        return;
    }
    // One change from what the table shows to what it is to show, so rows that stay keep their cells,
    // their place on screen and their selection.
    auto rowsOf = [](const std::vector<Row>& rows, const std::vector<std::int64_t>& positions) {
        ShownRows section;
        section.rows.reserve(positions.size());
        for (auto position : positions)
            section.rows.push_back({&rows[static_cast<std::size_t>(position)].index});
        return std::vector<ShownRows> {std::move(section)};
    };
    auto from = rowsOf(previousRows, m_shown);
    auto to = rowsOf(m_rows, shown);
    using RowAnimation = UIKit::UITableView::RowAnimation;
    Basalwork::performBatchUpdates(*m_tableView, from, to, apply, RowAnimation::fade, RowAnimation::fade,
                                   [this](const IndexPath& indexPath) { reconfigureCell(indexPath); }, nullptr);
    bool isEmpty = m_shown.empty();
    m_emptyLabel->setIsHidden(!isEmpty);
    if (isEmpty)
        m_emptyLabel->setText(EntriesSearch::words(m_appliedSearchText).empty() ? String("No Items") : String("No Results"));
    applySelectionToTable(false);
}

void EntriesVC::reconfigureCell(const IndexPath& indexPath)
{
    auto cell = std::dynamic_pointer_cast<EntryCell>(m_tableView->cellForRow(indexPath));
    if (const auto* row = rowAt(indexPath); cell && row)
        cell->configure(row->index, m_listStyle, m_appearance);
}

void EntriesVC::reconfigureVisibleCells()
{
    for (const auto& indexPath : m_tableView->indexPathsForVisibleRows().value_or(std::vector<IndexPath> {}))
        reconfigureCell(indexPath);
}

void EntriesVC::updateHeader()
{
    const auto& config = **m_config;
    m_titleButton->setTitle(config.filter.titleText(), UIKit::UIControl::State::normal());
    auto syncTitle = [&]() -> const char* {
        using Status = Syncwright::SyncStatus;
        switch (config.syncStatus.index()) {
        case Status::indexOf<Status::Syncing>:
            return "Syncing…";
        case Status::indexOf<Status::UpToDate>:
            return "Synced";
        case Status::indexOf<Status::Failed>:
            return "Sync Failed";
        case Status::indexOf<Status::Disabled>:
            return "Sync Off";
        default:
            return "Not Synced";
        }
    }();
    m_syncStatusButton->setTitle(String(syncTitle), UIKit::UIControl::State::normal());
    m_settingsButton->setIsHidden(!config.isSettingsButtonShown);
    m_settingsButton->setIsEnabled(config.isSettingsButtonEnabled);
    m_settingsButton->setTitle(String(config.settingsIssueDetected ? "Settings (!)" : "Settings"), UIKit::UIControl::State::normal());
    m_newItemButton->setIsHidden(config.isNewItemButtonHidden);
    m_cancelButton->setIsHidden(config.isCancelButtonHidden);
    m_selectButton->setTitle(String(m_isSelectingMultiple ? "Done" : "Select"), UIKit::UIControl::State::normal());
    // A picker without a site (a request that named none) has nothing to say what it is for.
    if (auto picker = config.mode.as<Config::Mode::Picker>(); picker && !picker->domainText.isEmpty()) {
        m_pickerLabel->setText(String("Choose the item for " + picker->domainText.utf8()));
        m_pickerLabel->setIsHidden(false);
    } else {
        m_pickerLabel->setIsHidden(true);
    }
    m_tableView->setAllowsMultipleSelection(m_isSelectingMultiple);
    updateSelectionControls();
}

void EntriesVC::updateSelectionControls()
{
    m_editingControls->setIsHidden(!m_isSelectingMultiple);
    bool hasSelection = !m_selectedEntryIDs.empty();
    // Done, Select All and Deselect All work on any selection; the rest need one.
    for (std::size_t i = 3; i < m_editingButtons.size(); ++i)
        m_editingButtons[i]->setIsEnabled(hasSelection);
}

std::vector<String> EntriesVC::selectedEntryIDs() const
{
    return m_selectedEntryIDs;
}

bool EntriesVC::isSelectingMultiple() const
{
    return m_isSelectingMultiple;
}

String EntriesVC::searchText() const
{
    return m_searchField ? m_searchField->text() : String();
}

void EntriesVC::setSearchText(const String& text)
{
    if (!isViewLoaded() || m_searchField->text() == text)
        return;
    m_searchField->setText(text);
    searchTextDidChange(true);
    if (auto delegate = this->delegate())
        delegate->didUpdateSearchText(*this);
}

std::vector<String> EntriesVC::shownEntryIDs() const
{
    std::vector<String> ids;
    ids.reserve(m_shown.size());
    for (auto position : m_shown)
        ids.push_back(m_rows[static_cast<std::size_t>(position)].index.entryID);
    return ids;
}

std::optional<std::int64_t> EntriesVC::rowOf(const String& entryID) const
{
    auto found = m_positionByID.find(entryID.utf8());
    if (found == m_positionByID.end() || static_cast<std::size_t>(found->second) >= m_shownRowOfPosition.size())
        return std::nullopt;
    if (auto row = m_shownRowOfPosition[static_cast<std::size_t>(found->second)]; row >= 0)
        return row;
    return std::nullopt;
}

const EntriesVC::Row* EntriesVC::rowAt(const IndexPath& indexPath) const
{
    if (indexPath.row() < 0 || indexPath.row() >= static_cast<std::int64_t>(m_shown.size()))
        return nullptr;
    return &m_rows[static_cast<std::size_t>(m_shown[static_cast<std::size_t>(indexPath.row())])];
}

void EntriesVC::applySelectionToTable(bool scroll)
{
    if (!isViewLoaded())
        return;
    if (auto selected = m_tableView->indexPathsForSelectedRows())
        for (const auto& indexPath : *selected)
            m_tableView->deselectRow(indexPath, false);
    std::optional<IndexPath> last;
    for (const auto& entryID : m_selectedEntryIDs) {
        if (auto row = rowOf(entryID)) {
            last = IndexPath::withRow(*row, 0);
            m_tableView->selectRow(last, false, UIKit::UITableView::ScrollPosition::none);
        }
    }
    if (scroll && last)
        m_tableView->scrollToRow(*last, UIKit::UITableView::ScrollPosition::none, false);
}

void EntriesVC::reportSelection(bool shouldUpdateDetails)
{
    if (isViewLoaded())
        updateSelectionControls();
    if (auto delegate = this->delegate())
        delegate->didUpdate(m_selectedEntryIDs, shouldUpdateDetails, *this);
}

void EntriesVC::selectRowAt(std::int64_t row, bool extend)
{
    if (m_shown.empty())
        return;
    row = std::clamp<std::int64_t>(row, 0, static_cast<std::int64_t>(m_shown.size()) - 1);
    if (extend && m_anchorRow) {
        auto [from, to] = std::minmax(*m_anchorRow, row);
        m_selectedEntryIDs.clear();
        for (auto i = from; i <= to; ++i)
            m_selectedEntryIDs.push_back(m_rows[static_cast<std::size_t>(m_shown[static_cast<std::size_t>(i)])].index.entryID);
    } else {
        m_anchorRow = row;
        m_selectedEntryIDs = {m_rows[static_cast<std::size_t>(m_shown[static_cast<std::size_t>(row)])].index.entryID};
    }
    m_lastMovedRow = row;
    applySelectionToTable(true);
    // In the picker a key only points at an item: Return or a click chooses it.
    if (*m_config && (*m_config)->mode.as<Config::Mode::Picker>()) {
        if (isViewLoaded())
            updateSelectionControls();
        return;
    }
    reportSelection(true);
}

void EntriesVC::moveSelection(std::int64_t offset, bool extend)
{
    if (m_shown.empty())
        return;
    auto count = static_cast<std::int64_t>(m_shown.size());
    std::optional<std::int64_t> current;
    if (m_lastMovedRow && *m_lastMovedRow < count
        && std::ranges::find(m_selectedEntryIDs, m_rows[static_cast<std::size_t>(m_shown[static_cast<std::size_t>(*m_lastMovedRow)])].index.entryID)
               != m_selectedEntryIDs.end()) {
        current = m_lastMovedRow;
    } else {
        for (const auto& entryID : m_selectedEntryIDs)
            if (auto row = rowOf(entryID))
                current = current ? std::max(*current, *row) : *row;
    }
    if (!current) {
        selectRowAt(offset < 0 ? count - 1 : 0, false);
        return;
    }
    if (extend && (!m_anchorRow || *m_anchorRow >= count))
        m_anchorRow = current;
    selectRowAt(*current + offset, extend);
}

std::int64_t EntriesVC::rowsPerPage() const
{
    auto height = m_tableView ? m_tableView->bounds().size.height : 0;
    return std::max<std::int64_t>(1, static_cast<std::int64_t>(height / rowHeight) - 1);
}

void EntriesVC::handleMoveUp() { moveSelection(-1, false); }
void EntriesVC::handleMoveDown() { moveSelection(1, false); }
void EntriesVC::handleExtendUp() { moveSelection(-1, true); }
void EntriesVC::handleExtendDown() { moveSelection(1, true); }
void EntriesVC::handleMoveToFirst() { selectRowAt(0, false); }
void EntriesVC::handleMoveToLast() { selectRowAt(static_cast<std::int64_t>(m_shown.size()) - 1, false); }
void EntriesVC::handlePageUp() { moveSelection(-rowsPerPage(), false); }
void EntriesVC::handlePageDown() { moveSelection(rowsPerPage(), false); }
void EntriesVC::handleExtendToFirst() { moveSelection(-static_cast<std::int64_t>(m_shown.size()), true); }
void EntriesVC::handleExtendToLast() { moveSelection(static_cast<std::int64_t>(m_shown.size()), true); }

void EntriesVC::handleSelectAll()
{
    selectAll();
    reportSelection(true);
}

void EntriesVC::handleActivate()
{
    if (m_selectedEntryIDs.size() != 1)
        return;
    if (auto delegate = this->delegate())
        delegate->didActivate(m_selectedEntryIDs.front(), *this);
}

void EntriesVC::handleFind()
{
    if (auto delegate = this->delegate())
        delegate->didRequestSearchFocus(*this);
}

void EntriesVC::handleEscape()
{
    if (m_searchField && !m_searchField->text().isEmpty()) {
        m_searchField->setText(String());
        searchTextDidChange(false);
        if (auto delegate = this->delegate())
            delegate->didUpdateSearchText(*this);
    }
}

void EntriesVC::focusSearch()
{
    if (isViewLoaded())
        m_searchField->becomeFirstResponder();
}

void EntriesVC::selectFirstRow(bool /*animated*/, bool scrollToSelection)
{
    if (!m_selectedEntryIDs.empty() || m_shown.empty())
        return;
    m_anchorRow = 0;
    m_lastMovedRow = 0;
    m_selectedEntryIDs = {m_rows[static_cast<std::size_t>(m_shown.front())].index.entryID};
    applySelectionToTable(scrollToSelection);
    reportSelection(true);
}

void EntriesVC::selectAll()
{
    m_selectedEntryIDs = shownEntryIDs();
    applySelectionToTable(false);
    if (isViewLoaded())
        updateSelectionControls();
}

void EntriesVC::deselectAll()
{
    m_selectedEntryIDs.clear();
    m_anchorRow.reset();
    applySelectionToTable(false);
    if (isViewLoaded())
        updateSelectionControls();
}

void EntriesVC::select(const std::vector<String>& entryIDs, bool scrollToSelection)
{
    std::vector<String> shown;
    for (const auto& entryID : entryIDs)
        if (rowOf(entryID) && std::ranges::find(shown, entryID) == shown.end())
            shown.push_back(entryID);
    m_selectedEntryIDs = std::move(shown);
    m_anchorRow = m_selectedEntryIDs.empty() ? std::nullopt : rowOf(m_selectedEntryIDs.front());
    m_lastMovedRow = m_anchorRow;
    applySelectionToTable(scrollToSelection);
    reportSelection(true);
}

void EntriesVC::selectFirstItem(const String& matching)
{
    auto prefix = matching.lowercased();
    for (std::size_t row = 0; row < m_shown.size(); ++row) {
        if (m_rows[static_cast<std::size_t>(m_shown[row])].index.title.lowercased().hasPrefix(prefix)) {
            selectRowAt(static_cast<std::int64_t>(row), false);
            return;
        }
    }
}

void EntriesVC::setSelectingMultiple(bool selectingMultiple, bool /*animated*/)
{
    if (m_isSelectingMultiple == selectingMultiple)
        return;
    m_isSelectingMultiple = selectingMultiple;
    if (*m_config)
        (*m_config)->selectionMode = selectingMultiple ? Config::SelectionMode::multiple : Config::SelectionMode::single;
    if (!selectingMultiple && m_selectedEntryIDs.size() > 1)
        m_selectedEntryIDs.resize(1);
    if (isViewLoaded() && *m_config)
        updateHeader();
    applySelectionToTable(false);
    if (auto delegate = this->delegate())
        delegate->needsUpdate(*this);
}

std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> EntriesVC::keyCommands() const
{
    using UIKit::UIKeyCommand;
    using UIKit::UIKeyModifierFlags;
    auto command = [](const String& input, UIKeyModifierFlags flags, const char* action) {
        return UIKeyCommands::withInput(input, flags, Selector(action), true);
    };
    std::vector<std::shared_ptr<UIKeyCommand>> commands {
        command(UIKeyCommand::inputUpArrow(), {}, "handleMoveUp"),
        command(UIKeyCommand::inputDownArrow(), {}, "handleMoveDown"),
        command(UIKeyCommand::inputUpArrow(), UIKeyModifierFlags::shift(), "handleExtendUp"),
        command(UIKeyCommand::inputDownArrow(), UIKeyModifierFlags::shift(), "handleExtendDown"),
        command(UIKeyCommand::inputUpArrow(), UIKeyModifierFlags::command(), "handleMoveToFirst"),
        command(UIKeyCommand::inputDownArrow(), UIKeyModifierFlags::command(), "handleMoveToLast"),
        command(UIKeyCommand::inputUpArrow(), UIKeyModifierFlags::alternate(), "handlePageUp"),
        command(UIKeyCommand::inputDownArrow(), UIKeyModifierFlags::alternate(), "handlePageDown"),
        command(UIKeyCommand::inputUpArrow(), UIKeyModifierFlags::alternate() | UIKeyModifierFlags::shift(), "handleExtendToFirst"),
        command(UIKeyCommand::inputDownArrow(), UIKeyModifierFlags::alternate() | UIKeyModifierFlags::shift(), "handleExtendToLast"),
        command(String("f"), UIKeyModifierFlags::command(), "handleFind"),
        command(String("\r"), {}, "handleActivate"),
        command(UIKeyCommand::inputEscape(), {}, "handleEscape"),
    };
    if (m_isSelectingMultiple)
        commands.push_back(command(String("a"), UIKeyModifierFlags::command(), "handleSelectAll"));
    return commands;
}

void EntriesVC::pressesBegan(const std::vector<std::shared_ptr<UIKit::UIPress>>& presses, const std::shared_ptr<UIKit::UIEvent>& event)
{
    if (*m_config && (*m_config)->mode.as<Config::Mode::Picker>())
        return UIViewController::pressesBegan(presses, event);

    // A letter typed while the list has the keyboard jumps to the first title that starts with the
    // letters typed in quick succession.
    for (const auto& press : presses) {
        auto key = press->key();
        if (!key || key->modifierFlags().rawValue != 0 || key->characters().count() != 1)
            continue;
        auto character = key->characters().first();
        if (!character || !character->isLetter())
            continue;
        selectFirstItem(m_letterPressCollector->collect(*character));
        return;
    }
    UIViewController::pressesBegan(presses, event);
}

} // namespace Shared
