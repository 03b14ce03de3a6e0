#include "Basalwork/Base/ImageStore.hpp"

#include "Basalwork/Base/ImageStoreError.hpp"

namespace Basalwork {

ImageStore::ImageStore(const File::Location& location, std::shared_ptr<Foundation::FileManager> fileManager)
    : m_fileExtension("jpg")
    , m_binaryDataStore(Foundation::make<BinaryDataStore>(location, std::move(fileManager)))
{
}

std::shared_ptr<UIKit::UIImage> ImageStore::uiImage(const Foundation::String& key) const
{
    auto data = m_binaryDataStore->data(key, m_fileExtension);
    if (!data)
        return nullptr;
    auto image = UIKit::UIImage::fromData(*data);
    if (!image)
        throw ImageStoreError::failedToAccessUIImageFromImageDataForKey(key);
    return image;
}

void ImageStore::save(const UIKit::UIImage& uiImage, const Foundation::String& key) const
{
    auto data = uiImage.jpegData(0.5);
    if (!data)
        throw ImageStoreError::failedToAccessJPEGDataFromUIImageForKey(key);
    m_binaryDataStore->save(*data, key, m_fileExtension);
}

void ImageStore::save(const Foundation::Data& imageData, const Foundation::String& key) const
{
    m_binaryDataStore->save(imageData, key, m_fileExtension);
}

void ImageStore::deleteImageData(const Foundation::String& key) const
{
    m_binaryDataStore->deleteData(key, m_fileExtension);
}

std::optional<Foundation::URL> ImageStore::makeTempFileURL(const std::optional<Foundation::String>& inSubdirectory,
                                                           const Foundation::String& key) const
{
    return m_binaryDataStore->makeTempFileURL(inSubdirectory, key, m_fileExtension);
}

void ImageStore::saveImageData(const Foundation::URL& fromTempURL, const Foundation::String& key) const
{
    m_binaryDataStore->save(fromTempURL, key, m_fileExtension);
}

} // namespace Basalwork
