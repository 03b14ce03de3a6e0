#pragma once

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/String.hpp"

#include <variant>

namespace Basalwork {

// Why a CSV file could not be read into labelled rows. The import screen tells a missing required label
// apart from every other failure and shows the label.
class CSVParserError : public Foundation::ErrorOf<CSVParserError>, public Foundation::Enumeration<CSVParserError> {
public:
    struct FailedToAccessRequiredColumnLabel {
        Foundation::String label;
        friend bool operator==(const FailedToAccessRequiredColumnLabel&, const FailedToAccessRequiredColumnLabel&) = default;
    };
    // No header row, or an empty one.
    struct FailedToAccessColumnLabels {
        friend bool operator==(const FailedToAccessColumnLabels&, const FailedToAccessColumnLabels&) = default;
    };
    struct OneOrMoreRowsHaveMoreValuesThanColumnLabels {
        friend bool operator==(const OneOrMoreRowsHaveMoreValuesThanColumnLabels&, const OneOrMoreRowsHaveMoreValuesThanColumnLabels&) = default;
    };
    struct OneOrMoreRowsHaveFewerValuesThanColumnLabels {
        friend bool operator==(const OneOrMoreRowsHaveFewerValuesThanColumnLabels&, const OneOrMoreRowsHaveFewerValuesThanColumnLabels&) = default;
    };
    // Cases in declared order; the payload case comes first, so the index is also the bridged code.
    using Case = std::variant<FailedToAccessRequiredColumnLabel, FailedToAccessColumnLabels,
                              OneOrMoreRowsHaveMoreValuesThanColumnLabels, OneOrMoreRowsHaveFewerValuesThanColumnLabels>;

    static CSVParserError failedToAccessRequiredColumnLabel(Foundation::String label)
    {
        return CSVParserError(FailedToAccessRequiredColumnLabel {std::move(label)});
    }
    static CSVParserError failedToAccessColumnLabels() { return CSVParserError(FailedToAccessColumnLabels {}); }
    static CSVParserError oneOrMoreRowsHaveMoreValuesThanColumnLabels()
    {
        return CSVParserError(OneOrMoreRowsHaveMoreValuesThanColumnLabels {});
    }
    static CSVParserError oneOrMoreRowsHaveFewerValuesThanColumnLabels()
    {
        return CSVParserError(OneOrMoreRowsHaveFewerValuesThanColumnLabels {});
    }

    const Case& value() const { return m_case; }

    std::string domain() const override { return "Basalwork.CSVParserError"; }
    std::int64_t code() const override { return index(); }
    std::string description() const override;

private:
    explicit CSVParserError(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Basalwork
