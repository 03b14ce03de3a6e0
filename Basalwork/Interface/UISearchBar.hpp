#pragma once

#include "Platform/UIKit/UISearchBar.hpp"
#include "Platform/UIKit/UISearchTextField.hpp"

#include <memory>
#include <optional>

namespace Basalwork {

// The bar's search text field.
inline const std::shared_ptr<UIKit::UISearchTextField>& textField(const UIKit::UISearchBar& searchBar)
{
    return searchBar.searchTextField();
}

// The search text field's clear-button mode; always a value.
std::optional<UIKit::UITextField::ViewMode> clearButtonMode(const UIKit::UISearchBar& searchBar);
// Writes a value to the search text field; nil leaves the field's mode as it is.
void setClearButtonMode(UIKit::UISearchBar& searchBar, std::optional<UIKit::UITextField::ViewMode> mode);

} // namespace Basalwork
