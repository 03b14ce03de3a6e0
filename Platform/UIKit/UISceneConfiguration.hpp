#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UISceneSession.hpp"

#include <optional>
#include <string>

namespace UIKit {

// How a scene is made: its name, role and delegate class. Made with a name, it takes the delegate
// class from the entry of that name and role in the main bundle's scene manifest ("Info.json"):
//
//   "UIApplicationSceneManifest": {"UISceneConfigurations": {"UIWindowSceneSessionRoleApplication":
//       [{"UISceneConfigurationName": "Default Configuration", "UISceneDelegateClassName": "..."}]}}
//
// The delegate class is a name in the `ClassRegistry`.
class UISceneConfiguration : public Foundation::NSObject {
public:
    const std::optional<Foundation::String>& name() const { return m_name; }
    const UISceneSession::Role& role() const { return m_role; }
    const std::optional<std::string>& delegateClass() const { return m_delegateClass; }
    void setDelegateClass(std::optional<std::string> className) { m_delegateClass = std::move(className); }

    // The manifest's first configuration for the role, as the system picks one for an application
    // whose delegate does not; none when the manifest has none.
    static std::shared_ptr<UISceneConfiguration> firstInManifest(const UISceneSession::Role& role);

protected:
    friend Foundation::Construct;
    // init(name:sessionRole:)
    UISceneConfiguration(std::optional<Foundation::String> name, UISceneSession::Role sessionRole);

private:
    std::optional<Foundation::String> m_name;
    UISceneSession::Role m_role;
    std::optional<std::string> m_delegateClass;
};

} // namespace UIKit
