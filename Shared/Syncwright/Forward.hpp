#pragma once

// The sync engine's types by name, for headers that only hold or pass them.

namespace Syncwright {

class ChangeTokenDatasource;
class CloudKitChangeToken;
class CloudKitRemote;
class CloudKitRemoteDelegate;
class CloudKitRemoteError;
class FetchOperation;
class FetchOperationDelegate;
class PersistentContainer;
class PersistentContainerStoreType;
class PushOperation;
class PushOperationDelegate;
class PushedModification;
class SetupOperationDelegate;
class SyncOperation;
class SyncOperationDelegate;
class SyncStatus;
class SyncStatusFailure;
class Syncable;
class SyncableType;

} // namespace Syncwright
