#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <memory>

namespace UIKit {

class UIBezierPath;
class UIColor;

// How a view looks while it is lifted for a preview or a drag: its background and the part left visible.
class UIPreviewParameters : public Foundation::NSObject {
public:
    const std::shared_ptr<UIColor>& backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(std::shared_ptr<UIColor> color) { m_backgroundColor = std::move(color); }
    const std::shared_ptr<UIBezierPath>& visiblePath() const { return m_visiblePath; }
    void setVisiblePath(std::shared_ptr<UIBezierPath> path) { m_visiblePath = std::move(path); }

protected:
    friend Foundation::Construct;
    UIPreviewParameters() = default;

private:
    std::shared_ptr<UIColor> m_backgroundColor;
    std::shared_ptr<UIBezierPath> m_visiblePath;
};

} // namespace UIKit
