#pragma once

#include "Shared/Transfer/Exporter.App.hpp"
#include "Shared/Transfer/Exporter.FileFormat.hpp"
#include "Shared/Transfer/Exporter.Report.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <memory>
#include <optional>
#include <variant>

namespace Foundation {
class Progress;
}

namespace Corvendale {

// ExportToFileV.State: what the export page shows, computed afresh from the exporter's status and the
// user's choices. Cases in declared order; equal when the case and every value are.
class ExportToFileVState {
public:
    struct SelectFileFormat {
        Shared::ExporterApp app;
        friend bool operator==(const SelectFileFormat&, const SelectFileFormat&) = default;
    };
    struct SelectLocationURL {
        Shared::ExporterFileFormat fileFormat;
        std::optional<Foundation::URL> locationURL;
        friend bool operator==(const SelectLocationURL&, const SelectLocationURL&) = default;
    };
    struct ExportInProgress {
        Shared::ExporterFileFormat fileFormat;
        std::shared_ptr<Foundation::Progress> progress;
        friend bool operator==(const ExportInProgress&, const ExportInProgress&) = default;
    };
    struct ExportComplete {
        Shared::ExporterReport report;
        friend bool operator==(const ExportComplete&, const ExportComplete&) = default;
    };
    struct ExportCompleteWithFailures {
        Shared::ExporterReport report;
        friend bool operator==(const ExportCompleteWithFailures&, const ExportCompleteWithFailures&) = default;
    };
    struct ExportFailed {
        Shared::ExporterFileFormat fileFormat;
        Foundation::String errorDescription;
        friend bool operator==(const ExportFailed&, const ExportFailed&) = default;
    };
    struct SelectApp {
        friend bool operator==(const SelectApp&, const SelectApp&) = default;
    };
    using Case = std::variant<SelectFileFormat, SelectLocationURL, ExportInProgress, ExportComplete, ExportCompleteWithFailures, ExportFailed, SelectApp>;

    template <class C>
        requires std::is_constructible_v<Case, C>
    ExportToFileVState(C value) // NOLINT: each case stands for the state
        : m_case(std::move(value))
    {
    }

    const Case& value() const { return m_case; }
    template <class C>
    const C* as() const { return std::get_if<C>(&m_case); }
    template <class C>
    bool is() const { return std::holds_alternative<C>(m_case); }

    // The format the state carries (a report's for the report states), and its app (the chosen one
    // while a format is chosen).
    std::optional<Shared::ExporterFileFormat> fileFormat() const;
    std::optional<Shared::ExporterApp> app() const;

    friend bool operator==(const ExportToFileVState&, const ExportToFileVState&) = default;

private:
    Case m_case;
};

} // namespace Corvendale
