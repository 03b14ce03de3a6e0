#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace TestSupport {

// 2026-01-01 00:00:00 UTC, where every test's manual clock starts.
inline constexpr double referenceTestDate = 788918400.0;

// A fresh folder that stands in for the user's home: HOME, XDG_DATA_HOME, XDG_CACHE_HOME,
// XDG_CONFIG_HOME, XDG_STATE_HOME and TMPDIR point into it while the object lives. The previous values
// come back, and the folder is removed, when it goes.
class TemporaryHome {
public:
    TemporaryHome();
    ~TemporaryHome();
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
    std::map<std::string, std::optional<std::string>> m_previous;
};

} // namespace TestSupport
