#include "Platform/CloudKit/CKServerChangeToken.hpp"

#include "Platform/Foundation/NSCoder.hpp"

namespace CloudKit {
namespace {

[[maybe_unused]] const bool registered = [] {
    Foundation::registerCodingClass<CKServerChangeToken>("CKServerChangeToken");
    return true;
}();

} // namespace

void CKServerChangeToken::encode(Foundation::NSCoder& coder) const
{
    coder.encodeData(m_payload, "payload");
}

std::shared_ptr<CKServerChangeToken> CKServerChangeToken::withCoder(Foundation::NSCoder& coder)
{
    auto payload = coder.decodeData("payload");
    if (!payload)
        return nullptr;
    return Foundation::make<CKServerChangeToken>(std::move(*payload));
}

std::shared_ptr<CKServerChangeToken> CKServerChangeToken::withPayload(Foundation::Data payload)
{
    return Foundation::make<CKServerChangeToken>(std::move(payload));
}

std::string CKServerChangeToken::description() const
{
    return "<CKServerChangeToken: " + std::to_string(m_payload.count()) + " bytes>";
}

} // namespace CloudKit
