#pragma once

#include <functional>
#include <memory>

namespace UIKit {
class UIActivityViewController;
}

namespace Basalwork {
class PresentationSource;
}

namespace Shared {
class PasteboardCoordinator;
}

namespace Corvendale {

// Readies a share sheet of what the program shares (an item's texts, a decrypted file) as a pop-over at
// the source: what its Copy puts on the clipboard is a secret like every copy of the program's own,
// concealed and cleared when the clipboard preference says. `onEnd` runs once, however the sheet ends.
void prepareForSharing(UIKit::UIActivityViewController& sheet, const Basalwork::PresentationSource& presentationSource,
                       const std::shared_ptr<Shared::PasteboardCoordinator>& pasteboardCoordinator, std::function<void()> onEnd = {});

} // namespace Corvendale
