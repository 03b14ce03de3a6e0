#pragma once

#include "Shared/Transfer/Importer.App.hpp"
#include "Shared/Transfer/Importer.FileFormat.hpp"
#include "Shared/Transfer/Importer.Report.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <memory>
#include <optional>
#include <variant>

namespace Foundation {
class Progress;
}

namespace Corvendale {

// ImportFromFileV.State: what the import page shows, computed afresh from the importer's status and
// the user's choices. Cases in declared order; equal when the case and every value are.
class ImportFromFileVState {
public:
    struct SelectFileFormat {
        Shared::ImporterApp app;
        friend bool operator==(const SelectFileFormat&, const SelectFileFormat&) = default;
    };
    struct SelectFileURL {
        Shared::ImporterFileFormat fileFormat;
        std::optional<Foundation::URL> fileURL;
        friend bool operator==(const SelectFileURL&, const SelectFileURL&) = default;
    };
    struct SelectAttachmentsURL {
        Shared::ImporterFileFormat fileFormat;
        std::optional<Foundation::URL> fileURL;
        std::optional<Foundation::URL> attachmentsURL;
        std::optional<Foundation::String> tagsToAddText;
        friend bool operator==(const SelectAttachmentsURL&, const SelectAttachmentsURL&) = default;
    };
    struct ImportInProgress {
        Shared::ImporterFileFormat fileFormat;
        std::shared_ptr<Foundation::Progress> progress;
        friend bool operator==(const ImportInProgress&, const ImportInProgress&) = default;
    };
    struct ImportComplete {
        Shared::ImporterReport report;
        friend bool operator==(const ImportComplete&, const ImportComplete&) = default;
    };
    struct ImportCompleteWithFailures {
        Shared::ImporterReport report;
        friend bool operator==(const ImportCompleteWithFailures&, const ImportCompleteWithFailures&) = default;
    };
    struct ImportFailedToAccessRequiredColumnLabel {
        Shared::ImporterFileFormat fileFormat;
        Foundation::String columnLabel;
        friend bool operator==(const ImportFailedToAccessRequiredColumnLabel&, const ImportFailedToAccessRequiredColumnLabel&) = default;
    };
    struct ImportFailed {
        Shared::ImporterFileFormat fileFormat;
        Foundation::String errorDescription;
        friend bool operator==(const ImportFailed&, const ImportFailed&) = default;
    };
    struct SelectApp {
        friend bool operator==(const SelectApp&, const SelectApp&) = default;
    };
    using Case = std::variant<SelectFileFormat, SelectFileURL, SelectAttachmentsURL, ImportInProgress, ImportComplete, ImportCompleteWithFailures,
                              ImportFailedToAccessRequiredColumnLabel, ImportFailed, SelectApp>;

    template <class C>
        requires std::is_constructible_v<Case, C>
    ImportFromFileVState(C value) // NOLINT: each case stands for the state
        : m_case(std::move(value))
    {
    }

    const Case& value() const { return m_case; }
    template <class C>
    const C* as() const { return std::get_if<C>(&m_case); }
    template <class C>
    bool is() const { return std::holds_alternative<C>(m_case); }

    // The app the page shows as chosen, and the format; none where the state has none.
    std::optional<Shared::ImporterApp> app() const;
    std::optional<Shared::ImporterFileFormat> fileFormat() const;

    friend bool operator==(const ImportFromFileVState&, const ImportFromFileVState&) = default;

private:
    Case m_case;
};

} // namespace Corvendale
