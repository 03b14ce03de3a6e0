#include "Tests/Support/Files.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include "Basalwork/Base/ImageStore.hpp"
#include "Basalwork/Base/ImageStoreError.hpp"

#include <filesystem>
#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::Data;
using Foundation::String;
using Foundation::URL;
namespace fs = std::filesystem;

namespace {

std::shared_ptr<UIKit::UIImage> picture(std::size_t width, std::size_t height)
{
    std::vector<std::uint8_t> rgba;
    for (std::size_t i = 0; i < width * height; ++i)
        rgba.insert(rgba.end(), {static_cast<std::uint8_t>(i), 0x80, 0x20, 0xFF});
    return UIKit::UIImage::fromRGBA(width, height, std::move(rgba));
}

class ImageStoreTest : public testing::Test {
protected:
    TestSupport::TemporaryHome home;
    std::shared_ptr<ImageStore> store = Foundation::make<ImageStore>(File::Location::permanent("Images"),
                                                                     Foundation::FileManager::defaultManager());
    fs::path directory = fs::path(store->binaryDataStore()->directoryURL().path().utf8());

    template <class Case>
    void expectFailure(const std::function<void()>& operation, const String& key)
    {
        try {
            operation();
            ADD_FAILURE() << "no error";
        } catch (const ImageStoreError& error) {
            const auto* failure = error.as<Case>();
            ASSERT_NE(failure, nullptr) << error.description();
            EXPECT_EQ(failure->key, key);
        }
    }
};

} // namespace

TEST_F(ImageStoreTest, ImagesAreSavedAsJPEGFilesNamedByKey)
{
    EXPECT_EQ(store->fileExtension(), "jpg");
    store->save(*picture(12, 7), "avatar");
    EXPECT_EQ(TestSupport::entryNames(directory), std::vector<std::string> {"avatar.jpg"});
    EXPECT_EQ(TestSupport::readText(directory / "avatar.jpg").substr(0, 2), "\xFF\xD8");

    auto image = store->uiImage("avatar");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->size(), (UIKit::CGSize {12, 7}));
}

TEST_F(ImageStoreTest, SavingAgainReplacesTheImage)
{
    store->save(*picture(4, 4), "key");
    store->save(*picture(9, 3), "key");
    EXPECT_EQ(store->uiImage("key")->size(), (UIKit::CGSize {9, 3}));
}

TEST_F(ImageStoreTest, MissingImagesAreNothingAndNoError)
{
    EXPECT_EQ(store->uiImage("none"), nullptr);
    store->deleteImageData("none");
    EXPECT_EQ(store->makeTempFileURL(std::nullopt, "none"), std::nullopt);
}

TEST_F(ImageStoreTest, AnImageThatCannotBeEncodedWritesNothing)
{
    store->save(*picture(2, 2), "kept");
    expectFailure<ImageStoreError::FailedToAccessJPEGDataFromUIImageForKey>(
        [&] { store->save(*Foundation::make<UIKit::UIImage>(), "empty"); }, "empty");
    expectFailure<ImageStoreError::FailedToAccessJPEGDataFromUIImageForKey>(
        [&] { store->save(*Foundation::make<UIKit::UIImage>(), "kept"); }, "kept");
    EXPECT_EQ(TestSupport::entryNames(directory), std::vector<std::string> {"kept.jpg"});
    EXPECT_NE(store->uiImage("kept"), nullptr);
}

TEST_F(ImageStoreTest, BytesThatAreNoImageAreStoredButCannotBeRead)
{
    store->save(Data::fromString("not a picture"), "broken");
    EXPECT_EQ(TestSupport::readText(directory / "broken.jpg"), "not a picture");
    expectFailure<ImageStoreError::FailedToAccessUIImageFromImageDataForKey>([&] { store->uiImage("broken"); }, "broken");
}

TEST_F(ImageStoreTest, TemporaryCopiesCanBeEditedAndSavedBack)
{
    store->save(*picture(5, 5), "photo");
    auto copy = store->makeTempFileURL("Editing", "photo");
    auto another = store->makeTempFileURL("Editing", "photo");
    ASSERT_TRUE(copy && another);
    EXPECT_NE(*copy, *another);
    EXPECT_EQ(copy->pathExtension(), "jpg");
    EXPECT_TRUE(copy->lastPathComponent().hasPrefix("photo"));

    auto edited = picture(6, 2)->jpegData(0.9);
    edited->write(*copy);
    store->saveImageData(*copy, "photo");
    EXPECT_EQ(store->uiImage("photo")->size(), (UIKit::CGSize {6, 2}));
    EXPECT_TRUE(fs::exists(copy->path().utf8()));
}

TEST_F(ImageStoreTest, DeletingRemovesOnlyThatImage)
{
    store->save(*picture(1, 1), "a");
    store->save(*picture(1, 1), "b");
    store->deleteImageData("a");
    EXPECT_EQ(TestSupport::entryNames(directory), std::vector<std::string> {"b.jpg"});
}

TEST(ImageStoreError, BridgesWithItsCaseOrder)
{
    EXPECT_EQ(ImageStoreError::failedToAccessJPEGDataFromUIImageForKey("k").code(), 0);
    EXPECT_EQ(ImageStoreError::failedToAccessUIImageFromImageDataForKey("k").code(), 1);
    EXPECT_EQ(ImageStoreError::failedToAccessUIImageFromImageDataForKey("k").domain(), "Basalwork.ImageStoreError");
    EXPECT_EQ(ImageStoreError::failedToAccessJPEGDataFromUIImageForKey("k").description(), R"(failedToAccessJPEGDataFromUIImageForKey("k"))");
}
