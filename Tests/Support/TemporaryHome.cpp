#include "Tests/Support/TemporaryHome.hpp"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace TestSupport {

TemporaryHome::TemporaryHome()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "corvendale-home-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("Could not create a temporary home folder");
    m_path = pattern;

    const std::map<std::string, std::filesystem::path> variables {
        {"HOME", m_path},
        {"XDG_DATA_HOME", m_path / ".local/share"},
        {"XDG_CACHE_HOME", m_path / ".cache"},
        {"XDG_CONFIG_HOME", m_path / ".config"},
        {"XDG_STATE_HOME", m_path / ".local/state"},
        {"TMPDIR", m_path / "tmp"},
    };
    for (const auto& [name, value] : variables) {
        const char* previous = std::getenv(name.c_str());
        m_previous[name] = previous ? std::optional<std::string>(previous) : std::nullopt;
        std::filesystem::create_directories(value);
        setenv(name.c_str(), value.c_str(), 1);
    }
}

TemporaryHome::~TemporaryHome()
{
    for (const auto& [name, value] : m_previous) {
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

} // namespace TestSupport
