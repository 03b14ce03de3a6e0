#pragma once

#include "Shared/Screens/ProcessingAction.hpp"

#include <functional>

namespace Shared {

// Shows a slow job's progress while it runs. A view controller adopting it needs nothing more: by
// default it presents a `ProcessingActionVC` over itself and dismisses it again. Any other adopter
// shows nothing unless it overrides, and its callbacks run at once.
class ProcessingActionPresenting {
public:
    virtual ~ProcessingActionPresenting() = default;

    // `onPresentation` runs once the progress shows; the job starts there.
    virtual void didStartProcessing(const ProcessingAction& action, std::function<void()> onPresentation);
    // `onDismissal` runs once the progress is gone, also when none was showing.
    virtual void didFinishProcessing(std::function<void()> onDismissal);
};

} // namespace Shared
