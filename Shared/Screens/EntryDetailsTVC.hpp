#pragma once

#include "Shared/Screens/EntryDetailsTVC.Row.hpp"

#include "Platform/UIKit/UITableViewDataSource.hpp"
#include "Platform/UIKit/UITableViewDelegate.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <functional>
#include <memory>
#include <vector>

namespace UIKit {
class UITableView;
class UITouch;
} // namespace UIKit

namespace Shared {

class EntryDetailsTVCCell;
class EntryDetailsTVCDelegate;

// The rows of the item details: shows the sections it is given and reports every action on a row,
// by the row's menu source, to its delegate.
class EntryDetailsTVC : public UIKit::UIViewController, public UIKit::UITableViewDataSource, public UIKit::UITableViewDelegate {
public:
    using Row = EntryDetailsTVCRow;
    using Section = EntryDetailsTVCSection;

    std::shared_ptr<EntryDetailsTVCDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<EntryDetailsTVCDelegate>& delegate) { m_delegate = delegate; }

    const std::vector<Section>& sections() const { return m_sections; }
    // The same rows in the same places are refreshed where they stand, so an input keeps the keyboard
    // while its text comes back through the state; anything else reloads the table.
    void show(std::vector<Section> sections);

    const std::shared_ptr<UIKit::UITableView>& tableView() const { return m_tableView; }
    // The row's input takes the keyboard, or the row is selected when it has none. False when no row
    // is that source.
    bool select(const MenuSource& menuSource, bool animated);
    // Moves the keyboard to the next or previous input, wrapping around.
    void selectNextInput(bool forward);
    void scrollToTop(bool animated);
    // The quick action of the selected row (Return on it).
    void handleQuickActionCommand();
    // While fields or sections are rearranged: the selected one moves a place up or down
    // (Option-Command-Up and Down), into the next section at either end of its own.
    void handleMoveUpCommand();
    void handleMoveDownCommand();
    // Moves a row dropped at a point of the table to the place of the row there; false when it stays.
    bool moveRow(const Foundation::IndexPath& from, UIKit::CGPoint droppedAt);

    void loadView() override;
    // A chosen row takes the keys, so Return reaches its quick action.
    bool canBecomeFirstResponder() const override { return true; }
    std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> keyCommands() const override;

    UIKit::CGFloat heightForRowAt(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath) override;
    std::int64_t numberOfSections(UIKit::UITableView& tableView) override;
    std::int64_t numberOfRowsInSection(UIKit::UITableView& tableView, std::int64_t section) override;
    std::shared_ptr<UIKit::UITableViewCell> cellForRowAt(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath) override;
    bool shouldHighlightRowAt(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath) override;
    void didSelectRowAt(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath) override;
    std::shared_ptr<UIKit::UIContextMenuConfiguration> contextMenuConfigurationForRowAt(UIKit::UITableView& tableView,
                                                                                        const Foundation::IndexPath& indexPath,
                                                                                        UIKit::CGPoint point) override;

protected:
    friend Foundation::Construct;
    EntryDetailsTVC() = default;

private:
    template <class Call>
    void tell(Call call);
    void configure(EntryDetailsTVCCell& cell, const Row& row);
    std::optional<Foundation::IndexPath> indexPath(const MenuSource& menuSource) const;
    // The inputs in the order Tab visits them.
    struct Input {
        Foundation::IndexPath indexPath;
        bool isTitle;
    };
    std::vector<Input> inputs() const;
    void refreshVisibleCells();
    std::optional<MenuSource> typingSource() const;
    // Moves a row by the person: the rows are changed first, then the delegate hears of it once.
    void moveStep(bool up);
    void applyFieldMove(const Foundation::IndexPath& from, EntryField::ID to);
    void applySectionMove(std::int64_t from, std::int64_t to);
    // The custom sections' table sections follow the item's sections, one to one, after the first.
    std::int64_t customSectionCount() const;
    std::int64_t fieldCount(std::int64_t customSection) const;
    void renumber(std::size_t tableSection);
    // An attachment's file handed to the file input it was dropped on; false when there is none.
    bool dropAttachment(const Foundation::IndexPath& from, const UIKit::UITouch& touch);

    std::weak_ptr<EntryDetailsTVCDelegate> m_delegate;
    std::shared_ptr<UIKit::UITableView> m_tableView;
    std::vector<Section> m_sections;
    // While the table reloads, inputs that lose and regain the keyboard report nothing.
    bool m_isReloading = false;
    // A password or PIN field whose editing went on into its own generator (the keyboard's focus moved
    // to the generator's controls): its end is reported once another input begins.
    std::optional<MenuSource> m_editingInGenerator;
    // Whether the keyboard's focus has moved into the generator shown under `source`.
    bool isFocusInGenerator(const MenuSource& source) const;
};

} // namespace Shared
