#include "Platform/UIKit/UISearchBar.hpp"

#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UISearchTextField.hpp"

namespace UIKit {

void UISearchBar::initialize()
{
    UIView::initialize();
    m_searchTextField = Foundation::make<UISearchTextField>();
    addSubview(m_searchTextField);
    m_cancelButton = Foundation::make<UIButton>();
    m_cancelButton->setTitle(Foundation::String("Cancel"), UIControl::State::normal());
    m_cancelButton->setIsHidden(true);
    addSubview(m_cancelButton);
    std::weak_ptr<UIButton> cancel = m_cancelButton;
    m_searchTextField->addAction(
        [cancel] {
            if (auto button = cancel.lock())
                button->setIsEnabled(true);
        },
        UIControl::Event::editingDidBegin());
    m_searchTextField->addAction(
        [cancel] {
            if (auto button = cancel.lock())
                button->setIsEnabled(false);
        },
        UIControl::Event::editingDidEnd());
}

void UISearchBar::setShowsCancelButton(bool shows, bool)
{
    if (shows && !m_showsCancelButton)
        m_cancelButton->setIsEnabled(true);
    m_showsCancelButton = shows;
    m_cancelButton->setIsHidden(!shows);
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
