#pragma once

#include "Platform/Foundation/Calendar.hpp"

namespace Foundation {

// Calendar systems, in the platform's order.
enum class Calendar::Identifier {
    gregorian,
    buddhist,
    chinese,
    coptic,
    ethiopicAmeteMihret,
    ethiopicAmeteAlem,
    hebrew,
    iso8601,
    indian,
    islamic,
    islamicCivil,
    japanese,
    persian,
    republicOfChina,
    islamicTabular,
    islamicUmmAlQura,
};

} // namespace Foundation
