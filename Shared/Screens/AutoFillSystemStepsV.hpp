#pragma once

#include "Shared/Screens/AutoFillStepsV.hpp"

namespace Shared {

// How to switch the program's AutoFill on or off in the system's AutoFill service: here the service is
// the `autofill-request` command, which takes the extension's bundle.
class AutoFillSystemStepsV : public AutoFillStepsV {
public:
    enum class Action { enable, disable };

    Action action() const { return m_action; }

protected:
    friend Foundation::Construct;
    explicit AutoFillSystemStepsV(Action action);

private:
    Action m_action;
};

} // namespace Shared
