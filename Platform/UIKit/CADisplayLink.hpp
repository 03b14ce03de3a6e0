#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/RunLoop.Mode.hpp"
#include "Platform/Foundation/RunLoop.hpp"

#include <functional>
#include <memory>

namespace Foundation {
class Timer;
}

namespace UIKit {

// Calls its target once per display frame (sixty a second on the clock) once added to a run loop. The
// call holds the target until `invalidate`, as the platform does, so owners must invalidate it.
class CADisplayLink : public Foundation::NSObject {
public:
    static constexpr double frameInterval = 1.0 / 60.0;

    void add(const std::shared_ptr<Foundation::RunLoop>& to, const Foundation::RunLoop::Mode& forMode);
    void invalidate();
    bool isValid() const { return static_cast<bool>(m_target); }

protected:
    friend Foundation::Construct;
    // init(target:selector:): the selector, bound to its target, is the callable.
    explicit CADisplayLink(std::function<void()> target)
        : m_target(std::move(target))
    {
    }

private:
    std::function<void()> m_target;
    std::shared_ptr<Foundation::Timer> m_timer;
};

} // namespace UIKit
