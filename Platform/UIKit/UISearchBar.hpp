#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>

namespace UIKit {

class UIButton;
class UISearchTextField;

// A field for search text. The text lives in its search text field, a subview made with the bar. While
// `showsCancelButton` is set the bar shows a "Cancel" button beside the field, which it disables whenever
// editing in the field ends and enables again when editing begins.
class UISearchBar : public UIView {
public:
    const std::shared_ptr<UISearchTextField>& searchTextField() const { return m_searchTextField; }
    const Foundation::String& text() const;
    void setText(Foundation::String text);
    bool showsCancelButton() const { return m_showsCancelButton; }
    virtual void setShowsCancelButton(bool shows) { setShowsCancelButton(shows, false); }
    virtual void setShowsCancelButton(bool shows, bool animated);

protected:
    friend Foundation::Construct;
    UISearchBar() = default;
    explicit UISearchBar(const CGRect& frame)
        : UIView(frame)
    {
    }
    explicit UISearchBar(Foundation::NSCoder& coder)
        : UIView(coder)
    {
    }
    void initialize() override;

private:
    std::shared_ptr<UISearchTextField> m_searchTextField;
    std::shared_ptr<UIButton> m_cancelButton;
    bool m_showsCancelButton = false;
};

} // namespace UIKit
