#include "Platform/Foundation/JSONDateStrategy.hpp"

#include "Platform/Foundation/FatalError.hpp"

namespace Foundation {

JSONDateStrategy JSONDateStrategy::formatted(std::shared_ptr<DateFormatter> formatter)
{
    precondition(formatter != nullptr, "A formatted date strategy needs a formatter");
    return JSONDateStrategy(Kind::formatted, std::move(formatter));
}

} // namespace Foundation
