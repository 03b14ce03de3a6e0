#include "Basalwork/Interface/UIImage.hpp"
#include "Basalwork/Interface/UIImagePickerController.hpp"

#include "Platform/AVFoundation/AVCaptureDevice.hpp"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

using namespace Basalwork;
using Foundation::make;
using UIKit::UIImagePickerController;

TEST(UIImages, AColourImageIsFilledWholeAndAnImpossibleSizeGivesTheEmptyImage)
{
    auto image = UIImages::withColor(*make<UIKit::UIColor>(1.0, 0.0, 0.0, 1.0), {3, 2.5});
    EXPECT_EQ(image->size(), (UIKit::CGSize {3, 3}));
    std::vector<std::uint8_t> red;
    for (int pixel = 0; pixel < 9; ++pixel)
        red.insert(red.end(), {255, 0, 0, 255});
    EXPECT_EQ(image->rgba(), red);

    for (UIKit::CGSize size : {UIKit::CGSize {0, 10}, UIKit::CGSize {-4, 4}, UIKit::CGSize {1e9, 1e9},
                               UIKit::CGSize {std::nan(""), 1}, UIKit::CGSize {std::numeric_limits<double>::infinity(), 1}})
        EXPECT_EQ(UIImages::withColor(*UIKit::UIColor::black(), size)->size(), UIKit::CGSize::zero());
}

class ImageSources : public testing::Test {
protected:
    void TearDown() override
    {
        UIImagePickerController::resetSourceTypes();
        AVFoundation::AVCaptureDevice::setAuthorizationStatus(AVFoundation::AVAuthorizationStatus::notDetermined,
                                                              AVFoundation::AVMediaType::video());
    }
};

TEST_F(ImageSources, StillPhotosNeedAnAvailableSourceThatGivesImages)
{
    using Source = UIImagePickerController::SourceType;
    EXPECT_TRUE(UIImagePickerControllers::isAbleToGetStillPhotos(Source::photoLibrary));
    EXPECT_FALSE(UIImagePickerControllers::isAbleToGetStillPhotos(Source::camera));

    UIImagePickerController::setSourceTypeAvailable(Source::camera, true, {"public.movie"});
    EXPECT_FALSE(UIImagePickerControllers::isAbleToGetStillPhotos(Source::camera));
    UIImagePickerController::setSourceTypeAvailable(Source::camera, true, {"public.movie", "public.image"});
    EXPECT_TRUE(UIImagePickerControllers::isAbleToGetStillPhotos(Source::camera));
}

TEST_F(ImageSources, OnlyARefusedCameraCountsAsNotGranted)
{
    using Status = AVFoundation::AVAuthorizationStatus;
    EXPECT_TRUE(UIImagePickerControllers::cameraAuthorizationIsGrantedOrNotYetDetermined());
    for (auto [status, granted] : {std::pair {Status::authorized, true}, std::pair {Status::restricted, false},
                                   std::pair {Status::denied, false}}) {
        AVFoundation::AVCaptureDevice::setAuthorizationStatus(status, AVFoundation::AVMediaType::video());
        EXPECT_EQ(UIImagePickerControllers::cameraAuthorizationIsGrantedOrNotYetDetermined(), granted);
    }
    // The microphone's answer is not the camera's.
    AVFoundation::AVCaptureDevice::setAuthorizationStatus(Status::authorized, AVFoundation::AVMediaType::video());
    AVFoundation::AVCaptureDevice::setAuthorizationStatus(Status::denied, AVFoundation::AVMediaType::audio());
    EXPECT_TRUE(UIImagePickerControllers::cameraAuthorizationIsGrantedOrNotYetDetermined());
}
