// A plug-in whose principal class answers `sharedAppKitBridge` with one shared object that records the
// messages it is sent, for the tests of bundle loading.
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Selector.hpp"

#include <cstring>
#include <memory>
#include <typeinfo>

namespace {

class AnsweringBridge : public Foundation::NSObject {
public:
    static std::shared_ptr<AnsweringBridge> shared()
    {
        static auto bridge = Foundation::make<AnsweringBridge>();
        return bridge;
    }
    void setupWindowManagement() { ++m_setups; }
    bool isMainWindowPinned() const { return m_pinned; }
    void setIsMainWindowPinned(bool pinned) { m_pinned = pinned; }
    std::int64_t setups() const { return m_setups; }

protected:
    friend Foundation::Construct;
    AnsweringBridge() = default;

private:
    bool m_pinned = false;
    std::int64_t m_setups = 0;
};

class AnsweringPrincipal {};

const bool registered = [] {
    Foundation::MethodTable::addClassMethod(typeid(AnsweringPrincipal), Foundation::Selector("sharedAppKitBridge"),
                                            [](const Foundation::MethodTable::Arguments&) {
                                                return Foundation::MethodTable::result(AnsweringBridge::shared());
                                            });
    Foundation::MethodTable::add(Foundation::Selector("setupWindowManagement"), &AnsweringBridge::setupWindowManagement);
    Foundation::MethodTable::add(Foundation::Selector("isMainWindowPinned"), &AnsweringBridge::isMainWindowPinned);
    Foundation::MethodTable::add(Foundation::Selector("setIsMainWindowPinned:"), &AnsweringBridge::setIsMainWindowPinned);
    Foundation::MethodTable::add(Foundation::Selector("setups"), &AnsweringBridge::setups);
    return true;
}();

} // namespace

extern "C" __attribute__((visibility("default"))) const std::type_info* FoundationBundlePrincipalClass(const char* className)
{
    return std::strcmp(className, "AnsweringPrincipal") == 0 ? &typeid(AnsweringPrincipal) : nullptr;
}
