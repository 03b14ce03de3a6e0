#include "Corvendale/Services/AppKitBridge.hpp"

#include "Shared/Stores/PreferenceStore.hpp"

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Foundation/Selector.hpp"

namespace Corvendale {
namespace {

// A bridge of another build may lack a message: it is skipped rather than stopping the program.
std::any send(const std::shared_ptr<Foundation::NSObject>& bridge, const char* selector, const Foundation::MethodTable::Arguments& arguments = {})
{
    if (!bridge || !bridge->respondsToSelector(Foundation::Selector(selector)))
        return {};
    return Foundation::MethodTable::perform(*bridge, Foundation::Selector(selector), arguments);
}

} // namespace

std::shared_ptr<Foundation::NSObject> loadAppKitBridge(Foundation::Bundle& bundle)
{
    auto url = bundle.builtInPlugInsURL().appendingPathComponent(Foundation::String("Ostravane.bundle"), true);
    auto plugIn = Foundation::Bundle::atPath(url.path().utf8());
    if (!plugIn)
        return nullptr;
    auto principalClass = plugIn->principalClass();
    const Foundation::Selector shared("sharedAppKitBridge");
    if (!principalClass || !principalClass->respondsToSelector(shared))
        return nullptr;
    auto result = principalClass->perform(shared);
    const auto* object = std::any_cast<std::shared_ptr<Foundation::NSObject>>(&result);
    return object ? *object : nullptr;
}

namespace AppKitBridge {

void setupWindowManagement(const std::shared_ptr<Foundation::NSObject>& bridge)
{
    send(bridge, "setupWindowManagement");
}

bool isMainWindowPinned(const std::shared_ptr<Foundation::NSObject>& bridge)
{
    auto result = send(bridge, "isMainWindowPinned");
    const auto* pinned = std::any_cast<bool>(&result);
    return pinned && *pinned;
}

void setIsMainWindowPinned(const std::shared_ptr<Foundation::NSObject>& bridge, bool pinned)
{
    send(bridge, "setIsMainWindowPinned:", {pinned});
}

void quitApplication(const std::shared_ptr<Foundation::NSObject>& bridge)
{
    send(bridge, "quitApplication");
}

void toggleMainWindowPinning(const std::shared_ptr<Foundation::NSObject>& bridge, Shared::PreferenceStore& preferences)
{
    if (!bridge) {
        preferences.setKeepMainWindowPinned(false);
        return;
    }
    setIsMainWindowPinned(bridge, !isMainWindowPinned(bridge));
    preferences.setKeepMainWindowPinned(isMainWindowPinned(bridge));
}

} // namespace AppKitBridge

} // namespace Corvendale
