#include "Basalwork/Base/Progress.hpp"

#include <algorithm>
#include <limits>

namespace Basalwork {

void incrementCompletedUnitCount(Foundation::Progress& progress)
{
    std::int64_t completed = progress.completedUnitCount();
    // Counting on past the largest count would overflow.
    if (completed < std::numeric_limits<std::int64_t>::max())
        ++completed;
    std::int64_t total = progress.totalUnitCount();
    if (total >= 0)
        completed = std::clamp<std::int64_t>(completed, 0, total);
    progress.setCompletedUnitCount(completed);
}

void complete(Foundation::Progress& progress)
{
    progress.setCompletedUnitCount(progress.totalUnitCount());
}

bool isNotCancelled(const Foundation::Progress& progress)
{
    return !progress.isCancelled();
}

} // namespace Basalwork
