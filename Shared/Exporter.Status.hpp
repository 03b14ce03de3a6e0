#pragma once

#include "Shared/Exporter.Report.hpp"

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/Progress.hpp"

#include <memory>
#include <variant>

namespace Shared {

// Where the exporter stands (Exporter::Status). Cases in declared order: running, finished, failed, idle.
class ExporterStatus {
public:
    struct InProgress {
        ExporterFileFormat fileFormat;
        std::shared_ptr<Foundation::Progress> progress;
    };
    struct Completed {
        ExporterReport report;
    };
    struct Failed {
        ExporterFileFormat fileFormat;
        Foundation::ErrorPtr error;
    };
    struct Idle { };
    using Case = std::variant<InProgress, Completed, Failed, Idle>;

    static ExporterStatus inProgress(ExporterFileFormat format, std::shared_ptr<Foundation::Progress> progress)
    {
        return ExporterStatus(InProgress {format, std::move(progress)});
    }
    static ExporterStatus completed(ExporterReport report) { return ExporterStatus(Completed {std::move(report)}); }
    static ExporterStatus failed(ExporterFileFormat format, Foundation::ErrorPtr error) { return ExporterStatus(Failed {format, std::move(error)}); }
    static ExporterStatus idle() { return ExporterStatus(Idle {}); }

    const Case& value() const { return m_case; }
    template <class C>
    const C* as() const { return std::get_if<C>(&m_case); }
    template <class C>
    bool is() const { return std::holds_alternative<C>(m_case); }
    std::int64_t caseIndex() const { return static_cast<std::int64_t>(m_case.index()); }

private:
    explicit ExporterStatus(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Shared
