#pragma once

#include "Platform/UIKit/UILabel.hpp"

#include <functional>
#include <memory>

namespace UIKit {
class UITouch;
}

namespace Shared {

// The handle a row is dragged by (EntryDetailsTVC::ReorderControl): where the finger lifts is where the
// row goes while fields or sections are rearranged, or where an attachment's file is dropped.
class EntryDetailsTVCReorderControl : public UIKit::UILabel {
public:
    std::function<void(const UIKit::UITouch& touch)> onDrop;

    void touchesBegan(const std::vector<std::shared_ptr<UIKit::UITouch>>& touches, const std::shared_ptr<UIKit::UIEvent>& event) override;
    void touchesMoved(const std::vector<std::shared_ptr<UIKit::UITouch>>& touches, const std::shared_ptr<UIKit::UIEvent>& event) override;
    void touchesEnded(const std::vector<std::shared_ptr<UIKit::UITouch>>& touches, const std::shared_ptr<UIKit::UIEvent>& event) override;
    void touchesCancelled(const std::vector<std::shared_ptr<UIKit::UITouch>>& touches, const std::shared_ptr<UIKit::UIEvent>& event) override;

protected:
    friend Foundation::Construct;
    EntryDetailsTVCReorderControl() = default;
    void initialize() override;

private:
    bool m_isDragging = false;
};

} // namespace Shared
