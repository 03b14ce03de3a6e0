#include "Platform/UniformTypeIdentifiers/UTType.hpp"

namespace UniformTypeIdentifiers {

const UTType& UTType::image()
{
    static const UTType type {"public.image"};
    return type;
}

} // namespace UniformTypeIdentifiers
