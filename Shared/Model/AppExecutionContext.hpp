#pragma once

#include "Platform/Foundation/Enumeration.hpp"

#include <memory>
#include <variant>

namespace UIKit {
class UIApplication;
}

namespace Shared {

// Where the framework runs: inside the application (which it may ask for background time and open URLs
// with) or inside the AutoFill extension, which has no application object.
class AppExecutionContext : public Foundation::Enumeration<AppExecutionContext> {
public:
    struct App {
        std::shared_ptr<UIKit::UIApplication> application;
    };
    struct Extension { };
    // Cases in declared order.
    using Case = std::variant<App, Extension>;

    static AppExecutionContext app(std::shared_ptr<UIKit::UIApplication> application)
    {
        return AppExecutionContext(App {std::move(application)});
    }
    static AppExecutionContext extension() { return AppExecutionContext(Extension {}); }

    const Case& value() const { return m_case; }
    bool isExtension() const { return is<Extension>(); }

    friend bool operator==(const AppExecutionContext& lhs, const AppExecutionContext& rhs)
    {
        if (lhs.m_case.index() != rhs.m_case.index())
            return false;
        if (const auto* app = lhs.as<App>())
            return app->application == rhs.as<App>()->application;
        return true;
    }

private:
    explicit AppExecutionContext(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Shared
