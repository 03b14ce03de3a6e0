#pragma once

#include "Basalwork/Interface/UIKeyboardHIDUsage.hpp"

#include "Platform/UIKit/UIKey.hpp"

#include <memory>

namespace Basalwork {

// The modifier-key tests on a key's code. The forms on a key that may be absent answer false without one.
inline bool isControlKey(const UIKit::UIKey& key) { return isControlKey(key.keyCode()); }
inline bool isShiftKey(const UIKit::UIKey& key) { return isShiftKey(key.keyCode()); }
inline bool isOptionKey(const UIKit::UIKey& key) { return isOptionKey(key.keyCode()); }
inline bool isCommandKey(const UIKit::UIKey& key) { return isCommandKey(key.keyCode()); }
inline bool isControlKey(const std::shared_ptr<UIKit::UIKey>& key) { return key && isControlKey(*key); }
inline bool isShiftKey(const std::shared_ptr<UIKit::UIKey>& key) { return key && isShiftKey(*key); }
inline bool isOptionKey(const std::shared_ptr<UIKit::UIKey>& key) { return key && isOptionKey(*key); }
inline bool isCommandKey(const std::shared_ptr<UIKit::UIKey>& key) { return key && isCommandKey(*key); }

} // namespace Basalwork
