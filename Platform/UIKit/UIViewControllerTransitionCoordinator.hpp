#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <functional>
#include <memory>
#include <vector>

namespace UIKit {

// What a controller is given when its size or traits are about to change: animations to run along with
// the change, and work for when it is over. Nothing moves, so the alongside blocks run as soon as the
// change is applied and the completions on the next turn of the main loop.
class UIViewControllerTransitionCoordinator : public Foundation::NSObject {
public:
    using Block = std::function<void(const std::shared_ptr<UIViewControllerTransitionCoordinator>&)>;

    // animate(alongsideTransition:completion:); true: the blocks will run.
    bool animate(Block alongsideTransition, Block completion = nullptr);
    bool isAnimated() const { return false; }
    double transitionDuration() const { return 0; }

    // The one who makes the change: after applying it, then on the next turn.
    void runAlongside();
    void complete();

protected:
    friend Foundation::Construct;
    UIViewControllerTransitionCoordinator() = default;

private:
    std::vector<Block> m_alongside;
    std::vector<Block> m_completions;
};

} // namespace UIKit
