#pragma once

#include "Platform/Foundation/URL.hpp"

#include <cstdint>

namespace UIKit {

class QLPreviewController;

// What a preview shows: a count of items and each item's file.
class QLPreviewControllerDataSource {
public:
    virtual ~QLPreviewControllerDataSource() = default;
    virtual std::int64_t numberOfPreviewItems(QLPreviewController& controller) = 0;
    virtual Foundation::URL previewItemAt(QLPreviewController& controller, std::int64_t index) = 0;
};

// Told when the preview has gone away.
class QLPreviewControllerDelegate {
public:
    virtual ~QLPreviewControllerDelegate() = default;
    virtual void previewControllerDidDismiss(QLPreviewController& controller) = 0;
};

} // namespace UIKit
