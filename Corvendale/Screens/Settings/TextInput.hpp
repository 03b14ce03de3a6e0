#pragma once

#include <functional>

namespace UIKit {
class UITextField;
}

namespace Basalwork {
class TextInput;
}

namespace Corvendale {

// What the settings pages add to the kit's text input: their look (filled, roomy, a clear button while
// editing, taken as typed), and each edit of its field reported as it happens.
void styleAsSettingsInput(Basalwork::TextInput& input);
void reportEditingChanges(Basalwork::TextInput& input, std::function<void(UIKit::UITextField&)> didChange);

} // namespace Corvendale
