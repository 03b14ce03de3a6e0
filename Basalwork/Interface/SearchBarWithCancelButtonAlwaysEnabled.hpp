#pragma once

#include "Platform/UIKit/UISearchBar.hpp"

namespace Basalwork {

// A search bar whose cancel button stays usable after editing ends, where the platform would disable it.
class SearchBarWithCancelButtonAlwaysEnabled : public UIKit::UISearchBar {
public:
    using UISearchBar::setShowsCancelButton;
    void setShowsCancelButton(bool shows, bool animated) override;

protected:
    friend Foundation::Construct;
    SearchBarWithCancelButtonAlwaysEnabled()
        : UISearchBar(UIKit::CGRect::zero())
    {
    }
    // Built in code only: stops the program.
    explicit SearchBarWithCancelButtonAlwaysEnabled(Foundation::NSCoder& coder);
    void initialize() override;

private:
    void enableCancelButtonIfVisible();
};

} // namespace Basalwork
