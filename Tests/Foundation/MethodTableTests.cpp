#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Foundation/String.hpp"

#include <gtest/gtest.h>

using namespace Foundation;

namespace {

class Bridge : public NSObject {
public:
    std::string calls;
    bool pinned = false;

    void setup() { calls += "setup;"; }
    bool isPinned() const { return pinned; }
    void setIsPinned(bool value) { pinned = value; }
    String greet(const String& name) { return "Hello " + name; }
    void take(const std::shared_ptr<Bridge>& other) { calls += other ? "bridge;" : "nothing;"; }

protected:
    friend Construct;
    Bridge() = default;
};

class Stranger : public NSObject {
protected:
    friend Construct;
    Stranger() = default;
};

class Listener {
public:
    virtual ~Listener() = default;
};

// Adds nothing itself, and has a second base before nothing else.
class QuietBridge : public Bridge, public Listener {
protected:
    friend Construct;
    QuietBridge() = default;
};

class LoudBridge : public QuietBridge {
public:
    void setupLoudly() { calls += "SETUP;"; }

protected:
    friend Construct;
    LoudBridge() = default;
};

const bool registered = [] {
    MethodTable::add(Selector("setupWindowManagement"), &Bridge::setup);
    MethodTable::add(Selector("isMainWindowPinned"), &Bridge::isPinned);
    MethodTable::add(Selector("setIsMainWindowPinned:"), &Bridge::setIsPinned);
    MethodTable::add(Selector("greet:"), &Bridge::greet);
    MethodTable::add(Selector("take:"), &Bridge::take);
    MethodTable::add(Selector("setupWindowManagement"), &LoudBridge::setupLoudly);
    MethodTable::addClassMethod(typeid(Bridge), Selector("sharedAppKitBridge"), [](const MethodTable::Arguments&) {
        return MethodTable::result(make<LoudBridge>());
    });
    return true;
}();

} // namespace

TEST(Selector, NamesAreInternedAndCountTheirArguments)
{
    EXPECT_EQ(Selector("handleCopyPasswordCommand:"), Selector(std::string("handleCopyPasswordCommand:")));
    EXPECT_NE(Selector("handleLockCommand"), Selector("handleLockCommand:"));
    EXPECT_EQ(Selector("handleLockCommand").argumentCount(), 0u);
    EXPECT_EQ(Selector("tableView:didSelectRowAt:").argumentCount(), 2u);
    EXPECT_FALSE(Selector());
    EXPECT_EQ(Selector().name(), "");
}

TEST(MethodTable, MessagesFollowTheClassChainFromTheDynamicClassUp)
{
    ASSERT_TRUE(registered);
    auto quiet = make<QuietBridge>();
    auto loud = make<LoudBridge>();
    EXPECT_TRUE(quiet->respondsToSelector(Selector("setupWindowManagement")));
    EXPECT_FALSE(quiet->respondsToSelector(Selector("openAboutPanel")));

    MethodTable::perform(*quiet, Selector("setupWindowManagement"));
    MethodTable::perform(*loud, Selector("setupWindowManagement"));
    EXPECT_EQ(quiet->calls, "setup;");
    EXPECT_EQ(loud->calls, "SETUP;");

    MethodTable::perform(*loud, Selector("setIsMainWindowPinned:"), {true});
    EXPECT_EQ(std::any_cast<bool>(MethodTable::perform(*loud, Selector("isMainWindowPinned"))), true);
    EXPECT_EQ(std::any_cast<String>(MethodTable::perform(*loud, Selector("greet:"), {String("you")})), "Hello you");
}

TEST(MethodTable, ObjectsTravelAsNSObjectsAndArriveAsTheParameterType)
{
    auto bridge = make<QuietBridge>();
    MethodTable::perform(*bridge, Selector("take:"), {std::shared_ptr<NSObject>(make<LoudBridge>())});
    MethodTable::perform(*bridge, Selector("take:"), {std::shared_ptr<NSObject>(make<Stranger>())});
    MethodTable::perform(*bridge, Selector("take:"), {std::any()});
    EXPECT_EQ(bridge->calls, "bridge;nothing;nothing;");

    auto shared = MethodTable::performClassMethod(typeid(LoudBridge), Selector("sharedAppKitBridge"));
    EXPECT_NE(std::dynamic_pointer_cast<LoudBridge>(std::any_cast<std::shared_ptr<NSObject>>(shared)), nullptr);
    EXPECT_EQ(MethodTable::lookupClassMethod(typeid(NSObject), Selector("sharedAppKitBridge")), nullptr);
}

TEST(MethodTableDeathTest, AnUnansweredMessageOrAWrongArgumentStops)
{
    auto bridge = make<QuietBridge>();
    EXPECT_DEATH(MethodTable::perform(*bridge, Selector("quitApplication")), "unrecognized selector sent to instance");
    EXPECT_DEATH(MethodTable::perform(*bridge, Selector("setIsMainWindowPinned:")), "wrong number of arguments");
    EXPECT_DEATH(MethodTable::perform(*bridge, Selector("setIsMainWindowPinned:"), {1}), "another type");
}
