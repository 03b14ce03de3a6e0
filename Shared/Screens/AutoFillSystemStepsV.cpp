#include "Shared/Screens/AutoFillSystemStepsV.hpp"

#include "Shared/Model/Global.hpp"

namespace Shared {

namespace {

std::vector<Foundation::String> systemSteps(AutoFillSystemStepsV::Action action)
{
    const std::string request = action == AutoFillSystemStepsV::Action::enable ? "configure" : "disable";
    return {
        Foundation::String("Open a terminal on this computer"),
        Foundation::String("Run autofill-request with --extension and the path of " + Global::corvendale().utf8() + "'s AutoFill extension"),
        Foundation::String("Finish the command with \"" + request + "\" and press Return"),
    };
}

} // namespace

AutoFillSystemStepsV::AutoFillSystemStepsV(Action action)
    : AutoFillStepsV(systemSteps(action))
    , m_action(action)
{
}

} // namespace Shared
