#pragma once

#include "Platform/UIKit/CGFloat.hpp"

#include <memory>

namespace UIKit {
class UIView;
} // namespace UIKit

namespace Shared {

// The one column of a screen that shows its content in the middle: centred in the container, kept
// `inset` points inside its margins, `maxWidth` wide where there is room and as wide as the margins allow
// where there is not. Nothing here competes at one priority: the column keeps inside the margins and
// under `maxWidth` by inequalities that hold together, and only its wish to be `maxWidth` wide gives way,
// so the container (which may itself be placed by constraints) never moves to make room.
void addSubviewAsCenteredColumn(UIKit::UIView& container, const std::shared_ptr<UIKit::UIView>& subview, UIKit::CGFloat inset,
                                UIKit::CGFloat maxWidth);

} // namespace Shared
