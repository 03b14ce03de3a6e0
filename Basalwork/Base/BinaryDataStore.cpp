#include "Basalwork/Base/BinaryDataStore.hpp"

#include "Basalwork/Base/FileManager.hpp"
#include "Basalwork/Base/StoreKeyError.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/UUID.hpp"

namespace Basalwork {

namespace {

const std::shared_ptr<Foundation::FileManager>& required(const std::shared_ptr<Foundation::FileManager>& fileManager)
{
    Foundation::precondition(fileManager != nullptr, "A store needs a file manager");
    return fileManager;
}

} // namespace

BinaryDataStore::BinaryDataStore(const File::Location& location, std::shared_ptr<Foundation::FileManager> fileManager)
    : m_fileManager(std::move(fileManager))
    , m_directoryURL(location.url(*required(m_fileManager)))
{
}

std::shared_ptr<File> BinaryDataStore::file(const Foundation::String& filename,
                                            const std::optional<Foundation::String>& fileExtension) const
{
    StoreKeyError::validateKey(filename);
    StoreKeyError::validateExtension(fileExtension);
    return Foundation::make<File>(filename, fileExtension, m_directoryURL, m_fileManager);
}

std::optional<Foundation::Data> BinaryDataStore::data(const Foundation::String& filename,
                                                      const std::optional<Foundation::String>& fileExtension) const
{
    return file(filename, fileExtension)->readFromDisk();
}

void BinaryDataStore::save(const Foundation::Data& data, const Foundation::String& filename,
                           const std::optional<Foundation::String>& fileExtension) const
{
    file(filename, fileExtension)->writeToDisk(data);
}

void BinaryDataStore::save(const Foundation::URL& contentsOf, const Foundation::String& filename,
                           const std::optional<Foundation::String>& fileExtension) const
{
    file(filename, fileExtension)->replace(contentsOf);
}

void BinaryDataStore::deleteData(const Foundation::String& filename, const std::optional<Foundation::String>& fileExtension) const
{
    file(filename, fileExtension)->removeFromDisk();
}

void BinaryDataStore::deleteAllData() const
{
    if (fileExists(*m_fileManager, m_directoryURL))
        m_fileManager->removeItem(m_directoryURL);
}

bool BinaryDataStore::dataExists(const Foundation::String& filename, const std::optional<Foundation::String>& fileExtension) const
{
    return file(filename, fileExtension)->fileExists();
}

Foundation::URL BinaryDataStore::url(const Foundation::String& filename, const std::optional<Foundation::String>& fileExtension) const
{
    return file(filename, fileExtension)->url();
}

std::optional<Foundation::URL> BinaryDataStore::makeTempFileURL(const std::optional<Foundation::String>& subdirectory,
                                                                const Foundation::String& filename,
                                                                const std::optional<Foundation::String>& fileExtension) const
{
    auto stored = file(filename, fileExtension);
    if (!stored->fileExists())
        return std::nullopt;
    auto temporaryDirectory = File::Location::temporary(File::Location::Destination::primaryVolume(), subdirectory).url(*m_fileManager);
    auto copy = Foundation::make<File>(filename + Foundation::UUID().uuidString(), fileExtension, temporaryDirectory, m_fileManager);
    copy->replace(stored->url());
    return copy->url();
}

} // namespace Basalwork
