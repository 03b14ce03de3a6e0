#pragma once

#include "Platform/Foundation/String.hpp"

#include <memory>

namespace Foundation {
class Progress;
}

namespace Shared {

// A slow job a screen waits for, shown by a `ProcessingActionPresenting` while it runs.
struct ProcessingAction {
    enum class Kind { attachFile, decryptAttachment, exportFile };

    Kind kind;
    std::shared_ptr<Foundation::Progress> progress;

    Foundation::String titleText() const;
};

} // namespace Shared
