#pragma once

#include <functional>
#include <memory>

namespace Foundation {
class URL;
}

namespace UIKit {
class UIViewController;
}

namespace Corvendale {

// Hands links to the desktop. When nothing there opens one (no browser), an alert over `presenter`'s
// top-most screen says so instead of nothing happening; `completion` learns whether it opened.
struct URLOpener {
    static void open(const Foundation::URL& url, const std::weak_ptr<UIKit::UIViewController>& presenter,
                     std::function<void(bool opened)> completion = {});
};

} // namespace Corvendale
