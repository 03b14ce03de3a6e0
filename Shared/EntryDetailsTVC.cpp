#include "Shared/EntryDetailsTVC.hpp"

#include "Shared/EntryDetailsTVC.Cell.hpp"
#include "Shared/EntryDetailsTVCDelegate.hpp"

#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/UIContextMenuConfiguration.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UITableView.ScrollPosition.hpp"
#include "Platform/UIKit/UITableView.Style.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITextField.hpp"

#include <algorithm>

namespace Shared {
namespace {

const char* const reuseIdentifier = "EntryDetailsTVCCell";

const bool registered = [] {
    Foundation::MethodTable::add(Foundation::Selector("handleQuickActionCommand"), &EntryDetailsTVC::handleQuickActionCommand);
    return true;
}();

bool sameLayout(const std::vector<EntryDetailsTVCSection>& lhs, const std::vector<EntryDetailsTVCSection>& rhs)
{
    return std::ranges::equal(lhs, rhs, [](const auto& left, const auto& right) {
        return std::ranges::equal(left.rows, right.rows,
                                  [](const auto& a, const auto& b) { return a.source == b.source && a.kind == b.kind && a.isEditable == b.isEditable; });
    });
}

} // namespace

template <class Call>
void EntryDetailsTVC::tell(Call call)
{
    if (auto delegate = this->delegate())
        call(*delegate);
}

void EntryDetailsTVC::loadView()
{
    (void)registered;
    m_tableView = Foundation::make<UIKit::UITableView>(UIKit::CGRect {}, UIKit::UITableView::Style::plain);
    m_tableView->setAccessibilityIdentifier(Foundation::String("EntryDetailsTVC"));
    m_tableView->registerCell<EntryDetailsTVCCell>(Foundation::String(reuseIdentifier));
    m_tableView->setRowHeight(40);
    m_tableView->setDataSource(std::dynamic_pointer_cast<UIKit::UITableViewDataSource>(sharedSelf(this)));
    m_tableView->setDelegate(std::dynamic_pointer_cast<UIKit::UITableViewDelegate>(sharedSelf(this)));
    setView(m_tableView);
}

void EntryDetailsTVC::show(std::vector<Section> sections)
{
    loadViewIfNeeded();
    bool inPlace = sameLayout(m_sections, sections);
    m_sections = std::move(sections);
    if (!inPlace) {
        m_tableView->reloadData();
        return;
    }
    for (std::int64_t section = 0; section < static_cast<std::int64_t>(m_sections.size()); ++section)
        for (std::int64_t row = 0; row < static_cast<std::int64_t>(m_sections[section].rows.size()); ++row)
            if (auto cell = std::dynamic_pointer_cast<EntryDetailsTVCCell>(m_tableView->cellForRow(Foundation::IndexPath::withRow(row, section))))
                configure(*cell, m_sections[section].rows[row]);
}

std::int64_t EntryDetailsTVC::numberOfSections(UIKit::UITableView&)
{
    return static_cast<std::int64_t>(m_sections.size());
}

std::int64_t EntryDetailsTVC::numberOfRowsInSection(UIKit::UITableView&, std::int64_t section)
{
    return static_cast<std::int64_t>(m_sections.at(static_cast<std::size_t>(section)).rows.size());
}

std::shared_ptr<UIKit::UITableViewCell> EntryDetailsTVC::cellForRowAt(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath)
{
    auto cell = tableView.dequeueReusableCell(Foundation::String(reuseIdentifier), indexPath);
    configure(static_cast<EntryDetailsTVCCell&>(*cell), m_sections.at(indexPath.section()).rows.at(indexPath.row()));
    return cell;
}

void EntryDetailsTVC::configure(EntryDetailsTVCCell& cell, const Row& row)
{
    std::weak_ptr<EntryDetailsTVC> weak = sharedSelf(this);
    auto report = [weak](auto call) {
        return [weak, call](const Row& row, auto&&... arguments) {
            if (auto self = weak.lock())
                self->tell([&](EntryDetailsTVCDelegate& delegate) { call(delegate, row.source, *self, arguments...); });
        };
    };
    EntryDetailsTVCCell::Handlers handlers;
    handlers.beginEditing = report([](EntryDetailsTVCDelegate& d, const MenuSource& s, EntryDetailsTVC& t) { d.didBeginEditingText(s, t); });
    handlers.endEditing = report([](EntryDetailsTVCDelegate& d, const MenuSource& s, EntryDetailsTVC& t) { d.didEndEditingText(s, t); });
    handlers.textChange = report([](EntryDetailsTVCDelegate& d, const MenuSource& s, EntryDetailsTVC& t, const Foundation::String& text) {
        d.didUpdate(text, s, t);
    });
    handlers.returnKey = report([](EntryDetailsTVCDelegate& d, const MenuSource& s, EntryDetailsTVC& t) { d.didRequestInputAdvance(s, t); });
    handlers.toggle = report([](EntryDetailsTVCDelegate& d, const MenuSource&, EntryDetailsTVC& t, bool isOn) { d.didUpdate(isOn, t); });
    std::weak_ptr<EntryDetailsTVCCell> weakCell = sharedSelf(&cell);
    handlers.button = [weak, weakCell](const Row& row) {
        auto self = weak.lock();
        auto cell = weakCell.lock();
        if (self && cell)
            self->tell([&](EntryDetailsTVCDelegate& delegate) { delegate.didSelect(row.source, cell, cell->bounds(), *self); });
    };
    handlers.fileSelect = report([](EntryDetailsTVCDelegate& d, const MenuSource& s, EntryDetailsTVC& t, const Foundation::URL& url) {
        d.didSelect(url, s, t);
    });
    handlers.fileFailure = report([](EntryDetailsTVCDelegate& d, const MenuSource& s, EntryDetailsTVC& t, const Foundation::ErrorPtr& error) {
        d.didFailToSelectFileURL(error, s, t);
    });
    handlers.filePicker = report([](EntryDetailsTVCDelegate& d, const MenuSource& s, EntryDetailsTVC& t) { d.didRequestDocumentPicker(s, t); });
    handlers.fileClear = report([](EntryDetailsTVCDelegate& d, const MenuSource& s, EntryDetailsTVC& t) { d.didSelectClear(s, t); });
    cell.configure(row, std::move(handlers));
}

bool EntryDetailsTVC::shouldHighlightRowAt(UIKit::UITableView&, const Foundation::IndexPath& indexPath)
{
    return m_sections.at(indexPath.section()).rows.at(indexPath.row()).kind != Row::Kind::message;
}

void EntryDetailsTVC::didSelectRowAt(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath)
{
    const auto& row = m_sections.at(indexPath.section()).rows.at(indexPath.row());
    auto cell = tableView.cellForRow(indexPath);
    auto source = row.source;
    if (auto input = std::dynamic_pointer_cast<EntryDetailsTVCCell>(cell); !input || !input->hasInput())
        becomeFirstResponder();
    tell([&](EntryDetailsTVCDelegate& delegate) { delegate.didSelect(source, cell, cell ? cell->bounds() : UIKit::CGRect {}, *this); });
}

std::shared_ptr<UIKit::UIContextMenuConfiguration> EntryDetailsTVC::contextMenuConfigurationForRowAt(UIKit::UITableView&,
                                                                                                      const Foundation::IndexPath& indexPath,
                                                                                                      UIKit::CGPoint)
{
    const auto& row = m_sections.at(indexPath.section()).rows.at(indexPath.row());
    if (row.kind == Row::Kind::message)
        return nullptr;
    std::shared_ptr<UIKit::UIMenu> menu;
    auto source = row.source;
    tell([&](EntryDetailsTVCDelegate& delegate) { menu = delegate.menu(source, *this); });
    if (!menu)
        return nullptr;
    return Foundation::make<UIKit::UIContextMenuConfiguration>(std::nullopt, nullptr, [menu](const auto&) { return menu; });
}

std::optional<Foundation::IndexPath> EntryDetailsTVC::indexPath(const MenuSource& menuSource) const
{
    for (std::size_t section = 0; section < m_sections.size(); ++section)
        for (std::size_t row = 0; row < m_sections[section].rows.size(); ++row)
            if (m_sections[section].rows[row].source == menuSource && m_sections[section].rows[row].kind != Row::Kind::message)
                return Foundation::IndexPath::withRow(static_cast<std::int64_t>(row), static_cast<std::int64_t>(section));
    return std::nullopt;
}

std::vector<Foundation::IndexPath> EntryDetailsTVC::inputIndexPaths() const
{
    std::vector<Foundation::IndexPath> paths;
    for (std::size_t section = 0; section < m_sections.size(); ++section)
        for (std::size_t row = 0; row < m_sections[section].rows.size(); ++row)
            if (const auto& shown = m_sections[section].rows[row]; shown.isEditable && shown.kind == Row::Kind::field)
                paths.push_back(Foundation::IndexPath::withRow(static_cast<std::int64_t>(row), static_cast<std::int64_t>(section)));
    return paths;
}

bool EntryDetailsTVC::select(const MenuSource& menuSource, bool animated)
{
    loadViewIfNeeded();
    auto path = indexPath(menuSource);
    if (!path)
        return false;
    m_tableView->scrollToRow(*path, UIKit::UITableView::ScrollPosition::none, animated);
    if (auto cell = std::dynamic_pointer_cast<EntryDetailsTVCCell>(m_tableView->cellForRow(*path)); cell && cell->activateInput())
        return true;
    m_tableView->selectRow(path, animated, UIKit::UITableView::ScrollPosition::none);
    return true;
}

void EntryDetailsTVC::selectNextInput(bool forward)
{
    auto paths = inputIndexPaths();
    if (paths.empty())
        return;
    std::optional<std::size_t> current;
    for (std::size_t index = 0; index < paths.size(); ++index)
        if (auto cell = std::dynamic_pointer_cast<EntryDetailsTVCCell>(m_tableView->cellForRow(paths[index]));
            cell && cell->textField()->isFirstResponder())
            current = index;
    std::size_t next = !current ? (forward ? 0 : paths.size() - 1)
                                : (forward ? (*current + 1) % paths.size() : (*current + paths.size() - 1) % paths.size());
    m_tableView->scrollToRow(paths[next], UIKit::UITableView::ScrollPosition::none, false);
    if (auto cell = std::dynamic_pointer_cast<EntryDetailsTVCCell>(m_tableView->cellForRow(paths[next])))
        cell->activateInput();
}

void EntryDetailsTVC::scrollToTop(bool animated)
{
    loadViewIfNeeded();
    m_tableView->setContentOffset({0, 0}, animated);
}

std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> EntryDetailsTVC::keyCommands() const
{
    return std::vector {
        Foundation::make<UIKit::UIKeyCommand>(Foundation::String("\r"), UIKit::UIKeyModifierFlags {}, Foundation::Selector("handleQuickActionCommand"))};
}

void EntryDetailsTVC::handleQuickActionCommand()
{
    auto path = m_tableView ? m_tableView->indexPathForSelectedRow() : std::nullopt;
    if (!path)
        return;
    auto source = m_sections.at(path->section()).rows.at(path->row()).source;
    tell([&](EntryDetailsTVCDelegate& delegate) { delegate.didSelectQuickAction(source, *this); });
}

} // namespace Shared
