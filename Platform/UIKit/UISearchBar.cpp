#include "Platform/UIKit/UISearchBar.hpp"

#include "Platform/UIKit/UISearchTextField.hpp"

namespace UIKit {

void UISearchBar::initialize()
{
    UIView::initialize();
    m_searchTextField = Foundation::make<UISearchTextField>();
    addSubview(m_searchTextField);
}

const Foundation::String& UISearchBar::text() const
{
    return m_searchTextField->text();
}

void UISearchBar::setText(Foundation::String text)
{
    m_searchTextField->setText(std::move(text));
}

} // namespace UIKit
