#include "Basalwork/Base/File.hpp"

#include "Basalwork/Base/FileManager.hpp"
#include "Basalwork/Base/URL.hpp"

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/UUID.hpp"

namespace Basalwork {

File::File(Foundation::String filename, const std::optional<Foundation::String>& fileExtension,
           const Foundation::URL& directoryURL, std::shared_ptr<Foundation::FileManager> fileManager)
    : m_filename(std::move(filename))
    , m_url(appendingFilename(directoryURL, m_filename, fileExtension))
    , m_fileManager(std::move(fileManager))
{
    Foundation::precondition(m_fileManager != nullptr, "File needs a file manager");
    m_fileManager->createDirectory(directoryURL, true);
}

std::optional<Foundation::Data> File::readFromDisk() const
{
    if (!fileExists())
        return std::nullopt;
    return Foundation::Data::contentsOf(m_url);
}

void File::writeToDisk(const Foundation::Data& data) const
{
    data.write(m_url, Foundation::Data::WritingOptions::atomic());
}

void File::replace(const Foundation::URL& withContentsOf) const
{
    auto directory = Location::temporary(Location::Destination::primaryVolume(), std::nullopt).url(*m_fileManager);
    auto staging = directory.appendingPathComponent(Foundation::UUID().uuidString(), false);
    m_fileManager->copyItem(withContentsOf, staging);
    auto failure = Foundation::catchError([&] { m_fileManager->replaceItemAt(m_url, staging); });
    if (Basalwork::fileExists(*m_fileManager, staging))
        Foundation::catchError([&] { m_fileManager->removeItem(staging); });
    if (failure)
        failure->raise();
}

void File::removeFromDisk() const
{
    if (fileExists())
        m_fileManager->removeItem(m_url);
}

bool File::fileExists() const
{
    return Basalwork::fileExists(*m_fileManager, m_url);
}

} // namespace Basalwork
