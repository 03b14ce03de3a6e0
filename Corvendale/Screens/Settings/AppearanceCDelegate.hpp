#pragma once

namespace Corvendale {

// The presenter of the appearance page.
class AppearanceCDelegate {
public:
    virtual ~AppearanceCDelegate() = default;
};

} // namespace Corvendale
