#pragma once

#include "Platform/AVFoundation/AVAuthorizationStatus.hpp"
#include "Platform/AVFoundation/AVMediaType.hpp"
#include "Platform/Foundation/NSObject.hpp"

namespace AVFoundation {

// A camera or microphone. Only the user's permission for each kind of media is kept: it starts
// undetermined, and the program's driver and tests set the user's answer.
class AVCaptureDevice : public Foundation::NSObject {
public:
    static AVAuthorizationStatus authorizationStatus(const AVMediaType& forMediaType);
    static void setAuthorizationStatus(AVAuthorizationStatus status, const AVMediaType& forMediaType);

protected:
    friend Foundation::Construct;
    AVCaptureDevice() = default;
};

} // namespace AVFoundation
