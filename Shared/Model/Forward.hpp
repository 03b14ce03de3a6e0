#pragma once

// The model's types by name, for headers that only pass them by reference or pointer. Nested names
// (`Entry::Field`) are aliases of the flat ones declared here.

namespace Shared {

class AppExecutionContext;
class AuthenticationState;
class ConcurrentPipeline;
class Entry;
class EntryAttemptState;
class EntryError;
class EntryField;
class EntryFilter;
class EntrySection;
class EntrySubtitleSource;
class PasswordEntryReEntryState;
class TOTP;
class TOTPError;
class TimeStepNotifier;
class TimeStepObserving;
struct Attachment;
struct EntryIndex;
struct EntryPreviousValue;
struct EntryRevision;
struct EntryServiceIdentifier;
struct EntryShareLink;
struct EntrySystemField;
struct Global;
struct PublicSuffixList;
struct Settings;

} // namespace Shared
