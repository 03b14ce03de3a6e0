#pragma once

#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <concepts>
#include <memory>

namespace Basalwork {

// A view that says how tall it must be to show some content (its `Config`) at a width, without being
// shown: one shared instance, `sizingInstance()`, is configured with `update(with, animated,
// givenContentWidth)` and measured. It may bring a `requiredHeight(givenContentWidth)` of its own; the
// view's constraints decide otherwise.
template <class T>
concept RequiredHeightProviding = std::derived_from<T, UIKit::UIView>
    && requires(T& view, const typename T::Config& config, UIKit::CGFloat width) {
           { T::sizingInstance() } -> std::convertible_to<std::shared_ptr<T>>;
           view.update(config, false, width);
       };

// heightRequired(for:givenContentWidth:)
template <RequiredHeightProviding T>
UIKit::CGFloat heightRequired(const typename T::Config& config, UIKit::CGFloat givenContentWidth)
{
    T::sizingInstance()->update(config, false, givenContentWidth);
    std::shared_ptr<T> instance = T::sizingInstance();
    if constexpr (requires { instance->requiredHeight(givenContentWidth); })
        return instance->requiredHeight(givenContentWidth);
    else
        return requiredHeight(static_cast<const UIKit::UIView&>(*instance), givenContentWidth);
}

} // namespace Basalwork
