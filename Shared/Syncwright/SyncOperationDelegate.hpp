#pragma once

#include "Shared/Syncwright/ChangeTokenDatasource.hpp"
#include "Shared/Syncwright/FetchOperationDelegate.hpp"
#include "Shared/Syncwright/PushOperationDelegate.hpp"
#include "Shared/Syncwright/SetupOperationDelegate.hpp"
#include "Shared/Syncwright/iCloudAccountRequiring.hpp"

namespace Syncwright {

// Everything a sync asks of its delegate: set-up, push, the account of the records, fetch and change
// tokens. It adds no requirement of its own. The bases are virtual, so a class may name any of them
// beside it (deriving from them `public virtual` too).
class SyncOperationDelegate : public virtual SetupOperationDelegate,
                              public virtual PushOperationDelegate,
                              public virtual iCloudAccountRequiring,
                              public virtual FetchOperationDelegate,
                              public virtual ChangeTokenDatasource {
};

} // namespace Syncwright
