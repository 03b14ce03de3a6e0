#pragma once

#include "Basalwork/Base/File.Location.hpp"

#include "Platform/CoreData/NSPersistentContainer.hpp"
#include "Platform/Foundation/Enumeration.hpp"

#include <variant>

namespace Syncwright {

// A persistent container whose store lives where its store type says: a file "<filename>.sqlite" in a
// location's folder, or in memory.
class PersistentContainer : public CoreData::NSPersistentContainer {
public:
    class StoreType : public Foundation::Enumeration<StoreType> {
    public:
        struct InMemory { };
        struct OnDisk {
            Basalwork::File::Location location;
            Foundation::String filename;
        };
        // Cases in declared order.
        using Case = std::variant<InMemory, OnDisk>;

        static StoreType inMemory() { return StoreType(InMemory {}); }
        static StoreType onDisk(Basalwork::File::Location location, Foundation::String filename)
        {
            return StoreType(OnDisk {std::move(location), std::move(filename)});
        }

        const Case& value() const { return m_case; }

    private:
        explicit StoreType(Case value)
            : m_case(std::move(value))
        {
        }
        Case m_case;
    };

    // Opens the store, creating its folder and file when missing; `timeout` is how many seconds it waits
    // for another process's lock. Throws when the location cannot be resolved or the store not opened.
    void loadPersistentStore(const StoreType& storeType, double timeout = 10);

protected:
    friend Foundation::Construct;
    PersistentContainer(Foundation::String name, std::shared_ptr<CoreData::NSManagedObjectModel> model);
};

} // namespace Syncwright
