#pragma once

#include "Platform/UIKit/UITextField.hpp"

namespace UIKit {

// The text field inside a search bar; its clear button shows while editing.
class UISearchTextField : public UITextField {
protected:
    friend Foundation::Construct;
    UISearchTextField() { setClearButtonMode(ViewMode::whileEditing); }
};

} // namespace UIKit
