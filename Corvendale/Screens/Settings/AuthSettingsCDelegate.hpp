#pragma once

namespace Corvendale {

// The presenter of the authentication page: the settings coordinator, which the page also asks to
// leave the settings before it locks.
class AuthSettingsCDelegate {
public:
    virtual ~AuthSettingsCDelegate() = default;
};

} // namespace Corvendale
