#pragma once

#include "Basalwork/Base/File.Location.hpp"

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/String.hpp"

#include <utility>
#include <variant>

namespace Syncwright {

// Where a persistent container's store lives: a file "<filename>.sqlite" in a location's folder, or
// in memory.
class PersistentContainerStoreType : public Foundation::Enumeration<PersistentContainerStoreType> {
public:
    struct InMemory { };
    struct OnDisk {
        Basalwork::File::Location location;
        Foundation::String filename;
    };
    // Cases in declared order.
    using Case = std::variant<InMemory, OnDisk>;

    static PersistentContainerStoreType inMemory() { return PersistentContainerStoreType(InMemory {}); }
    static PersistentContainerStoreType onDisk(Basalwork::File::Location location, Foundation::String filename)
    {
        return PersistentContainerStoreType(OnDisk {std::move(location), std::move(filename)});
    }

    const Case& value() const { return m_case; }

private:
    explicit PersistentContainerStoreType(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Syncwright
