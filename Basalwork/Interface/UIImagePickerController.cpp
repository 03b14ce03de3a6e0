#include "Basalwork/Interface/UIImagePickerController.hpp"

#include "Platform/AVFoundation/AVCaptureDevice.hpp"
#include "Platform/UniformTypeIdentifiers/UTType.hpp"

#include <algorithm>

namespace Basalwork {

bool UIImagePickerControllers::isAbleToGetStillPhotos(UIKit::UIImagePickerController::SourceType from)
{
    if (!UIKit::UIImagePickerController::isSourceTypeAvailable(from))
        return false;
    auto mediaTypes = UIKit::UIImagePickerController::availableMediaTypes(from);
    const auto& image = UniformTypeIdentifiers::UTType::image().identifier;
    return mediaTypes && std::ranges::find(*mediaTypes, image) != mediaTypes->end();
}

bool UIImagePickerControllers::cameraAuthorizationIsGrantedOrNotYetDetermined()
{
    using Status = AVFoundation::AVAuthorizationStatus;
    auto status = AVFoundation::AVCaptureDevice::authorizationStatus(AVFoundation::AVMediaType::video());
    return status != Status::restricted && status != Status::denied;
}

} // namespace Basalwork
