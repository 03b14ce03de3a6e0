#pragma once

#include "Platform/Foundation/String.hpp"

#include <vector>

namespace Shared {

// What the tag store needs of the record store.
class TagRecordSource {
public:
    virtual ~TagRecordSource() = default;
    // Every tag of the items not in the trash; throws when the records cannot be read.
    virtual std::vector<Foundation::String> tagsInUse() const = 0;
};

} // namespace Shared
