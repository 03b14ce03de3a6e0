#pragma once

// The stores and the roles they take by name, for headers that only hold or pass them.

namespace Shared {

class AttachmentDataSource;
class AttachmentDataStore;
class AttachmentObject;
class AuthenticationRecordSource;
class AuthenticationStore;
class AuthenticationStoreError;
class BackupKeySource;
class BackupRecordSource;
class CompletionRecord;
class EntryObject;
class ExporterRecordSource;
class FolderWatcher;
class ImporterRecordSource;
class LocalChangeCoordinator;
class MasterPassword;
class Migrations;
class Onboarding;
class PreferenceStore;
class RecordStore;
class RecordStoreError;
class ReviewRequestStore;
class SyncedObject;
class TagRecordSource;
class TagStore;
class UserNotificationStore;
class Vault;

} // namespace Shared
