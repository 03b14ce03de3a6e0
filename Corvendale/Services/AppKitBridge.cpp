#include "Corvendale/Services/AppKitBridge.hpp"

#include "Shared/Stores/PreferenceStore.hpp"

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Foundation/Selector.hpp"

namespace Corvendale {
namespace {

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("Corvendale", "AppKitBridge");
    return logger;
}

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
    // A program built without the plug-in has nothing to report.
    if (!plugIn)
        return nullptr;
    // A damaged plug-in leaves the program running without the desktop's commands, said once.
    auto absent = [](const char* reason) -> std::shared_ptr<Foundation::NSObject> {
        log().error("Ostravane.bundle %{public}s: the desktop's commands are unavailable", std::string(reason));
        return nullptr;
    };
    if (!plugIn->load())
        return absent("did not load");
    auto principalClass = plugIn->principalClass();
    if (!principalClass)
        return absent("names no principal class its code has");
    const Foundation::Selector shared("sharedAppKitBridge");
    if (!principalClass->respondsToSelector(shared))
        return absent("has a principal class that does not answer sharedAppKitBridge");
    auto result = principalClass->perform(shared);
    const auto* object = std::any_cast<std::shared_ptr<Foundation::NSObject>>(&result);
    if (!object || !*object)
        return absent("answered no bridge");
    return *object;
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
