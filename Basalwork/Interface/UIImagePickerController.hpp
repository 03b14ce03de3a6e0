#pragma once

#include "Platform/UIKit/UIImagePickerController.hpp"

namespace Basalwork {

struct UIImagePickerControllers {
    // The source is available and gives images.
    static bool isAbleToGetStillPhotos(UIKit::UIImagePickerController::SourceType from);
    // The user has not refused the camera: access is granted or not yet asked for. Restricted counts as
    // refused.
    static bool cameraAuthorizationIsGrantedOrNotYetDetermined();
};

} // namespace Basalwork
