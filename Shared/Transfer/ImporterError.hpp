#pragma once

#include "Shared/Model/ErrorEnumeration.hpp"

#include "Platform/Foundation/String.hpp"

#include <cstdint>

namespace Shared {

// Why an import could not run at all. Failures of single items are texts in the report instead. None
// carries a secret: the texts go into the report the user may mail.
struct ImporterErrorCases {
    // The importer knows the format but cannot read it.
    struct UnsupportedFileFormat {
        Foundation::String formatTitle;
        Foundation::String reason;
    };
    // The file is not what its format says: the reason names what was wrong, never a value.
    struct InvalidFile {
        Foundation::String reason;
    };
    struct FileTooLarge {
        std::int64_t limit;
    };
    // A password-protected export: the other app decrypts nothing for us.
    struct EncryptedExport { };
    struct Cancelled { };
};

class ImporterError : public ErrorEnumeration<ImporterError, ImporterErrorCases::UnsupportedFileFormat, ImporterErrorCases::InvalidFile,
                                              ImporterErrorCases::FileTooLarge, ImporterErrorCases::EncryptedExport,
                                              ImporterErrorCases::Cancelled>,
                      public ImporterErrorCases {
public:
    static ImporterError unsupportedFileFormat(Foundation::String formatTitle, Foundation::String reason)
    {
        return ImporterError(UnsupportedFileFormat {std::move(formatTitle), std::move(reason)});
    }
    static ImporterError invalidFile(Foundation::String reason) { return ImporterError(InvalidFile {std::move(reason)}); }
    static ImporterError fileTooLarge(std::int64_t limit) { return ImporterError(FileTooLarge {limit}); }
    static ImporterError encryptedExport() { return ImporterError(EncryptedExport {}); }
    static ImporterError cancelled() { return ImporterError(Cancelled {}); }

    // A cancellation is the user's choice, not a fault.
    bool shouldTrackInAnalytics() const override { return !is<Cancelled>(); }

    std::string domain() const override { return "Shared.ImporterError"; }
    std::string description() const override;

private:
    using ErrorEnumeration::ErrorEnumeration;
};

} // namespace Shared
