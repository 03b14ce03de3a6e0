#pragma once

namespace UIKit {

// The application's delegate: the object the program hands the main loop. A delegate that is also a
// responder is the last responder of every chain.
class UIApplicationDelegate {
public:
    virtual ~UIApplicationDelegate() = default;

protected:
    UIApplicationDelegate() = default;
    UIApplicationDelegate(const UIApplicationDelegate&) = default;
    UIApplicationDelegate& operator=(const UIApplicationDelegate&) = default;
};

} // namespace UIKit
