#pragma once

#include "Platform/Foundation/Progress.hpp"

namespace Basalwork {

// One more unit done. A known total (not negative) bounds the count to 0...total; an indeterminate
// progress counts on.
void incrementCompletedUnitCount(Foundation::Progress& progress);
// All units done.
void complete(Foundation::Progress& progress);
bool isNotCancelled(const Foundation::Progress& progress);

} // namespace Basalwork
