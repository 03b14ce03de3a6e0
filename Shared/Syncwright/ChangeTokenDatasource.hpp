#pragma once

#include "Shared/Syncwright/CKServerChangeToken.Key.hpp"

#include <memory>

namespace CloudKit {
class CKServerChangeToken;
}

namespace Syncwright {

// Keeps the remote's change tokens with the records they describe (`CloudKitChangeToken`), so that
// the two are reset together. Requirements may throw; the sync then fails with the error.
class ChangeTokenDatasource {
public:
    virtual ~ChangeTokenDatasource() = default;

    // Nothing: fetch from the start.
    virtual std::shared_ptr<CloudKit::CKServerChangeToken> changeToken(CKServerChangeToken::Key key) = 0;
    // Nothing forgets the token.
    virtual void setChangeToken(const std::shared_ptr<CloudKit::CKServerChangeToken>& token, CKServerChangeToken::Key key) = 0;
};

} // namespace Syncwright
