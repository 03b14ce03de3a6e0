#include "Shared/Syncwright/PushedModification.hpp"

namespace Syncwright {

const std::shared_ptr<CloudKit::CKRecord>& PushedModification::ckRecord() const
{
    if (const auto* saved = as<Saved>())
        return saved->serverRecord;
    if (const auto* conflicted = as<Conflicted>())
        return conflicted->serverRecord ? conflicted->serverRecord : conflicted->clientRecord;
    return as<Failed>()->clientRecord;
}

} // namespace Syncwright
