#include "Basalwork/Base/GeneralError.hpp"

#include "Platform/Foundation/Describe.hpp"

namespace Basalwork {

namespace {

struct Describer {
    std::string operator()(const GeneralError::FailedWithMessage& c) const
    {
        return "failedWithMessage(" + Foundation::debugQuoted(c.message.view()) + ")";
    }
    std::string operator()(const GeneralError::Failed& c) const
    {
        std::string list;
        for (const auto& error : c.withErrors)
            list += (list.empty() ? "" : ", ") + (error ? error->description() : std::string("nil"));
        return "failed(withErrors: [" + list + "])";
    }
    std::string operator()(const GeneralError::FailedToEncodeUTF8String& c) const
    {
        return "failedToEncodeUTF8String(" + Foundation::debugQuoted(c.string.view()) + ")";
    }
    std::string operator()(const GeneralError::FailedToDecodeUTF8StringFromData& c) const
    {
        return "failedToDecodeUTF8StringFromData(" + c.data.description() + ")";
    }
    std::string operator()(const GeneralError::FailedToUnarchive& c) const
    {
        return "failedToUnarchive(type: " + Foundation::debugQuoted(c.type.view()) + ", fromData: " + c.fromData.description() + ")";
    }
    std::string operator()(const GeneralError::NoResult&) const { return "noResult"; }
    std::string operator()(const GeneralError::UserDidCancel&) const { return "userDidCancel"; }
};

} // namespace

std::string GeneralError::description() const
{
    return std::visit(Describer {}, m_case);
}

} // namespace Basalwork
