#include "Basalwork/Interface/Difference.hpp"

namespace Basalwork {

namespace {

struct Describer {
    std::string operator()(const Difference::Removed& c) const { return ".removed(from: " + std::to_string(c.from) + ")"; }
    std::string operator()(const Difference::Inserted& c) const { return ".inserted(at: " + std::to_string(c.at) + ")"; }
    std::string operator()(const Difference::Moved& c) const
    {
        return ".moved(from: " + std::to_string(c.from) + ", to: " + std::to_string(c.to) + ")";
    }
    std::string operator()(const Difference::UpdatedInPlace& c) const
    {
        return ".updatedInPlace(at: " + std::to_string(c.at) + ")";
    }
};

} // namespace

std::string Difference::description() const
{
    return std::visit(Describer {}, m_case);
}

} // namespace Basalwork
