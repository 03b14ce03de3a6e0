#include "Shared/Transfer/ImporterError.hpp"

namespace Shared {

namespace {

struct Describer {
    std::string operator()(const ImporterError::UnsupportedFileFormat& c) const
    {
        return "Importing " + c.formatTitle.utf8() + " files is not supported: " + c.reason.utf8();
    }
    std::string operator()(const ImporterError::InvalidFile& c) const { return "The file could not be read: " + c.reason.utf8(); }
    std::string operator()(const ImporterError::FileTooLarge& c) const
    {
        return "The file is larger than the " + std::to_string(c.limit / (1024 * 1024)) + " MB the importer reads.";
    }
    std::string operator()(const ImporterError::EncryptedExport&) const
    {
        return "The file is a password-protected export. Please export again without a password and import that file.";
    }
    std::string operator()(const ImporterError::Cancelled&) const { return "The import was cancelled. No items were imported."; }
};

} // namespace

std::string ImporterError::description() const
{
    return std::visit(Describer {}, value());
}

} // namespace Shared
