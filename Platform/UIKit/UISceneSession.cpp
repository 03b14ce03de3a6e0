#include "Platform/UIKit/UISceneSession.hpp"

#include "Platform/Foundation/UUID.hpp"
#include "Platform/UIKit/UISceneConfiguration.hpp"

namespace UIKit {

UISceneSession::UISceneSession(Role role)
    : m_role(std::move(role))
    , m_persistentIdentifier(Foundation::UUID().uuidString())
{
}

} // namespace UIKit
