#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <memory>

namespace UIKit {

class UIScene;
class UISceneConfiguration;

// The system's record of one scene: what role it plays and how it was configured. It outlives a
// disconnected scene on the platform; here it lives as long as its scene is connected.
class UISceneSession : public Foundation::NSObject {
public:
    struct Role {
        Foundation::String rawValue;
        // The main windows of the application.
        static Role windowApplication() { return {"UIWindowSceneSessionRoleApplication"}; }
        friend bool operator==(const Role&, const Role&) = default;
    };

    const Role& role() const { return m_role; }
    const Foundation::String& persistentIdentifier() const { return m_persistentIdentifier; }
    const std::shared_ptr<UISceneConfiguration>& configuration() const { return m_configuration; }
    std::shared_ptr<UIScene> scene() const { return m_scene.lock(); }

protected:
    friend Foundation::Construct;
    explicit UISceneSession(Role role);

private:
    friend class UIApplication;
    Role m_role;
    Foundation::String m_persistentIdentifier;
    std::shared_ptr<UISceneConfiguration> m_configuration;
    std::weak_ptr<UIScene> m_scene;
};

} // namespace UIKit
