#pragma once

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/String.hpp"

#include <variant>

namespace Basalwork {

// A transition context did not hold the view or controller an animator needs.
class TransitionContextError : public Foundation::ErrorOf<TransitionContextError>,
                               public Foundation::Enumeration<TransitionContextError> {
public:
    struct FailedToAccessViewControllerForKey {
        Foundation::String viewControllerType;
        Foundation::String key;
    };
    struct FailedToAccessViewForKey {
        Foundation::String viewType;
        Foundation::String key;
    };
    using Case = std::variant<FailedToAccessViewControllerForKey, FailedToAccessViewForKey>;

    static TransitionContextError failedToAccessViewControllerForKey(Foundation::String viewControllerType, Foundation::String key)
    {
        return TransitionContextError(FailedToAccessViewControllerForKey {std::move(viewControllerType), std::move(key)});
    }
    static TransitionContextError failedToAccessViewForKey(Foundation::String viewType, Foundation::String key)
    {
        return TransitionContextError(FailedToAccessViewForKey {std::move(viewType), std::move(key)});
    }

    const Case& value() const { return m_case; }

    std::string domain() const override { return "Basalwork.TransitionContextError"; }
    std::int64_t code() const override { return index(); }
    std::string description() const override;

private:
    explicit TransitionContextError(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Basalwork
