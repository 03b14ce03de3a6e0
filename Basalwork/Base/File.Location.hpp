#pragma once

#include "Basalwork/Base/File.hpp"

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <optional>
#include <variant>

namespace Basalwork {

// Where a store keeps its files: a base directory and an optional subdirectory, resolved to a directory
// URL that exists on disk. Resolved afresh on every use; nothing is cached.
class File::Location : public Foundation::Enumeration<File::Location> {
public:
    // Which volume a temporary directory is meant to suit. Resolution does not read it: every
    // temporary location resolves to the file manager's temporary directory.
    class Destination : public Foundation::Enumeration<Destination> {
    public:
        struct Url {
            Foundation::URL url;
        };
        struct PrimaryVolume { };
        using Case = std::variant<Url, PrimaryVolume>;

        static Destination url(Foundation::URL url) { return Destination(Url {std::move(url)}); }
        static Destination primaryVolume() { return Destination(PrimaryVolume {}); }

        const Case& value() const { return m_case; }

    private:
        explicit Destination(Case value)
            : m_case(std::move(value))
        {
        }
        Case m_case;
    };

    struct Permanent {
        std::optional<Foundation::String> subdirectory;
    };
    struct Cache {
        std::optional<Foundation::String> subdirectory;
    };
    struct Temporary {
        Destination suitableFor;
        std::optional<Foundation::String> subdirectory;
    };
    struct AppGroup {
        Foundation::String id;
        std::optional<Foundation::String> subdirectory;
    };
    struct Raw {
        Foundation::String path;
    };
    // Cases in declared order.
    using Case = std::variant<Permanent, Cache, Temporary, AppGroup, Raw>;

    static Location permanent(std::optional<Foundation::String> subdirectory) { return Location(Permanent {std::move(subdirectory)}); }
    static Location cache(std::optional<Foundation::String> subdirectory) { return Location(Cache {std::move(subdirectory)}); }
    static Location temporary(Destination suitableFor, std::optional<Foundation::String> subdirectory)
    {
        return Location(Temporary {std::move(suitableFor), std::move(subdirectory)});
    }
    // On the primary volume.
    static Location temporary(std::optional<Foundation::String> subdirectory)
    {
        return temporary(Destination::primaryVolume(), std::move(subdirectory));
    }
    static Location appGroup(Foundation::String id, std::optional<Foundation::String> subdirectory)
    {
        return Location(AppGroup {std::move(id), std::move(subdirectory)});
    }
    static Location raw(Foundation::String path) { return Location(Raw {std::move(path)}); }

    const Case& value() const { return m_case; }

    // The location's directory, created with its intermediates when missing. A subdirectory that would
    // lead outside the base directory fails with StoreKeyError.invalidSubdirectory before anything is
    // touched; file-manager errors pass through; an app group the system does not know fails with
    // GeneralError.failedWithMessage.
    Foundation::URL url(const Foundation::FileManager& fileManager) const;

private:
    explicit Location(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Basalwork
