#pragma once

#include "Shared/Crypto/PasswordGenerator.hpp"
#include "Shared/Model/Entry.Field.hpp"
#include "Shared/Screens/Menu.Source.hpp"

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/URL.hpp"
#include "Platform/UIKit/CGRect.hpp"

#include <memory>
#include <optional>

namespace Foundation {
class NSItemProvider;
}

namespace UIKit {
class UIMenu;
class UIView;
} // namespace UIKit

namespace Shared {

class EntryDetailsTVC;
class TagStore;

// What a person does in the rows of the item details, each row named by its menu source.
// Requirements in their fixed order.
class EntryDetailsTVCDelegate {
public:
    virtual ~EntryDetailsTVCDelegate() = default;
    // 1: a row or button was chosen.
    virtual void didSelect(const MenuSource& menuSource, const std::shared_ptr<UIKit::UIView>& sourceView, UIKit::CGRect rectInSourceView,
                           EntryDetailsTVC& entryDetailsTVC) = 0;
    // 2: the menu of a row; none for a row without one.
    virtual std::shared_ptr<UIKit::UIMenu> menu(const MenuSource& menuSource, EntryDetailsTVC& entryDetailsTVC) = 0;
    // 3 to 5: typing into a row's input.
    virtual void didBeginEditingText(const MenuSource& menuSource, EntryDetailsTVC& entryDetailsTVC) = 0;
    virtual void didEndEditingText(const MenuSource& menuSource, EntryDetailsTVC& entryDetailsTVC) = 0;
    virtual void didUpdate(const Foundation::String& text, const MenuSource& menuSource, EntryDetailsTVC& entryDetailsTVC) = 0;
    // 6: Return in a row's input: on to the next input.
    virtual void didRequestInputAdvance(const MenuSource& menuSource, EntryDetailsTVC& entryDetailsTVC) = 0;
    // 7 to 10: an attachment field's file.
    virtual void didSelect(const Foundation::URL& fileURL, const MenuSource& menuSource, EntryDetailsTVC& entryDetailsTVC) = 0;
    virtual void didFailToSelectFileURL(const Foundation::ErrorPtr& error, const MenuSource& menuSource, EntryDetailsTVC& entryDetailsTVC) = 0;
    virtual void didRequestDocumentPicker(const MenuSource& menuSource, EntryDetailsTVC& entryDetailsTVC) = 0;
    virtual void didSelectClear(const MenuSource& menuSource, EntryDetailsTVC& entryDetailsTVC) = 0;
    // 11: the row's quick action (a double click, or Return on a selected row).
    virtual void didSelectQuickAction(const MenuSource& menuSource, EntryDetailsTVC& entryDetailsTVC) = 0;
    // 12
    virtual void didUpdate(bool isSafeForInspection, EntryDetailsTVC& entryDetailsTVC) = 0;
    // 13: a new value from the generator for a password or PIN field.
    virtual void regeneratePasswordOrPIN(const MenuSource& menuSource, EntryDetailsTVC& entryDetailsTVC) = 0;
    // 14 to 18: the inline generator's options under a field: length of random characters, count of
    // words or digits, numbers, symbols, the words' separator.
    virtual void didUpdateGeneratorLength(std::int64_t length, const MenuSource& menuSource, EntryDetailsTVC& entryDetailsTVC) = 0;
    virtual void didUpdateGeneratorCount(std::int64_t count, const MenuSource& menuSource, EntryDetailsTVC& entryDetailsTVC) = 0;
    virtual void didUpdateGeneratorIncludesNumbers(bool includesNumbers, const MenuSource& menuSource, EntryDetailsTVC& entryDetailsTVC) = 0;
    virtual void didUpdateGeneratorIncludesSymbols(bool includesSymbols, const MenuSource& menuSource, EntryDetailsTVC& entryDetailsTVC) = 0;
    virtual void didUpdateGeneratorSeparator(const Foundation::String& separator, const MenuSource& menuSource,
                                             EntryDetailsTVC& entryDetailsTVC) = 0;
    // 19: the generator's settings as a whole changed (its kind); store them, then regenerate.
    virtual void didUpdate(const PasswordGenerator& generatorSettings, const MenuSource& menuSource, EntryDetailsTVC& entryDetailsTVC) = 0;
    // 20: what an attachment field hands to a drag; none when it cannot.
    virtual std::shared_ptr<Foundation::NSItemProvider> itemProviderForDragging(const MenuSource& menuSource, EntryDetailsTVC& entryDetailsTVC) = 0;
    // 21, 22: whether the sections, respectively the fields, are being rearranged.
    virtual bool isSectionEditing(EntryDetailsTVC& entryDetailsTVC) = 0;
    virtual bool isFieldEditing(EntryDetailsTVC& entryDetailsTVC) = 0;
    // 23, 24: a row was moved.
    virtual void didMoveField(EntryField::ID from, EntryField::ID to, EntryDetailsTVC& entryDetailsTVC) = 0;
    virtual void didMoveSection(std::int64_t from, std::int64_t to, EntryDetailsTVC& entryDetailsTVC) = 0;
    // 25: the tags offered in the tags field.
    virtual std::shared_ptr<TagStore> tagStore(EntryDetailsTVC& entryDetailsTVC) = 0;
};

} // namespace Shared
