#pragma once

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/Progress.hpp"

#include <cstdint>
#include <memory>
#include <variant>

namespace Shared {

// Where an import or an export stands. Cases in declared order: running (the format and its
// cancellable progress), finished (the report), failed (the format and the error), idle.
template <class FileFormat, class Report>
class TransferStatus : public Foundation::Enumeration<TransferStatus<FileFormat, Report>> {
public:
    struct InProgress {
        FileFormat fileFormat;
        std::shared_ptr<Foundation::Progress> progress;
    };
    struct Completed {
        Report report;
    };
    struct Failed {
        FileFormat fileFormat;
        Foundation::ErrorPtr error;
    };
    struct Idle { };
    using Case = std::variant<InProgress, Completed, Failed, Idle>;

    static TransferStatus inProgress(FileFormat format, std::shared_ptr<Foundation::Progress> progress)
    {
        return TransferStatus(InProgress {format, std::move(progress)});
    }
    static TransferStatus completed(Report report) { return TransferStatus(Completed {std::move(report)}); }
    static TransferStatus failed(FileFormat format, Foundation::ErrorPtr error) { return TransferStatus(Failed {format, std::move(error)}); }
    static TransferStatus idle() { return TransferStatus(Idle {}); }

    const Case& value() const { return m_case; }

private:
    explicit TransferStatus(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Shared
