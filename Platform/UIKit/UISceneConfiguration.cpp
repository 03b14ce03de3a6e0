#include "Platform/UIKit/UISceneConfiguration.hpp"

#include "Platform/Foundation/Bundle.hpp"

namespace UIKit {
namespace {

// The manifest's configurations for the role, in their order.
Foundation::PropertyListValue::Array manifestEntries(const UISceneSession::Role& role)
{
    auto manifest = Foundation::Bundle::main()->object("UIApplicationSceneManifest");
    const auto* dictionary = manifest ? manifest->dictionary() : nullptr;
    if (!dictionary)
        return {};
    auto configurations = dictionary->find("UISceneConfigurations");
    if (configurations == dictionary->end() || !configurations->second.dictionary())
        return {};
    const auto& byRole = *configurations->second.dictionary();
    auto entries = byRole.find(role.rawValue);
    if (entries == byRole.end() || !entries->second.array())
        return {};
    return *entries->second.array();
}

std::optional<Foundation::String> text(const Foundation::PropertyListValue& entry, const char* key)
{
    const auto* dictionary = entry.dictionary();
    if (!dictionary)
        return std::nullopt;
    auto value = dictionary->find(key);
    return value == dictionary->end() ? std::nullopt : value->second.as<Foundation::String>();
}

} // namespace

UISceneConfiguration::UISceneConfiguration(std::optional<Foundation::String> name, UISceneSession::Role sessionRole)
    : m_name(std::move(name))
    , m_role(std::move(sessionRole))
{
    if (!m_name)
        return;
    for (const auto& entry : manifestEntries(m_role)) {
        if (text(entry, "UISceneConfigurationName") != m_name)
            continue;
        if (auto className = text(entry, "UISceneDelegateClassName"))
            m_delegateClass = className->utf8();
        break;
    }
}

std::shared_ptr<UISceneConfiguration> UISceneConfiguration::firstInManifest(const UISceneSession::Role& role)
{
    auto entries = manifestEntries(role);
    if (entries.empty())
        return nullptr;
    auto name = text(entries.front(), "UISceneConfigurationName");
    auto configuration = Foundation::make<UISceneConfiguration>(name, role);
    if (!name)
        if (auto className = text(entries.front(), "UISceneDelegateClassName"))
            configuration->setDelegateClass(className->utf8());
    return configuration;
}

} // namespace UIKit
