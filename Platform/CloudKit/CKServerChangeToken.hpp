#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/NSCoding.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <memory>
#include <string>

namespace CloudKit {

// Where a fetch of a zone's changes got to. Opaque to callers, who keep it (coded with a keyed
// archiver) and hand it back to fetch what changed since.
class CKServerChangeToken : public Foundation::NSObject, public Foundation::NSCoding {
public:
    void encode(Foundation::NSCoder& coder) const override;
    static std::shared_ptr<CKServerChangeToken> withCoder(Foundation::NSCoder& coder);

    std::string description() const override;
    // isEqual: two tokens are equal when they stand for the same point.
    bool isEqual(const CKServerChangeToken& other) const { return m_payload == other.m_payload; }

    // For the service only.
    const Foundation::Data& payload() const { return m_payload; }
    static std::shared_ptr<CKServerChangeToken> withPayload(Foundation::Data payload);

protected:
    friend Foundation::Construct;
    explicit CKServerChangeToken(Foundation::Data payload)
        : m_payload(std::move(payload))
    {
    }

private:
    Foundation::Data m_payload;
};

} // namespace CloudKit
