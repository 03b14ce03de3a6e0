#pragma once

#include "Shared/Screens/Menu.Source.hpp"

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <functional>
#include <memory>
#include <vector>

namespace UIKit {
class UIButton;
class UILabel;
class UIStackView;
} // namespace UIKit

namespace Shared {

class EntryDetailsVCState;
class EntryDetailsVHeaderVDelegate;

// The item details header (EntryDetailsV::HeaderV): the item's title, Edit or Done and Cancel, the
// buttons of the item's actions (menu sources), and lock and window pinning.
class EntryDetailsVHeaderV : public UIKit::UIView {
public:
    std::shared_ptr<EntryDetailsVHeaderVDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<EntryDetailsVHeaderVDelegate>& delegate) { m_delegate = delegate; }
    // A header button that is a menu source was chosen.
    std::function<void(const MenuSource&, const std::shared_ptr<UIKit::UIView>&)> onHeaderItem;

    void show(const EntryDetailsVCState& state, bool isMainWindowPinned);
    // Whether the window can be pinned here at all; when not, its button shows dimmed.
    void setCanPinMainWindow(bool canPinMainWindow) { m_canPinMainWindow = canPinMainWindow; }
    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    // The titles of the buttons shown, in order.
    std::vector<Foundation::String> buttonTitles() const;

    // The buttons go on as many rows as the width needs, so that none is squeezed out of sight.
    void layoutSubviews() override;

protected:
    friend Foundation::Construct;
    EntryDetailsVHeaderV() = default;
    void initialize() override;

private:
    std::shared_ptr<UIKit::UIButton> addButton(const char* title,
                                               std::function<void(EntryDetailsVHeaderV&, const std::shared_ptr<UIKit::UIButton>&)> action);

    std::weak_ptr<EntryDetailsVHeaderVDelegate> m_delegate;
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    // Puts the buttons in rows of at most `width` points, in order.
    void arrangeButtons(UIKit::CGFloat width);

    std::shared_ptr<UIKit::UIStackView> m_rows;
    std::vector<std::shared_ptr<UIKit::UIButton>> m_buttons;
    UIKit::CGFloat m_arrangedWidth = -1;
    bool m_canPinMainWindow = true;
};

} // namespace Shared
