#include "Basalwork/Interface/UIScrollView.hpp"

namespace Basalwork {

void scrollToTop(UIKit::UIScrollView& scrollView, bool animated)
{
    scrollView.setContentOffset({0, -scrollView.adjustedContentInset().top}, animated);
}

void scrollToBottom(UIKit::UIScrollView& scrollView, bool animated)
{
    UIKit::CGRect lastRow {0, scrollView.contentSize().height - 1.0, scrollView.bounds().size.width, 1.0};
    scrollView.scrollRectToVisible(lastRow, animated);
}

} // namespace Basalwork
