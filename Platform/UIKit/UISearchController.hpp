#pragma once

#include "Platform/UIKit/UIViewController.hpp"

#include <memory>

namespace UIKit {

class UISearchBar;

// Search in a navigation bar: the search bar, made with the controller, and the controller that shows
// the results (none when the searched screen shows them itself).
class UISearchController : public UIViewController {
public:
    const std::shared_ptr<UISearchBar>& searchBar() const { return m_searchBar; }
    const std::shared_ptr<UIViewController>& searchResultsController() const { return m_searchResultsController; }

protected:
    friend Foundation::Construct;
    // init(searchResultsController:)
    explicit UISearchController(std::shared_ptr<UIViewController> searchResultsController = nullptr)
        : m_searchResultsController(std::move(searchResultsController))
    {
    }
    void initialize() override;

private:
    std::shared_ptr<UISearchBar> m_searchBar;
    std::shared_ptr<UIViewController> m_searchResultsController;
};

} // namespace UIKit
