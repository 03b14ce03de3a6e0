#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <cstdint>
#include <memory>

namespace UIKit {

class UIEventDriver;
class UIKey;

// One physical button or key through the phases of being pressed.
class UIPress : public Foundation::NSObject {
public:
    enum class Phase : std::int64_t;

    Phase phase() const { return m_phase; }
    // The keyboard key, when the press comes from a keyboard.
    const std::shared_ptr<UIKey>& key() const { return m_key; }
    // True once the press went past the end of the responder chain: no responder took it, so the
    // keyboard's own behaviour (focus, table selection) may.
    bool passedEndOfResponderChain() const { return m_passedEndOfResponderChain; }

protected:
    friend Foundation::Construct;
    UIPress(Phase phase, std::shared_ptr<UIKey> key)
        : m_phase(phase)
        , m_key(std::move(key))
    {
    }

private:
    friend class UIEventDriver;
    friend class UIApplication;
    friend class UIResponder;
    Phase m_phase;
    std::shared_ptr<UIKey> m_key;
    bool m_passedEndOfResponderChain = false;
};

} // namespace UIKit

#include "Platform/UIKit/UIPress.Phase.hpp"
