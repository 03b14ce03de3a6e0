#pragma once

#include "Basalwork/Base/BinaryDataStore.hpp"

#include "Platform/UIKit/UIImage.hpp"

#include <memory>
#include <optional>

namespace Basalwork {

// Images kept as JPEG files, one per key with the extension "jpg". Keys that could lead outside the
// directory are refused with StoreKeyError; file errors pass through.
class ImageStore : public Foundation::NSObject {
public:
    const std::shared_ptr<BinaryDataStore>& binaryDataStore() const { return m_binaryDataStore; }
    // Always "jpg".
    const Foundation::String& fileExtension() const { return m_fileExtension; }

    // uiImage(forKey:): nothing when no file exists; ImageStoreError.failedToAccessUIImageFromImageDataForKey
    // when its bytes are no image.
    virtual std::shared_ptr<UIKit::UIImage> uiImage(const Foundation::String& key) const;
    // save(uiImage:forKey:): JPEG at quality 0.5; ImageStoreError.failedToAccessJPEGDataFromUIImageForKey,
    // and nothing written, when the image cannot be encoded.
    virtual void save(const UIKit::UIImage& uiImage, const Foundation::String& key) const;
    // save(imageData:forKey:): the bytes as they are, unchecked.
    virtual void save(const Foundation::Data& imageData, const Foundation::String& key) const;
    // A missing file is no error.
    virtual void deleteImageData(const Foundation::String& key) const;
    virtual std::optional<Foundation::URL> makeTempFileURL(const std::optional<Foundation::String>& inSubdirectory,
                                                           const Foundation::String& key) const;
    // saveImageData(fromTempURL:forKey:): a copy of the file at the URL takes the key's file's place.
    virtual void saveImageData(const Foundation::URL& fromTempURL, const Foundation::String& key) const;

protected:
    friend Foundation::Construct;
    ImageStore(const File::Location& location, std::shared_ptr<Foundation::FileManager> fileManager);

private:
    Foundation::String m_fileExtension;
    std::shared_ptr<BinaryDataStore> m_binaryDataStore;
};

} // namespace Basalwork
