#include "Shared/Screens/EntryDetailsTVC.hpp"

#include "Shared/Screens/EntryDetailsTVC.Cell.hpp"
#include "Shared/Screens/EntryDetailsTVCDelegate.hpp"
#include "Shared/Screens/FileURLInput.hpp"
#include "Shared/Stores/TagStore.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UIContextMenuConfiguration.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UITableView.ScrollPosition.hpp"
#include "Platform/UIKit/UITableView.Style.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UITouch.hpp"
#include "Platform/UIKit/UIWindow.hpp"

#include <algorithm>

#include <utility>

namespace Shared {
namespace {

const char* const reuseIdentifier = "EntryDetailsTVCCell";

const bool registered = [] {
    Foundation::MethodTable::add(Foundation::Selector("handleQuickActionCommand"), &EntryDetailsTVC::handleQuickActionCommand);
    Foundation::MethodTable::add(Foundation::Selector("handleMoveUpCommand"), &EntryDetailsTVC::handleMoveUpCommand);
    Foundation::MethodTable::add(Foundation::Selector("handleMoveDownCommand"), &EntryDetailsTVC::handleMoveDownCommand);
    return true;
}();

using Generator = EntryDetailsTVCInlineGeneratorV;

// One change of the inline generator, as the delegate's requirement for it.
struct GeneratorReport {
    EntryDetailsTVCDelegate& delegate;
    const MenuSource& source;
    EntryDetailsTVC& table;

    void operator()(const Generator::Regenerate&) const { delegate.regeneratePasswordOrPIN(source, table); }
    void operator()(const Generator::Settings& change) const { delegate.didUpdate(change.settings, source, table); }
    void operator()(const Generator::Length& change) const { delegate.didUpdateGeneratorLength(change.length, source, table); }
    void operator()(const Generator::Count& change) const { delegate.didUpdateGeneratorCount(change.count, source, table); }
    void operator()(const Generator::IncludesNumbers& change) const
    {
        delegate.didUpdateGeneratorIncludesNumbers(change.includesNumbers, source, table);
    }
    void operator()(const Generator::IncludesSymbols& change) const
    {
        delegate.didUpdateGeneratorIncludesSymbols(change.includesSymbols, source, table);
    }
    void operator()(const Generator::Separator& change) const { delegate.didUpdateGeneratorSeparator(change.separator, source, table); }
};

bool isInside(const UIKit::UIView& view, const UIKit::UIView& ancestor)
{
    for (auto current = view.superview(); current; current = current->superview())
        if (current.get() == &ancestor)
            return true;
    return false;
}

std::int64_t leadingHeaderRows(const EntryDetailsTVCSection& section)
{
    return !section.rows.empty() && section.rows.front().kind == EntryDetailsTVCRow::Kind::sectionHeader ? 1 : 0;
}

bool sameLayout(const std::vector<EntryDetailsTVCSection>& lhs, const std::vector<EntryDetailsTVCSection>& rhs)
{
    return std::ranges::equal(lhs, rhs, [](const auto& left, const auto& right) {
        return std::ranges::equal(left.rows, right.rows,
                                  [](const auto& a, const auto& b) {
                                      return a.source == b.source && a.kind == b.kind && a.isEditable == b.isEditable && a.isMovable == b.isMovable;
                                  });
    });
}

} // namespace

template <class Call>
void EntryDetailsTVC::tell(Call call)
{
    if (m_isReloading)
        return;
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
    if (inPlace) {
        refreshVisibleCells();
        // A line typed or taken away in a note changes its row's height.
        m_tableView->setNeedsLayout();
        return;
    }
    // Rows coming or going (the inline generator under the field being typed into) must not take the
    // keyboard from that field: the person never left it, so nobody is told.
    auto typing = typingSource();
    m_isReloading = true;
    m_tableView->reloadData();
    if (typing)
        select(*typing, false);
    m_isReloading = false;
}

void EntryDetailsTVC::refreshVisibleCells()
{
    for (std::int64_t section = 0; section < static_cast<std::int64_t>(m_sections.size()); ++section)
        for (std::int64_t row = 0; row < static_cast<std::int64_t>(m_sections[section].rows.size()); ++row)
            if (auto cell = std::dynamic_pointer_cast<EntryDetailsTVCCell>(m_tableView->cellForRow(Foundation::IndexPath::withRow(row, section))))
                configure(*cell, m_sections[section].rows[row]);
}

std::optional<MenuSource> EntryDetailsTVC::typingSource() const
{
    if (!m_tableView)
        return std::nullopt;
    for (const auto& cell : m_tableView->visibleCells()) {
        auto shown = std::dynamic_pointer_cast<EntryDetailsTVCCell>(cell);
        if (!shown || !shown->row())
            continue;
        if (shown->textField()->isFirstResponder())
            return shown->row()->source;
        if (shown->customTitleField()->isFirstResponder())
            return shown->row()->titleSource;
    }
    return std::nullopt;
}

UIKit::CGFloat EntryDetailsTVC::heightForRowAt(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath)
{
    // The generator's two lines of controls.
    const auto& row = m_sections.at(indexPath.section()).rows.at(indexPath.row());
    if (row.kind == Row::Kind::generator)
        return 80;
    // A note grows a line at a time, whether it is read or typed.
    const auto lines = row.kind == Row::Kind::field ? static_cast<UIKit::CGFloat>(row.value.components(Foundation::String("\n")).size()) : 1;
    return tableView.rowHeight() + (lines - 1) * UIKit::TextGrid::lineHeight;
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

bool EntryDetailsTVC::isFocusInGenerator(const MenuSource& source) const
{
    auto window = m_tableView ? m_tableView->window() : nullptr;
    auto focused = window ? window->focusedView() : nullptr;
    for (auto view = focused; view; view = view->superview())
        if (auto cell = std::dynamic_pointer_cast<EntryDetailsTVCCell>(view))
            return cell->row() && cell->row()->kind == Row::Kind::generator && cell->row()->source == source;
    return false;
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
    handlers.beginEditing = [weak](const Row& row) {
        auto self = weak.lock();
        if (!self)
            return;
        if (auto held = std::exchange(self->m_editingInGenerator, std::nullopt); held && *held != row.source)
            self->tell([&](EntryDetailsTVCDelegate& delegate) { delegate.didEndEditingText(*held, *self); });
        self->tell([&](EntryDetailsTVCDelegate& delegate) { delegate.didBeginEditingText(row.source, *self); });
    };
    handlers.endEditing = [weak](const Row& row) {
        auto self = weak.lock();
        if (!self)
            return;
        // Tab from a password field into its generator: the field is still being worked on.
        if (self->isFocusInGenerator(row.source)) {
            self->m_editingInGenerator = row.source;
            return;
        }
        // Heard once the keyboard has moved on: the new input first takes it, then the rows change (a
        // generator going away), so that a click lands on what was drawn under it.
        Foundation::DispatchQueue::main()->async([weak, source = row.source] {
            auto self = weak.lock();
            if (!self || self->typingSource() == source)
                return;
            self->tell([&](EntryDetailsTVCDelegate& delegate) { delegate.didEndEditingText(source, *self); });
        });
    };
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
    handlers.generator = report([](EntryDetailsTVCDelegate& d, const MenuSource& s, EntryDetailsTVC& t, const Generator::Change& change) {
        std::visit(GeneratorReport {d, s, t}, change);
    });
    handlers.tagSuggestions = [weak](const Foundation::String& prefix, const std::vector<Foundation::String>& excluding) {
        std::vector<Foundation::String> suggestions;
        if (auto self = weak.lock())
            self->tell([&](EntryDetailsTVCDelegate& delegate) {
                if (auto tags = delegate.tagStore(*self))
                    suggestions = tags->suggestions(prefix, excluding);
            });
        return suggestions;
    };
    handlers.drop = [weak, weakCell](const Row&, const UIKit::UITouch& touch) {
        auto self = weak.lock();
        auto cell = weakCell.lock();
        auto from = self && cell ? self->m_tableView->indexPath(*cell) : std::nullopt;
        if (!from)
            return;
        if (self->m_sections.at(from->section()).rows.at(from->row()).isDraggable)
            self->dropAttachment(*from, touch);
        else
            self->moveRow(*from, touch.location(self->m_tableView));
    };
    cell.configure(row, std::move(handlers));
}

bool EntryDetailsTVC::shouldHighlightRowAt(UIKit::UITableView&, const Foundation::IndexPath& indexPath)
{
    return m_sections.at(indexPath.section()).rows.at(indexPath.row()).kind != Row::Kind::message;
}

void EntryDetailsTVC::didSelectRowAt(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath)
{
    const auto& row = m_sections.at(indexPath.section()).rows.at(indexPath.row());
    // A click between the generator's controls belongs to the field being typed in: it keeps the keyboard.
    if (row.kind == Row::Kind::generator)
        return;
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
            if (const auto& shown = m_sections[section].rows[row];
                (shown.source == menuSource || shown.titleSource == menuSource) && shown.kind != Row::Kind::message)
                return Foundation::IndexPath::withRow(static_cast<std::int64_t>(row), static_cast<std::int64_t>(section));
    return std::nullopt;
}

std::vector<EntryDetailsTVC::Input> EntryDetailsTVC::inputs() const
{
    std::vector<Input> inputs;
    for (std::size_t section = 0; section < m_sections.size(); ++section)
        for (std::size_t row = 0; row < m_sections[section].rows.size(); ++row) {
            const auto& shown = m_sections[section].rows[row];
            if (!shown.isEditable || (shown.kind != Row::Kind::field && shown.kind != Row::Kind::sectionHeader))
                continue;
            auto path = Foundation::IndexPath::withRow(static_cast<std::int64_t>(row), static_cast<std::int64_t>(section));
            // A custom field's title comes before its value.
            if (shown.titleSource)
                inputs.push_back({path, true});
            inputs.push_back({path, false});
        }
    return inputs;
}

bool EntryDetailsTVC::select(const MenuSource& menuSource, bool animated)
{
    loadViewIfNeeded();
    auto path = indexPath(menuSource);
    if (!path)
        return false;
    bool isTitle = m_sections[path->section()].rows[path->row()].titleSource == menuSource;
    m_tableView->scrollToRow(*path, UIKit::UITableView::ScrollPosition::none, animated);
    if (auto cell = std::dynamic_pointer_cast<EntryDetailsTVCCell>(m_tableView->cellForRow(*path)); cell && cell->activateInput(isTitle))
        return true;
    m_tableView->selectRow(path, animated, UIKit::UITableView::ScrollPosition::none);
    return true;
}

void EntryDetailsTVC::selectNextInput(bool forward)
{
    auto inputs = this->inputs();
    if (inputs.empty())
        return;
    std::optional<std::size_t> current;
    for (std::size_t index = 0; index < inputs.size(); ++index)
        if (auto cell = std::dynamic_pointer_cast<EntryDetailsTVCCell>(m_tableView->cellForRow(inputs[index].indexPath)); cell
            && (inputs[index].isTitle ? cell->customTitleField() : cell->textField())->isFirstResponder())
            current = index;
    std::size_t next = !current ? (forward ? 0 : inputs.size() - 1)
                                : (forward ? (*current + 1) % inputs.size() : (*current + inputs.size() - 1) % inputs.size());
    m_tableView->scrollToRow(inputs[next].indexPath, UIKit::UITableView::ScrollPosition::none, false);
    if (auto cell = std::dynamic_pointer_cast<EntryDetailsTVCCell>(m_tableView->cellForRow(inputs[next].indexPath)))
        cell->activateInput(inputs[next].isTitle);
}

void EntryDetailsTVC::scrollToTop(bool animated)
{
    loadViewIfNeeded();
    m_tableView->setContentOffset({0, 0}, animated);
}

std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> EntryDetailsTVC::keyCommands() const
{
    auto moving = UIKit::UIKeyModifierFlags::alternate() | UIKit::UIKeyModifierFlags::command();
    return std::vector {
        Foundation::make<UIKit::UIKeyCommand>(Foundation::String("\r"), UIKit::UIKeyModifierFlags {}, Foundation::Selector("handleQuickActionCommand")),
        Foundation::make<UIKit::UIKeyCommand>(UIKit::UIKeyCommand::inputUpArrow(), moving, Foundation::Selector("handleMoveUpCommand")),
        Foundation::make<UIKit::UIKeyCommand>(UIKit::UIKeyCommand::inputDownArrow(), moving, Foundation::Selector("handleMoveDownCommand")),
    };
}

void EntryDetailsTVC::handleQuickActionCommand()
{
    auto path = m_tableView ? m_tableView->indexPathForSelectedRow() : std::nullopt;
    if (!path)
        return;
    auto source = m_sections.at(path->section()).rows.at(path->row()).source;
    tell([&](EntryDetailsTVCDelegate& delegate) { delegate.didSelectQuickAction(source, *this); });
}

void EntryDetailsTVC::handleMoveUpCommand()
{
    moveStep(true);
}

void EntryDetailsTVC::handleMoveDownCommand()
{
    moveStep(false);
}

std::int64_t EntryDetailsTVC::customSectionCount() const
{
    std::int64_t count = 0;
    for (std::size_t section = 1; section < m_sections.size() && leadingHeaderRows(m_sections[section]) == 1; ++section)
        ++count;
    return count;
}

std::int64_t EntryDetailsTVC::fieldCount(std::int64_t customSection) const
{
    const auto& rows = m_sections.at(static_cast<std::size_t>(customSection + 1)).rows;
    return std::ranges::count_if(rows, [](const Row& row) { return row.source.as<MenuSource::CustomField>() != nullptr; });
}

void EntryDetailsTVC::moveStep(bool up)
{
    auto path = m_tableView ? m_tableView->indexPathForSelectedRow() : std::nullopt;
    if (!path)
        return;
    const auto& row = m_sections.at(path->section()).rows.at(path->row());
    if (!row.isMovable)
        return;
    if (const auto* section = row.source.as<MenuSource::Section>()) {
        auto to = section->index + (up ? -1 : 1);
        if (to >= 0 && to < customSectionCount())
            applySectionMove(section->index, to);
        return;
    }
    const auto* field = row.source.as<MenuSource::CustomField>();
    if (!field)
        return;
    auto id = field->id;
    std::optional<EntryField::ID> to;
    if (up && id.index > 0)
        to = EntryField::ID {id.section, id.index - 1};
    else if (up && id.section > 0)
        to = EntryField::ID {id.section - 1, fieldCount(id.section - 1)};
    else if (!up && id.index + 1 < fieldCount(id.section))
        to = EntryField::ID {id.section, id.index + 1};
    else if (!up && id.section + 1 < customSectionCount())
        to = EntryField::ID {id.section + 1, 0};
    if (to)
        applyFieldMove(*path, *to);
}

bool EntryDetailsTVC::moveRow(const Foundation::IndexPath& from, UIKit::CGPoint droppedAt)
{
    auto target = m_tableView->indexPathForRow(droppedAt);
    if (!target || from.section() >= static_cast<std::int64_t>(m_sections.size()))
        return false;
    const auto& row = m_sections.at(from.section()).rows.at(from.row());
    const auto& onto = m_sections.at(target->section()).rows.at(target->row());
    if (!row.isMovable)
        return false;
    // Dropped on a section's title: a field goes first in that section, a section takes its place.
    const auto* ontoSection = onto.source.as<MenuSource::Section>();
    const auto* ontoField = onto.source.as<MenuSource::CustomField>();
    if (const auto* section = row.source.as<MenuSource::Section>()) {
        auto to = ontoSection ? ontoSection->index : ontoField ? ontoField->id.section : -1;
        if (to < 0 || to == section->index)
            return false;
        applySectionMove(section->index, to);
        return true;
    }
    const auto* field = row.source.as<MenuSource::CustomField>();
    if (!field)
        return false;
    std::optional<EntryField::ID> to;
    if (ontoField)
        to = ontoField->id;
    else if (ontoSection)
        to = EntryField::ID {ontoSection->index, 0};
    if (!to || *to == field->id)
        return false;
    applyFieldMove(from, *to);
    return true;
}

bool EntryDetailsTVC::dropAttachment(const Foundation::IndexPath& from, const UIKit::UITouch& touch)
{
    auto window = m_tableView->window();
    if (!window)
        return false;
    // The file input under the finger, in this screen or any other of the window.
    std::shared_ptr<FileURLInput> input;
    for (auto view = window->hitTest(touch.location(window), nullptr); view && !input; view = view->superview())
        input = std::dynamic_pointer_cast<FileURLInput>(view);
    auto fromCell = m_tableView->cellForRow(from);
    if (!input || (fromCell && isInside(*input, *fromCell)))
        return false;
    // The item is asked for only once it has somewhere to go; its file is made only when the input takes it.
    auto source = m_sections.at(from.section()).rows.at(from.row()).source;
    std::shared_ptr<Foundation::NSItemProvider> itemProvider;
    tell([&](EntryDetailsTVCDelegate& delegate) { itemProvider = delegate.itemProviderForDragging(source, *this); });
    if (!itemProvider)
        return false;
    input->dropItemProvider(itemProvider);
    return true;
}

void EntryDetailsTVC::renumber(std::size_t tableSection)
{
    std::int64_t section = static_cast<std::int64_t>(tableSection) - 1;
    std::int64_t index = 0;
    for (auto& row : m_sections[tableSection].rows) {
        if (row.source.as<MenuSource::Section>())
            row.source = MenuSource::section(section);
        else if (const auto* field = row.source.as<MenuSource::CustomField>())
            row.source = MenuSource::customField({section, index++}, field->category);
    }
}

void EntryDetailsTVC::applyFieldMove(const Foundation::IndexPath& from, EntryField::ID to)
{
    auto fromID = m_sections.at(from.section()).rows.at(from.row()).source.as<MenuSource::CustomField>()->id;
    auto& source = m_sections[static_cast<std::size_t>(from.section())].rows;
    auto moved = std::move(source[static_cast<std::size_t>(from.row())]);
    source.erase(source.begin() + from.row());
    auto targetSection = static_cast<std::size_t>(to.section + 1);
    auto& target = m_sections.at(targetSection).rows;
    auto destination = Foundation::IndexPath::withRow(leadingHeaderRows(m_sections[targetSection]) + to.index, to.section + 1);
    target.insert(target.begin() + destination.row(), std::move(moved));
    renumber(static_cast<std::size_t>(from.section()));
    renumber(targetSection);
    m_tableView->performBatchUpdates([&] { m_tableView->moveRow(from, destination); });
    refreshVisibleCells();
    // The moved row stays chosen, so the keys move it on.
    m_tableView->selectRow(destination, false, UIKit::UITableView::ScrollPosition::none);
    becomeFirstResponder();
    tell([&](EntryDetailsTVCDelegate& delegate) { delegate.didMoveField(fromID, to, *this); });
}

void EntryDetailsTVC::applySectionMove(std::int64_t from, std::int64_t to)
{
    auto moved = std::move(m_sections.at(static_cast<std::size_t>(from + 1)));
    m_sections.erase(m_sections.begin() + from + 1);
    m_sections.insert(m_sections.begin() + to + 1, std::move(moved));
    for (auto section = std::min(from, to) + 1; section <= std::max(from, to) + 1; ++section)
        renumber(static_cast<std::size_t>(section));
    m_tableView->performBatchUpdates([&] { m_tableView->moveSection(from + 1, to + 1); });
    refreshVisibleCells();
    m_tableView->selectRow(Foundation::IndexPath::withRow(0, to + 1), false, UIKit::UITableView::ScrollPosition::none);
    becomeFirstResponder();
    tell([&](EntryDetailsTVCDelegate& delegate) { delegate.didMoveSection(from, to, *this); });
}

} // namespace Shared
