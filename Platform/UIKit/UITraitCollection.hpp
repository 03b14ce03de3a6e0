#pragma once

#include "Platform/UIKit/UIContentSizeCategory.hpp"
#include "Platform/UIKit/UIUserInterfaceIdiom.hpp"
#include "Platform/UIKit/UIUserInterfaceSizeClass.hpp"
#include "Platform/UIKit/UIUserInterfaceStyle.hpp"

namespace UIKit {

// The environment a view is shown in. A fresh collection leaves every trait unspecified; windows take
// theirs from their scene and views from their window.
struct UITraitCollection {
    UIUserInterfaceStyle userInterfaceStyle = UIUserInterfaceStyle::unspecified;
    UIUserInterfaceSizeClass horizontalSizeClass = UIUserInterfaceSizeClass::unspecified;
    UIUserInterfaceSizeClass verticalSizeClass = UIUserInterfaceSizeClass::unspecified;
    UIUserInterfaceIdiom userInterfaceIdiom = UIUserInterfaceIdiom::unspecified;
    UIContentSizeCategory preferredContentSizeCategory = UIContentSizeCategory::unspecified();

    friend bool operator==(const UITraitCollection&, const UITraitCollection&) = default;
};

} // namespace UIKit
