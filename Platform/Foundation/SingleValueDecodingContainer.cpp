#include "Platform/Foundation/SingleValueDecodingContainer.hpp"

namespace Foundation {

bool SingleValueDecodingContainer::decodeNil() const
{
    return m_decoder.decodeNil();
}

} // namespace Foundation
