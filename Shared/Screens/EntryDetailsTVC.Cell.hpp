#pragma once

#include "Shared/Model/TimeStepObserving.hpp"
#include "Shared/Screens/EntryDetailsTVC.InlineGeneratorV.hpp"
#include "Shared/Screens/EntryDetailsTVC.Row.hpp"
#include "Shared/Screens/FileURLInputDelegate.hpp"

#include "Platform/UIKit/UITableViewCell.hpp"

#include <functional>
#include <memory>

namespace UIKit {
class UIButton;
class UILabel;
class UIStackView;
class UISwitch;
class UITextField;
class UITouch;
} // namespace UIKit

namespace Shared {

class EntryDetailsTVCReorderControl;
class FileURLInput;
class TimeStepView;

// A row of the item details (EntryDetailsTVC::Cell): a title with the value, or an input for it while
// editing, a switch, a button, a one-time code that moves on at each period boundary, or the inline
// generator; a handle to drag it by while rows are rearranged.
class EntryDetailsTVCCell : public UIKit::UITableViewCell, public TimeStepObserving, public FileURLInputDelegate {
public:
    // What the person does in the row, reported with its menu source by the table.
    struct Handlers {
        std::function<void(const EntryDetailsTVCRow&)> beginEditing;
        std::function<void(const EntryDetailsTVCRow&)> endEditing;
        std::function<void(const EntryDetailsTVCRow&, const Foundation::String&)> textChange;
        std::function<void(const EntryDetailsTVCRow&)> returnKey;
        std::function<void(const EntryDetailsTVCRow&, bool)> toggle;
        std::function<void(const EntryDetailsTVCRow&)> button;
        std::function<void(const EntryDetailsTVCRow&, const Foundation::URL&)> fileSelect;
        std::function<void(const EntryDetailsTVCRow&, const Foundation::ErrorPtr&)> fileFailure;
        std::function<void(const EntryDetailsTVCRow&)> filePicker;
        std::function<void(const EntryDetailsTVCRow&)> fileClear;
        std::function<void(const EntryDetailsTVCRow&, const EntryDetailsTVCInlineGeneratorV::Change&)> generator;
        std::function<void(const EntryDetailsTVCRow&, const UIKit::UITouch&)> drop;
        // The tags the tag store offers for a prefix, leaving out those already given.
        std::function<std::vector<Foundation::String>(const Foundation::String& prefix, const std::vector<Foundation::String>& excluding)>
            tagSuggestions;
    };

    void configure(const EntryDetailsTVCRow& row, Handlers handlers);
    // Nothing before the first configuration.
    const std::optional<EntryDetailsTVCRow>& row() const { return m_row; }
    const std::shared_ptr<UIKit::UITextField>& textField() const { return m_textField; }
    // A custom field's title, while editing.
    const std::shared_ptr<UIKit::UITextField>& customTitleField() const { return m_customTitleField; }
    // The tags offered while the tags field is typed into.
    std::vector<Foundation::String> shownTagSuggestions() const;
    const std::shared_ptr<UIKit::UILabel>& valueLabel() const { return m_valueLabel; }
    const std::shared_ptr<EntryDetailsTVCInlineGeneratorV>& generatorV() const { return m_generatorV; }
    const std::shared_ptr<EntryDetailsTVCReorderControl>& reorderControl() const { return m_reorderControl; }
    const std::shared_ptr<FileURLInput>& fileURLInput() const { return m_fileURLInput; }
    bool hasInput() const;
    bool hasTitleInput() const;
    // Gives the row's input (or its title's) the keyboard; false when it has none.
    bool activateInput(bool title = false);

    void timeStepNotifierDidBeginTimeStep(TimeStepNotifier& notifier) override;
    void didSelect(const Foundation::URL& fileURL, FileURLInput& fileURLInput) override;
    void didSelectClear(FileURLInput& fileURLInput) override;
    void didFailToSelectFileURL(const Foundation::ErrorPtr& error, FileURLInput& fileURLInput) override;
    void didRequestFileURLPicker(FileURLInput& fileURLInput) override;

protected:
    friend Foundation::Construct;
    EntryDetailsTVCCell() = default;
    void initialize() override;

private:
    void showCode();
    // The row as the title input reports it: its title's source.
    std::optional<EntryDetailsTVCRow> titleRow() const;
    bool isTags() const;
    // Notes and multi-line fields: Return adds a line.
    bool takesSeveralLines() const;
    void showTagSuggestions();
    void chooseTag(const Foundation::String& tag);

    std::optional<EntryDetailsTVCRow> m_row;
    Handlers m_handlers;
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<UIKit::UILabel> m_valueLabel;
    std::shared_ptr<UIKit::UITextField> m_customTitleField;
    std::shared_ptr<UIKit::UITextField> m_textField;
    std::shared_ptr<UIKit::UIStackView> m_tagSuggestions;
    std::shared_ptr<UIKit::UISwitch> m_switch;
    std::shared_ptr<UIKit::UIButton> m_button;
    std::shared_ptr<TimeStepView> m_timeStepView;
    std::shared_ptr<FileURLInput> m_fileURLInput;
    std::shared_ptr<EntryDetailsTVCInlineGeneratorV> m_generatorV;
    std::shared_ptr<EntryDetailsTVCReorderControl> m_reorderControl;
};

} // namespace Shared
