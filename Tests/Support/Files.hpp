#pragma once

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>

namespace TestSupport {

// The names in a directory, sorted: what a test compares to be sure nothing else was left behind.
inline std::vector<std::string> entryNames(const std::filesystem::path& directory)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline void writeText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string readText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Everything under `root` that is not its owner's alone, with its mode: files must be 0600 and folders 0700.
inline std::vector<std::string> entriesOpenToOthers(const std::filesystem::path& root)
{
    namespace fs = std::filesystem;
    std::vector<std::string> open;
    auto check = [&](const fs::path& path) {
        auto status = fs::symlink_status(path);
        auto expected = fs::is_directory(status) ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write;
        auto mode = status.permissions() & fs::perms::all;
        if (!fs::is_symlink(status) && mode != expected) {
            char octal[8];
            std::snprintf(octal, sizeof octal, "%03o", static_cast<unsigned>(mode));
            open.push_back(fs::relative(path, root.parent_path()).string() + " " + octal);
        }
    };
    check(root);
    for (const auto& entry : fs::recursive_directory_iterator(root))
        check(entry.path());
    std::sort(open.begin(), open.end());
    return open;
}

// A umask while it lives.
class Umask {
public:
    explicit Umask(mode_t mask)
        : m_previous(::umask(mask))
    {
    }
    ~Umask() { ::umask(m_previous); }
    Umask(const Umask&) = delete;
    Umask& operator=(const Umask&) = delete;

private:
    mode_t m_previous;
};

// Files may not grow past `bytes` while it lives; a write past the limit fails instead of killing.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }

private:
    rlimit m_previous {};
    void (*m_previousHandler)(int) = nullptr;
};

} // namespace TestSupport
