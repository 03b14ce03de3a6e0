#pragma once

#include <memory>

namespace Foundation {
class Bundle;
class NSObject;
} // namespace Foundation

namespace Shared {
class PreferenceStore;
} // namespace Shared

namespace Corvendale {

// The desktop bridge that the plug-in "Ostravane.bundle" offers: an object reached by messages only.
// The loader answers its shared object, or none when the plug-in is missing, does not load, or its
// principal class does not answer "sharedAppKitBridge"; a plug-in that is there but damaged is reported
// with one error in the log. Every user skips what needs the bridge; the messages below do nothing
// without one.
std::shared_ptr<Foundation::NSObject> loadAppKitBridge(Foundation::Bundle& bundle);

namespace AppKitBridge {
void setupWindowManagement(const std::shared_ptr<Foundation::NSObject>& bridge);
// False without a bridge.
bool isMainWindowPinned(const std::shared_ptr<Foundation::NSObject>& bridge);
void setIsMainWindowPinned(const std::shared_ptr<Foundation::NSObject>& bridge, bool pinned);
void quitApplication(const std::shared_ptr<Foundation::NSObject>& bridge);
// Flips the main window's pin and keeps what the bridge reads back; without a bridge, keeps it unpinned.
void toggleMainWindowPinning(const std::shared_ptr<Foundation::NSObject>& bridge, Shared::PreferenceStore& preferences);
} // namespace AppKitBridge

} // namespace Corvendale
