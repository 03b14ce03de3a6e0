#pragma once

#include "Platform/Foundation/String.hpp"

#include <optional>

namespace Syncwright {

// Tells which iCloud account the local records belong to, so that a sync never mixes two accounts.
class iCloudAccountRequiring {
public:
    virtual ~iCloudAccountRequiring() = default;

    // Nothing: the records belong to no account yet (whoever is signed in takes them).
    virtual std::optional<Foundation::String> ckAccountIDAssociatedWithCurrentRecords() = 0;
};

} // namespace Syncwright
