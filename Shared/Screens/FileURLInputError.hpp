#pragma once

#include "Shared/Model/ErrorEnumeration.hpp"

#include "Platform/Foundation/URL.hpp"

namespace Shared {

// Why a file input did not take what was dropped on it.
struct FileURLInputErrorCases {
    struct NotAFolder {
        Foundation::URL url;
    };
    struct NotAFile {
        Foundation::URL url;
    };
};

class FileURLInputError : public ErrorEnumeration<FileURLInputError, FileURLInputErrorCases::NotAFolder, FileURLInputErrorCases::NotAFile>,
                          public FileURLInputErrorCases {
public:
    static FileURLInputError notAFolder(Foundation::URL url) { return FileURLInputError(NotAFolder {std::move(url)}); }
    static FileURLInputError notAFile(Foundation::URL url) { return FileURLInputError(NotAFile {std::move(url)}); }

    // A wrong drop is the user's, not a fault.
    bool shouldTrackInAnalytics() const override { return false; }

    std::string domain() const override { return "Shared.FileURLInputError"; }
    std::string description() const override;

private:
    using ErrorEnumeration::ErrorEnumeration;
};

} // namespace Shared
