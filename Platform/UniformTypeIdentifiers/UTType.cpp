#include "Platform/UniformTypeIdentifiers/UTType.hpp"

namespace UniformTypeIdentifiers {

const UTType& UTType::data()
{
    static const UTType type {"public.data"};
    return type;
}

const UTType& UTType::folder()
{
    static const UTType type {"public.folder"};
    return type;
}

const UTType& UTType::image()
{
    static const UTType type {"public.image"};
    return type;
}

} // namespace UniformTypeIdentifiers
