#include "Shared/Screens/EntriesVC.hpp"

#include "Shared/Screens/EntriesVC.Rows.hpp"
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
    , m_rows(std::make_shared<const EntriesVCRows>())
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
            self->searchTextDidChange();
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
    if (searchableFields != m_searchableFields || narrowsToDomain(m_requestedSearchText) != narrowsToDomain(config.searchState.text))
        m_needsEntries = true;
    auto listStyle = config.preferenceStore ? config.preferenceStore->listStyle() : Settings::Items::ListStyle::standard;
    bool restyles = std::exchange(m_listStyle, listStyle) != listStyle;
    if (m_needsEntries)
        requestEntries();
    else if (m_searchField->text() != m_requestedSearchText)
        submit(std::nullopt);
    if (restyles)
        reconfigureVisibleCells();
    updateHeader();
}

void EntriesVC::setSyncStatusIndicatorConfig(const EntriesVSyncStatusIndicatorConfig& config)
{
    if (*m_config)
        (*m_config)->syncStatus = config.syncStatus;
    if (isViewLoaded())
        updateHeader();
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
    // In the picker a click chooses: the arrows must only point at an item until Return.
    m_tableView->setSelectionFollowsFocus(!config.mode.as<Config::Mode::Picker>());
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
    searchTextDidChange();
    if (auto delegate = this->delegate())
        delegate->didUpdateSearchText(*this);
}

} // namespace Shared
