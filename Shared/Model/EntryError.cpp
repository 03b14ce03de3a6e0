#include "Shared/Model/EntryError.hpp"

#include "Platform/Foundation/Describe.hpp"

namespace Shared {

namespace {

struct Describer {
    std::string operator()(const EntryError::SectionLimitReached& c) const { return "sectionLimitReached(limit: " + std::to_string(c.limit) + ")"; }
    std::string operator()(const EntryError::SectionNotFound& c) const { return "sectionNotFound(index: " + std::to_string(c.index) + ")"; }
    std::string operator()(const EntryError::FieldLimitReached& c) const { return "fieldLimitReached(limit: " + std::to_string(c.limit) + ")"; }
    std::string operator()(const EntryError::FieldNotFound& c) const
    {
        return "fieldNotFound(section: " + std::to_string(c.section) + ", index: " + std::to_string(c.index) + ")";
    }
    std::string operator()(const EntryError::PreviousValueNotFound& c) const
    {
        return "previousValueNotFound(id: " + Foundation::debugQuoted(c.id.view()) + ")";
    }
};

} // namespace

std::string EntryError::description() const
{
    return std::visit(Describer {}, value());
}

} // namespace Shared
