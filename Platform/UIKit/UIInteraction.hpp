#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <memory>

namespace UIKit {

class UIView;

// Behaviour added to a view (`UIView::addInteraction`), which owns it.
class UIInteraction : public Foundation::NSObject {
public:
    std::shared_ptr<UIView> view() const { return m_view.lock(); }

protected:
    UIInteraction() = default;

private:
    friend class UIView;
    std::weak_ptr<UIView> m_view;
};

} // namespace UIKit
