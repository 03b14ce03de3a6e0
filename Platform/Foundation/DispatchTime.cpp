#include "Platform/Foundation/DispatchTime.hpp"

#include "Platform/Foundation/Clock.hpp"

namespace Foundation {

DispatchTime DispatchTime::now()
{
    return {Clock::uptime()};
}

} // namespace Foundation
