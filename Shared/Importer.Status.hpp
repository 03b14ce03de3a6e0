#pragma once

#include "Shared/Importer.Report.hpp"

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/Progress.hpp"

#include <memory>
#include <variant>

namespace Shared {

// Where the importer stands (Importer::Status). Cases in declared order: running, finished, failed, idle.
class ImporterStatus {
public:
    struct InProgress {
        ImporterFileFormat fileFormat;
        std::shared_ptr<Foundation::Progress> progress;
    };
    struct Completed {
        ImporterReport report;
    };
    struct Failed {
        ImporterFileFormat fileFormat;
        Foundation::ErrorPtr error;
    };
    struct Idle { };
    using Case = std::variant<InProgress, Completed, Failed, Idle>;

    static ImporterStatus inProgress(ImporterFileFormat format, std::shared_ptr<Foundation::Progress> progress)
    {
        return ImporterStatus(InProgress {format, std::move(progress)});
    }
    static ImporterStatus completed(ImporterReport report) { return ImporterStatus(Completed {std::move(report)}); }
    static ImporterStatus failed(ImporterFileFormat format, Foundation::ErrorPtr error) { return ImporterStatus(Failed {format, std::move(error)}); }
    static ImporterStatus idle() { return ImporterStatus(Idle {}); }

    const Case& value() const { return m_case; }
    template <class C>
    const C* as() const { return std::get_if<C>(&m_case); }
    template <class C>
    bool is() const { return std::holds_alternative<C>(m_case); }
    std::int64_t caseIndex() const { return static_cast<std::int64_t>(m_case.index()); }

private:
    explicit ImporterStatus(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Shared
