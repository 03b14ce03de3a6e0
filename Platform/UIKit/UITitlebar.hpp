#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <cstdint>
#include <memory>

namespace UIKit {

// The desktop title bar of a window scene: whether it shows the title, and the toolbar it holds.
// Recorded: the terminal display draws no title bar.
class UITitlebar : public Foundation::NSObject {
public:
    enum class TitleVisibility : std::int64_t { visible = 0, hidden = 1 };

    TitleVisibility titleVisibility() const { return m_titleVisibility; }
    void setTitleVisibility(TitleVisibility visibility) { m_titleVisibility = visibility; }
    const std::shared_ptr<Foundation::NSObject>& toolbar() const { return m_toolbar; }
    void setToolbar(std::shared_ptr<Foundation::NSObject> toolbar) { m_toolbar = std::move(toolbar); }

protected:
    friend Foundation::Construct;
    UITitlebar() = default;

private:
    TitleVisibility m_titleVisibility = TitleVisibility::visible;
    std::shared_ptr<Foundation::NSObject> m_toolbar;
};

} // namespace UIKit
