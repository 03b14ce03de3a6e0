#include "Basalwork/Interface/SearchBarWithCancelButtonAlwaysEnabled.hpp"

#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UISearchTextField.hpp"

namespace Basalwork {

SearchBarWithCancelButtonAlwaysEnabled::SearchBarWithCancelButtonAlwaysEnabled(Foundation::NSCoder& coder)
    : UISearchBar(coder)
{
    Foundation::fatalError("init(coder:) has not been implemented");
}

void SearchBarWithCancelButtonAlwaysEnabled::initialize()
{
    UISearchBar::initialize();
    // Added after the bar's own action, so it runs after the bar has disabled the button.
    std::weak_ptr<SearchBarWithCancelButtonAlwaysEnabled> weak = sharedSelf(this);
    searchTextField()->addAction(
        [weak] {
            if (auto self = weak.lock())
                self->enableCancelButtonIfVisible();
        },
        UIKit::UIControl::Event::editingDidEnd());
}

void SearchBarWithCancelButtonAlwaysEnabled::setShowsCancelButton(bool shows, bool animated)
{
    UISearchBar::setShowsCancelButton(shows, animated);
    enableCancelButtonIfVisible();
}

void SearchBarWithCancelButtonAlwaysEnabled::enableCancelButtonIfVisible()
{
    if (!showsCancelButton())
        return;
    for (const auto& button : findSubviewsRecursively<UIKit::UIButton>(*this))
        button->setIsEnabled(true);
}

} // namespace Basalwork
