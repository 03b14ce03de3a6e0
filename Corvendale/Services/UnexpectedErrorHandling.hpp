#pragma once

#include "Corvendale/Services/DependenciesAccessing.hpp"

#include "Platform/Foundation/String.hpp"

#include <functional>
#include <memory>

namespace Foundation {
class Error;
}

namespace UIKit {
class UIViewController;
}

namespace Corvendale {

// How a screen reports an error it did not expect: recorded in analytics when the error asks for it,
// then the "Oops!" alert.
class UnexpectedErrorHandling : public DependenciesAccessing {
public:
    static constexpr const char* alertTitle = "Oops!";
    static constexpr const char* alertMessage =
        "Something went wrong and the requested operation could not be completed.\n\nWe've logged the error and will "
        "investigate promptly. Expect a fix in a future update.\n\nThanks for your patience!";

    virtual std::shared_ptr<Metricove::AnalyticsStore> analyticsStore() const;
    // The conforming view controller's own presentation.
    virtual void presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                                       std::function<void()> completion) = 0;

    // `function` names the operation in which the error arrived, as its signature.
    void handleUnexpectedError(const Foundation::Error& error, const Foundation::String& function, bool animated = true);
};

} // namespace Corvendale
