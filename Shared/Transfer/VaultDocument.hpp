#pragma once

#include "Shared/Model/Attachment.hpp"
#include "Shared/Model/Entry.hpp"
#include "Shared/Transfer/ImportedItem.hpp"

#include "Basalwork/Base/CSVRow.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <optional>
#include <string>
#include <vector>

namespace Shared {

// This program's own export files: every field of every item, so that an export imports back as it
// was. The JSON file holds the items in their stored form:
//     {"format": "Corvendale", "version": 1, "items": [...], "attachments": [...]}
// The CSV file has one column per value of an item; lists and structures are JSON texts in their
// cells, dates seconds since 2001. Attachments lie beside either file, in a folder named like the
// file without its extension, as "<attachment identifier>/<file name>".
class VaultDocument {
public:
    static constexpr std::int64_t version = 1;

    static std::vector<Foundation::String> csvColumnLabels();
    static std::vector<Foundation::String> requiredCSVColumnLabels();
    static Basalwork::CSVRow csvRow(const Entry& entry);

    // The JSON document, one item after another into `out`.
    static void beginJSON(std::string& out);
    static void appendJSONItem(std::string& out, const Entry& entry, bool isFirst);
    static void endJSON(std::string& out, const std::vector<Attachment>& attachments);

    // Reading; an attachment field's file is looked up in the attachments folder by the importer.
    static ImportReadResult readCSV(const Foundation::URL& fileURL, const ImportReadProgress& progress, const ImportReadDelivery& deliver = nullptr);
    // The JSON file's items go to `deliver` a part at a time as they are read.
    static void readJSON(const Foundation::URL& fileURL, const ImportReadProgress& progress, const ImportReadDelivery& deliver);

    // The items of a JSON document already in memory (a backup's); throws ImporterError.invalidFile.
    static std::vector<Entry> entries(std::string_view json, std::vector<Attachment>* attachments);

    // The folder of attachments beside an export file.
    static Foundation::URL attachmentsFolderURL(const Foundation::URL& fileURL);
    // The file of an attachment in that folder, when it is there.
    static std::optional<Foundation::URL> attachmentFileURL(const Foundation::URL& attachmentsFolder, const Foundation::String& attachmentID);
};

} // namespace Shared
