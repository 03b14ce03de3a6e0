#include "Basalwork/Interface/UISearchBar.hpp"

namespace Basalwork {

std::optional<UIKit::UITextField::ViewMode> clearButtonMode(const UIKit::UISearchBar& searchBar)
{
    return searchBar.searchTextField()->clearButtonMode();
}

void setClearButtonMode(UIKit::UISearchBar& searchBar, std::optional<UIKit::UITextField::ViewMode> mode)
{
    if (mode)
        searchBar.searchTextField()->setClearButtonMode(*mode);
}

} // namespace Basalwork
