#include "Platform/Foundation/DateComponents.hpp"

#include "Platform/Foundation/FatalError.hpp"

namespace Foundation {
namespace {

template <class Components>
auto& member(Components& components, Calendar::Component component)
{
    switch (component) {
    case Calendar::Component::year: return components.year;
    case Calendar::Component::month: return components.month;
    case Calendar::Component::day: return components.day;
    case Calendar::Component::hour: return components.hour;
    case Calendar::Component::minute: return components.minute;
    case Calendar::Component::second: return components.second;
    }
    fatalError("Unknown calendar component");
}

} // namespace

std::optional<std::int64_t> DateComponents::value(Calendar::Component for_) const
{
    return member(*this, for_);
}

void DateComponents::setValue(std::optional<std::int64_t> value, Calendar::Component for_)
{
    member(*this, for_) = value;
}

} // namespace Foundation
