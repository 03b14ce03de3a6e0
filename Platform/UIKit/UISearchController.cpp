#include "Platform/UIKit/UISearchController.hpp"

#include "Platform/UIKit/UISearchBar.hpp"

namespace UIKit {

void UISearchController::initialize()
{
    UIViewController::initialize();
    m_searchBar = Foundation::make<UISearchBar>();
}

} // namespace UIKit
