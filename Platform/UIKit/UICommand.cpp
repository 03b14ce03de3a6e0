#include "Platform/UIKit/UICommand.hpp"

namespace UIKit {

void UICommand::copyValues(const UICommand& from)
{
    setSubtitle(from.subtitle());
    setElementImage(from.image());
    m_discoverabilityTitle = from.m_discoverabilityTitle;
    m_attributes = from.m_attributes;
    m_state = from.m_state;
}

std::shared_ptr<UICommand> UICommand::copy() const
{
    auto command = Foundation::make<UICommand>(title(), m_action, m_propertyList);
    command->copyValues(*this);
    return command;
}

} // namespace UIKit
