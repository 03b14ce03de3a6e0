#include "Platform/Foundation/DispatchWorkItem.hpp"

namespace Foundation {

void DispatchWorkItem::perform()
{
    if (!m_cancelled && m_block)
        m_block();
}

} // namespace Foundation
