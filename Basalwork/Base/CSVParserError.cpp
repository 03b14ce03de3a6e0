#include "Basalwork/Base/CSVParserError.hpp"

#include "Platform/Foundation/Describe.hpp"

namespace Basalwork {
namespace {

struct Describer {
    std::string operator()(const CSVParserError::FailedToAccessRequiredColumnLabel& c) const
    {
        return "failedToAccessRequiredColumnLabel(" + Foundation::debugQuoted(c.label.view()) + ")";
    }
    std::string operator()(const CSVParserError::FailedToAccessColumnLabels&) const { return "failedToAccessColumnLabels"; }
    std::string operator()(const CSVParserError::OneOrMoreRowsHaveMoreValuesThanColumnLabels&) const
    {
        return "oneOrMoreRowsHaveMoreValuesThanColumnLabels";
    }
    std::string operator()(const CSVParserError::OneOrMoreRowsHaveFewerValuesThanColumnLabels&) const
    {
        return "oneOrMoreRowsHaveFewerValuesThanColumnLabels";
    }
};

} // namespace

std::string CSVParserError::description() const
{
    return std::visit(Describer {}, m_case);
}

} // namespace Basalwork
