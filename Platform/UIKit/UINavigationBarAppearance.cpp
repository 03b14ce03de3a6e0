#include "Platform/UIKit/UINavigationBarAppearance.hpp"

#include "Platform/UIKit/UIBarButtonItem.Style.hpp"

namespace UIKit {

void UINavigationBarAppearance::initialize()
{
    UIBarAppearance::initialize();
    m_buttonAppearance = Foundation::make<UIBarButtonItemAppearance>(UIBarButtonItem::Style::plain);
    m_doneButtonAppearance = Foundation::make<UIBarButtonItemAppearance>(UIBarButtonItem::Style::done);
    m_backButtonAppearance = Foundation::make<UIBarButtonItemAppearance>(UIBarButtonItem::Style::plain);
}

} // namespace UIKit
