#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <memory>
#include <optional>

namespace Shared {

class PreferenceStore;
class UserNotificationStore;

// Copies texts to the general pasteboard and takes them away again: after the time the clipboard
// preference chooses, and at termination, but only while the pasteboard still holds what it copied.
// Secrets are marked as concealed and kept local to this device.
class PasteboardCoordinator : public Foundation::NSObject {
public:
    // The marker of concealed content that clipboard managers honour.
    static constexpr const char* concealedType = "org.nspasteboard.ConcealedType";

    void copy(const Foundation::String& text, bool isSensitive);
    // What was just copied to the pasteboard by other means (the share sheet's Copy) is treated as a
    // sensitive copy of this coordinator's: concealed, kept local and cleared when the preference says.
    void adoptPasteboardContent();
    // Clears after `afterSeconds` (0: now); with `onlyIfOwnContent`, only while the pasteboard still holds
    // the last text copied here.
    void clearPasteboard(double afterSeconds, bool onlyIfOwnContent);

protected:
    friend Foundation::Construct;
    PasteboardCoordinator(std::shared_ptr<PreferenceStore> preferenceStore, std::shared_ptr<UserNotificationStore> userNotificationStore);

private:
    void clearNow(bool onlyIfOwnContent);

    std::shared_ptr<PreferenceStore> m_preferenceStore;
    std::optional<std::int64_t> m_ownChangeCount;
};

} // namespace Shared
