#include "Basalwork/Base/DispatchQueue.hpp"

namespace Basalwork {

void asyncAfter(Foundation::DispatchQueue& queue, double seconds, std::function<void()> completion)
{
    queue.asyncAfter(Foundation::DispatchTime::now() + seconds, std::move(completion));
}

} // namespace Basalwork
