#pragma once

#include "Tests/Shared/Syncwright/Installation.hpp"
#include "Tests/Support/Files.hpp"

#include "Platform/CloudKit/DatabaseFolder.hpp"
#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/JSONDecoder.hpp"
#include "Platform/Foundation/JSONEncoder.hpp"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace SyncwrightTests {

// What an installation's process answers: the text of what it threw, or the status its sync ended with
// and its notes afterwards.
struct Summary {
    std::optional<std::string> thrown;
    std::string status;
    bool upToDate = false;
    std::optional<std::map<std::string, std::string>> notes;
    std::vector<std::string> deletedZones;
    // The container's files the process opened.
    std::int64_t filesRead = 0;

    static Summary throwing(std::string what)
    {
        Summary summary;
        summary.thrown = std::move(what);
        return summary;
    }
    // For failure messages.
    std::string description() const
    {
        if (thrown)
            return "thrown: " + *thrown;
        std::string text = status + (upToDate ? " (up to date)" : "") + ", notes:";
        for (const auto& [id, note] : notes.value_or(std::map<std::string, std::string> {}))
            text += " " + id + "=" + note;
        for (const auto& zone : deletedZones)
            text += ", deleted zone " + zone;
        return text;
    }

    void encode(Foundation::Encoder& encoder) const
    {
        auto container = encoder.container();
        container.encodeIfPresent(thrown, "thrown");
        container.encode(status, "status");
        container.encode(upToDate, "upToDate");
        container.encodeIfPresent(notes, "notes");
        container.encode(deletedZones, "deletedZones");
        container.encode(filesRead, "filesRead");
    }
    static Summary decode(Foundation::Decoder& decoder)
    {
        auto container = decoder.container();
        return {container.decodeIfPresent<std::string>("thrown"), container.decode<std::string>("status"), container.decode<bool>("upToDate"),
                container.decodeIfPresent<std::map<std::string, std::string>>("notes"), container.decode<std::vector<std::string>>("deletedZones"),
                container.decode<std::int64_t>("filesRead")};
    }
};

// An installation on a machine of its own: its state, its store and its copy of the container all live
// in its folder, and every run of it is a process of its own, as a program started again would be.
class SeparateInstallation {
public:
    explicit SeparateInstallation(std::filesystem::path root)
        : m_root(std::move(root))
    {
        for (const char* sub : {"state", "store", "containers", "config", "data"})
            std::filesystem::create_directories(m_root / sub);
    }

    const std::filesystem::path& root() const { return m_root; }
    std::filesystem::path containers() const { return m_root / "containers"; }
    std::filesystem::path batches() const { return containers() / Installation::containerIdentifier / "_localAccount" / "Batches"; }

    // Runs `body` with the installation in a new process; gives back what it answered, or the text of
    // what it threw.
    Summary run(const std::function<Summary(Installation&)>& body) const
    {
        auto encoded = [](const Summary& summary) { return std::string(Foundation::make<Foundation::JSONEncoder>()->encode(summary).view()); };
        auto answer = inOwnProcess([&] {
            try {
                Installation installation(m_root / "store");
                return encoded(body(installation));
            } catch (const Foundation::Error& error) {
                return encoded(Summary::throwing(error.description()));
            } catch (const std::exception& error) {
                return encoded(Summary::throwing(error.what()));
            }
        });
        try {
            return Foundation::make<Foundation::JSONDecoder>()->decode<Summary>(Foundation::Data::fromString(answer));
        } catch (const Foundation::Error&) {
            return Summary::throwing("the installation's process ended without an answer");
        }
    }

    // Runs `body` in a new process with this installation's folders for its state, settings, data and
    // container; gives back the text it answered (empty when it ended without one).
    std::string inOwnProcess(const std::function<std::string()>& body) const
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return {};
        pid_t child = ::fork();
        if (child == 0) {
            ::close(fds[0]);
            ::setenv("XDG_STATE_HOME", (m_root / "state").c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
            ::setenv("XDG_DATA_HOME", (m_root / "data").c_str(), 1);
            ::setenv("CORVENDALE_CLOUDKIT_FOLDER", containers().c_str(), 1);
            std::string answer;
            try {
                answer = body();
            } catch (...) {
                ::_exit(1);
            }
            for (std::size_t written = 0; written < answer.size();) {
                auto got = ::write(fds[1], answer.data() + written, answer.size() - written);
                if (got <= 0)
                    ::_exit(1);
                written += static_cast<std::size_t>(got);
            }
            ::_exit(0);
        }
        ::close(fds[1]);
        std::string answer;
        char buffer[4096];
        for (ssize_t got; (got = Foundation::FileIO::readSome(fds[0], buffer, sizeof buffer)) > 0;)
            answer.append(buffer, static_cast<std::size_t>(got));
        ::close(fds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        return answer;
    }

    // One sync; answers the status it ended with and the notes afterwards.
    Summary sync(const std::function<void(Installation&)>& before = {}) const
    {
        return run([&](Installation& installation) {
            if (before)
                before(installation);
            installation.sync();
            return summary(installation);
        });
    }

    static Summary summary(Installation& installation)
    {
        auto status = installation.delegate->lastStatus();
        Summary summary {std::nullopt, status.description(), status.is<SyncStatus::UpToDate>(), installation.notes(), {},
                         static_cast<std::int64_t>(CloudKit::DatabaseFolder::filesRead())};
        std::lock_guard lock(installation.delegate->mutex);
        for (const auto& zone : installation.delegate->deletedZones)
            summary.deletedZones.push_back(zone.zoneName().utf8());
        return summary;
    }

private:
    std::filesystem::path m_root;
};

// A file-sync tool between installations' container folders: it copies each file beside its place under
// a hidden name and renames it there, and can damage a file on the way or lose one.
class SyncTool {
public:
    using Damage = std::function<void(std::string& bytes)>;

    // Brings every file of `from` that `to` lacks or holds otherwise; `damage` spoils those whose name
    // it names on the way.
    static void carry(const SeparateInstallation& from, const SeparateInstallation& to, const std::map<std::string, Damage>& damage = {})
    {
        namespace fs = std::filesystem;
        for (const auto& entry : fs::recursive_directory_iterator(from.containers())) {
            if (!entry.is_regular_file())
                continue;
            auto name = entry.path().filename().string();
            if (name.starts_with("."))
                continue;
            auto relative = fs::relative(entry.path(), from.containers());
            auto target = to.containers() / relative;
            // A copy spoiled on the way is carried no further; a whole one replaces it.
            if (damagedCopies().contains(entry.path().string()))
                continue;
            auto bytes = TestSupport::readText(entry.path());
            bool spoiled = false;
            if (auto spoil = damage.find(name); spoil != damage.end()) {
                spoil->second(bytes);
                spoiled = true;
            }
            if (fs::exists(target) && TestSupport::readText(target) == bytes)
                continue;
            if (spoiled)
                damagedCopies().insert(target.string());
            else
                damagedCopies().erase(target.string());
            fs::create_directories(target.parent_path());
            auto hidden = target.parent_path() / (".sync-" + name);
            TestSupport::writeText(hidden, bytes);
            fs::rename(hidden, target);
        }
    }

    static std::set<std::string>& damagedCopies()
    {
        static std::set<std::string> paths;
        return paths;
    }

    static Damage cutInHalf()
    {
        return [](std::string& bytes) { bytes.resize(bytes.size() / 2); };
    }
    static Damage flipBit(std::size_t offset, int bit)
    {
        return [=](std::string& bytes) { bytes[offset % bytes.size()] ^= static_cast<char>(1 << bit); };
    }
};

// The batches in a folder, oldest sequence of each device first.
inline std::vector<std::string> batchNames(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& name : TestSupport::entryNames(folder)) {
        if (name.ends_with(".batch"))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& lhs, const std::string& rhs) {
        auto dash = [](const std::string& name) { return name.rfind('-'); };
        auto device = [&](const std::string& name) { return name.substr(0, dash(name)); };
        auto sequence = [&](const std::string& name) { return std::stoll(name.substr(dash(name) + 1)); };
        return std::make_pair(device(lhs), sequence(lhs)) < std::make_pair(device(rhs), sequence(rhs));
    });
    return names;
}

} // namespace SyncwrightTests
