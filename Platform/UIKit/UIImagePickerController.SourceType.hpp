#pragma once

#include "Platform/UIKit/UIImagePickerController.hpp"

namespace UIKit {

enum class UIImagePickerController::SourceType : std::int64_t {
    photoLibrary = 0,
    camera = 1,
    savedPhotosAlbum = 2,
};

} // namespace UIKit
