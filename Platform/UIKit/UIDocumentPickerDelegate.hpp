#pragma once

#include "Platform/Foundation/URL.hpp"

#include <vector>

namespace UIKit {

class UIDocumentPickerViewController;

// What a document picker tells its delegate. The picker holds it weakly and has dismissed itself first.
class UIDocumentPickerDelegate {
public:
    virtual ~UIDocumentPickerDelegate() = default;
    // documentPicker(_:didPickDocumentsAt:)
    virtual void documentPicker(UIDocumentPickerViewController& /*controller*/, const std::vector<Foundation::URL>& /*urls*/) {}
    virtual void documentPickerWasCancelled(UIDocumentPickerViewController& /*controller*/) {}
};

} // namespace UIKit
