#pragma once

#include "Platform/Foundation/Enumeration.hpp"

#include <cstdint>
#include <string>
#include <variant>

namespace Basalwork {

// One step of turning an old list into a new one. Old indices count in the old list, new indices in the
// new one, as a table's batch update reads them.
class Difference : public Foundation::Enumeration<Difference> {
public:
    struct Removed {
        std::int64_t from;
        friend bool operator==(const Removed&, const Removed&) = default;
    };
    struct Inserted {
        std::int64_t at;
        friend bool operator==(const Inserted&, const Inserted&) = default;
    };
    struct Moved {
        std::int64_t from;
        std::int64_t to;
        friend bool operator==(const Moved&, const Moved&) = default;
    };
    // The element at this new index is the same row as before, with changed content.
    struct UpdatedInPlace {
        std::int64_t at;
        friend bool operator==(const UpdatedInPlace&, const UpdatedInPlace&) = default;
    };
    using Case = std::variant<Removed, Inserted, Moved, UpdatedInPlace>;

    static Difference removed(std::int64_t from) { return Difference(Removed {from}); }
    static Difference inserted(std::int64_t at) { return Difference(Inserted {at}); }
    static Difference moved(std::int64_t from, std::int64_t to) { return Difference(Moved {from, to}); }
    static Difference updatedInPlace(std::int64_t at) { return Difference(UpdatedInPlace {at}); }

    const Case& value() const { return m_case; }

    // ".moved(from: 2, to: 0)"
    std::string description() const;

    friend bool operator==(const Difference&, const Difference&) = default;

private:
    explicit Difference(Case value)
        : m_case(value)
    {
    }
    Case m_case;
};

} // namespace Basalwork
