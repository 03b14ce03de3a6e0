#include "Basalwork/Base/ImageStoreError.hpp"

#include "Platform/Foundation/Describe.hpp"

namespace Basalwork {
namespace {

struct Describer {
    std::string operator()(const ImageStoreError::FailedToAccessJPEGDataFromUIImageForKey& c) const
    {
        return "failedToAccessJPEGDataFromUIImageForKey(" + Foundation::debugQuoted(c.key.view()) + ")";
    }
    std::string operator()(const ImageStoreError::FailedToAccessUIImageFromImageDataForKey& c) const
    {
        return "failedToAccessUIImageFromImageDataForKey(" + Foundation::debugQuoted(c.key.view()) + ")";
    }
};

} // namespace

std::string ImageStoreError::description() const
{
    return std::visit(Describer {}, m_case);
}

} // namespace Basalwork
