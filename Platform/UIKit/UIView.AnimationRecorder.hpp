#pragma once

#include "Platform/UIKit/UIView.hpp"

#include <memory>
#include <vector>

namespace UIKit {

// Nothing moves on a headless screen, so a test that cares how a view animates installs a recorder for
// as long as it lives; every animation and transition started meanwhile is recorded, oldest first. The
// newest recorder installed records; it must be removed (destroyed) before the ones installed earlier.
// Main thread only, as all of the view tree.
class UIView::AnimationRecorder {
public:
    struct Animation {
        double duration = 0;
        double delay = 0;
        AnimationOptions options;
        // The view of a transition; none for an animation.
        std::weak_ptr<UIView> transitionView;
    };

    AnimationRecorder();
    ~AnimationRecorder();
    AnimationRecorder(const AnimationRecorder&) = delete;
    AnimationRecorder& operator=(const AnimationRecorder&) = delete;

    const std::vector<Animation>& animations() const { return m_animations; }
    // The newest; fails the program when nothing was recorded.
    const Animation& last() const;

private:
    friend class UIView;
    static void record(Animation animation);

    std::vector<Animation> m_animations;
    AnimationRecorder* m_outer;
};

} // namespace UIKit
