#pragma once

#include "Platform/Foundation/String.hpp"

#include <optional>

namespace Foundation {
class URL;
}

namespace Shared {

// What a URL the system hands the program is, tried in this order by whoever routes it.

// A file of a kind the importer reads (by its extension, whatever its case).
bool isImportableFileURL(const Foundation::URL& url);
// A folder on this machine (an attachments folder for an import).
bool isFolder(const Foundation::URL& url);
// A backup file this program wrote.
bool isCorvendaleBackupURL(const Foundation::URL& url);
// An item shared in plain text ("corvendale://share?...").
bool isCorvendaleShareURL(const Foundation::URL& url);
// A one-time-password set-up link ("otpauth://totp/...").
bool isOTPAuthURL(const Foundation::URL& url);

// What a set-up link names, each only when present and not blank: the service (the label's issuer
// prefix, else the issuer parameter), the account (the label's user name) and the issuer (the issuer
// parameter, else the label's prefix). Nothing for a URL that is not a set-up link.
std::optional<Foundation::String> otpAuthServiceName(const Foundation::URL& url);
std::optional<Foundation::String> otpAuthUsername(const Foundation::URL& url);
std::optional<Foundation::String> otpAuthIssuer(const Foundation::URL& url);

} // namespace Shared
