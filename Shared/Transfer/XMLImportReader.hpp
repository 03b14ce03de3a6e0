#pragma once

#include "Shared/Transfer/ImportedItem.hpp"
#include "Shared/Transfer/Importer.FileFormat.hpp"

namespace Shared {

// Reads the XML exports of KeePass (2.x) and Password Safe. Files attached to KeePass entries are
// written to `workFolder` for the importer to take in.
class XMLImportReader {
public:
    static constexpr std::int64_t maximumFileSize = 512LL * 1024 * 1024;
    // An attached file is refused when it would unpack to more than this.
    static constexpr std::size_t maximumAttachmentSize = 256ULL * 1024 * 1024;

    static bool isXML(ImporterFileFormat format);
    // The items go to `deliver` a part at a time as they are read.
    static void read(ImporterFileFormat format, const Foundation::URL& fileURL, const Foundation::URL& workFolder, const ImportReadProgress& progress,
                     const ImportReadDelivery& deliver);
};

} // namespace Shared
