#include "Platform/AVFoundation/AVCaptureDevice.hpp"

#include <mutex>
#include <unordered_map>

namespace AVFoundation {
namespace {

struct Permissions {
    std::mutex mutex;
    std::unordered_map<Foundation::String, AVAuthorizationStatus> statuses;
};

Permissions& permissions()
{
    static auto* shared = new Permissions;
    return *shared;
}

} // namespace

AVAuthorizationStatus AVCaptureDevice::authorizationStatus(const AVMediaType& forMediaType)
{
    std::lock_guard lock(permissions().mutex);
    auto found = permissions().statuses.find(forMediaType.rawValue);
    return found == permissions().statuses.end() ? AVAuthorizationStatus::notDetermined : found->second;
}

void AVCaptureDevice::setAuthorizationStatus(AVAuthorizationStatus status, const AVMediaType& forMediaType)
{
    std::lock_guard lock(permissions().mutex);
    permissions().statuses.insert_or_assign(forMediaType.rawValue, status);
}

} // namespace AVFoundation
