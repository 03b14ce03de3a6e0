#pragma once

#include "Shared/Model/ErrorEnumeration.hpp"

#include "Platform/Foundation/String.hpp"

namespace Shared {

// Why an export wrote nothing.
struct ExporterErrorCases {
    // The folder cannot take the export: the reason says why.
    struct FolderNotWritable {
        Foundation::String path;
        Foundation::String reason;
    };
    struct Cancelled { };
};

class ExporterError : public ErrorEnumeration<ExporterError, ExporterErrorCases::FolderNotWritable, ExporterErrorCases::Cancelled>,
                      public ExporterErrorCases {
public:
    static ExporterError folderNotWritable(Foundation::String path, Foundation::String reason)
    {
        return ExporterError(FolderNotWritable {std::move(path), std::move(reason)});
    }
    static ExporterError cancelled() { return ExporterError(Cancelled {}); }

    bool shouldTrackInAnalytics() const override { return false; }

    std::string domain() const override { return "Shared.ExporterError"; }
    std::string description() const override
    {
        if (const auto* folder = as<FolderNotWritable>())
            return "The export could not be written to \"" + folder->path.utf8() + "\": " + folder->reason.utf8();
        return "The export was cancelled. No file was written.";
    }

private:
    using ErrorEnumeration::ErrorEnumeration;
};

} // namespace Shared
