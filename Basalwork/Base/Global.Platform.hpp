#pragma once

#include "Basalwork/Base/Global.hpp"

namespace Basalwork {

// The platform a build is made for, and the version tests and wording that depend on it. Versions are the
// interface-compatible numbering the system reports (17.0 on macOS 14, 26.0 on macOS 26).
class Global::Platform {
public:
    enum class Case { iOS, macOS };
    static constexpr Case iOS = Case::iOS;
    static constexpr Case macOS = Case::macOS;

    constexpr Platform(Case value) // NOLINT(google-explicit-constructor): a case is a platform
        : m_case(value)
    {
    }
    constexpr Case value() const { return m_case; }

    bool isiOS() const { return m_case == Case::iOS; }
    bool isMacOS() const { return m_case == Case::macOS; }
    bool isiOS17OrHigher() const;
    bool isiOS18OrHigher() const;
    bool isiOS26OrHigher() const;
    bool isMacOS13OrHigher() const;
    bool isMacOS14OrHigher() const;
    bool isMacOS14_4OrHigher() const;
    bool isMacOS15OrHigher() const;
    bool isMacOS26OrHigher() const;
    bool isiOS17OrMacOS14OrHigher() const;
    bool isiOS17OrMacOS14_4OrHigher() const;
    bool isiOS18OrMacOS15OrHigher() const;
    bool isiOS26OrMacOS26OrHigher() const;

    Foundation::String tapOrClick() const;
    Foundation::String settingsOrPreferences() const;
    Foundation::String systemSettingsAppName() const;

    friend constexpr bool operator==(Platform, Platform) = default;

private:
    Case m_case;
};

} // namespace Basalwork

template <>
struct std::hash<Basalwork::Global::Platform> {
    std::size_t operator()(Basalwork::Global::Platform platform) const
    {
        return static_cast<std::size_t>(platform.value());
    }
};
