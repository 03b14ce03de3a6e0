#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>

namespace UIKit {

class UISearchTextField;

// A field for search text. The text lives in its search text field, a subview made with the bar.
class UISearchBar : public UIView {
public:
    const std::shared_ptr<UISearchTextField>& searchTextField() const { return m_searchTextField; }
    const Foundation::String& text() const;
    void setText(Foundation::String text);
    bool showsCancelButton() const { return m_showsCancelButton; }
    virtual void setShowsCancelButton(bool shows) { setShowsCancelButton(shows, false); }
    virtual void setShowsCancelButton(bool shows, bool /*animated*/) { m_showsCancelButton = shows; }

protected:
    friend Foundation::Construct;
    UISearchBar() = default;
    explicit UISearchBar(const CGRect& frame)
        : UIView(frame)
    {
    }
    void initialize() override;

private:
    std::shared_ptr<UISearchTextField> m_searchTextField;
    bool m_showsCancelButton = false;
};

} // namespace UIKit
