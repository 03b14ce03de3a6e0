#include "Basalwork/Interface/DoneToolbar.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UIScreen.hpp"

namespace Basalwork {

DoneToolbar::DoneToolbar(const Foundation::NSCoder&)
{
    Foundation::fatalError();
}

void DoneToolbar::initialize()
{
    UIToolbar::initialize();
    sizeToFit();
}

UIKit::CGRect DoneToolbar::mainScreenBounds()
{
    return UIKit::UIScreen::main()->bounds();
}

std::shared_ptr<UIKit::UIBarButtonItem> DoneToolbar::flexibleSpace()
{
    return Foundation::make<UIKit::UIBarButtonItem>(UIKit::UIBarButtonItem::SystemItem::flexibleSpace);
}

} // namespace Basalwork
