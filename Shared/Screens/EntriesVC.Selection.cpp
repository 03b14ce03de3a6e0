#include "Shared/Screens/EntriesVC.hpp"

#include "Shared/Screens/EntriesVC.Rows.hpp"
#include "Shared/Screens/EntriesVCDelegate.hpp"
#include "Shared/Screens/LetterPressCollector.hpp"
#include "Shared/Screens/UIKeyCommand.hpp"

#include "Platform/UIKit/UIKey.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIPress.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITextField.hpp"

#include <algorithm>

namespace Shared {

using Foundation::IndexPath;
using Foundation::Selector;
using Foundation::String;

// --- Selection and the keys that move it --------------------------------------------------------------

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
    if (shownCount() == 0)
        return;
    row = std::clamp<std::int64_t>(row, 0, shownCount() - 1);
    if (extend && m_anchorRow) {
        auto [from, to] = std::minmax(*m_anchorRow, row);
        m_selectedEntryIDs.clear();
        for (auto i = from; i <= to; ++i)
            m_selectedEntryIDs.push_back(shownID(i));
    } else {
        m_anchorRow = row;
        m_selectedEntryIDs = {shownID(row)};
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
    auto count = shownCount();
    if (count == 0)
        return;
    std::optional<std::int64_t> current;
    if (m_lastMovedRow && *m_lastMovedRow < count && std::ranges::find(m_selectedEntryIDs, shownID(*m_lastMovedRow)) != m_selectedEntryIDs.end()) {
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
    if (!m_tableView || m_tableView->rowHeight() <= 0)
        return 1;
    return std::max<std::int64_t>(1, static_cast<std::int64_t>(m_tableView->bounds().size.height / m_tableView->rowHeight()) - 1);
}

void EntriesVC::handleMoveUp() { moveSelection(-1, false); }
void EntriesVC::handleMoveDown() { moveSelection(1, false); }
void EntriesVC::handleExtendUp() { moveSelection(-1, true); }
void EntriesVC::handleExtendDown() { moveSelection(1, true); }
void EntriesVC::handleMoveToFirst() { selectRowAt(0, false); }
void EntriesVC::handleMoveToLast() { selectRowAt(shownCount() - 1, false); }
void EntriesVC::handlePageUp() { moveSelection(-rowsPerPage(), false); }
void EntriesVC::handlePageDown() { moveSelection(rowsPerPage(), false); }
void EntriesVC::handleExtendToFirst() { moveSelection(-shownCount(), true); }
void EntriesVC::handleExtendToLast() { moveSelection(shownCount(), true); }

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
        searchTextDidChange();
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
    whenRowsArrive([scrollToSelection](EntriesVC& self) {
        if (!self.m_selectedEntryIDs.empty() || self.shownCount() == 0)
            return;
        self.m_anchorRow = 0;
        self.m_lastMovedRow = 0;
        self.m_selectedEntryIDs = {self.shownID(0)};
        self.applySelectionToTable(scrollToSelection);
        self.reportSelection(true);
    });
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
    // Items just made or changed show once the steps under way have come back.
    whenRowsArrive([entryIDs, scrollToSelection](EntriesVC& self) {
        std::vector<String> shown;
        for (const auto& entryID : entryIDs)
            if (self.rowOf(entryID) && std::ranges::find(shown, entryID) == shown.end())
                shown.push_back(entryID);
        self.m_selectedEntryIDs = std::move(shown);
        self.m_anchorRow = self.m_selectedEntryIDs.empty() ? std::nullopt : self.rowOf(self.m_selectedEntryIDs.front());
        self.m_lastMovedRow = self.m_anchorRow;
        self.applySelectionToTable(scrollToSelection);
        self.reportSelection(true);
    });
}

void EntriesVC::selectFirstItem(const String& matching)
{
    auto prefix = matching.lowercased();
    bool asciiPrefix = prefix.isASCII();
    auto startsWith = [&](const String& title) {
        // Most titles are ASCII: compared in place, without a lower-cased copy of each.
        if (asciiPrefix && title.isASCII()) {
            const auto& bytes = title.utf8();
            const auto& wanted = prefix.utf8();
            return bytes.size() >= wanted.size() && std::equal(wanted.begin(), wanted.end(), bytes.begin(), [](char a, char b) {
                       return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
                   });
        }
        return title.lowercased().hasPrefix(prefix);
    };
    for (std::int64_t row = 0; row < shownCount(); ++row) {
        if (startsWith(m_rows->shownItem(static_cast<std::size_t>(row)).title)) {
            selectRowAt(row, false);
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
