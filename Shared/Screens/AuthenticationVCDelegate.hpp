#pragma once

#include "Shared/Screens/AuthenticationV.Link.hpp"
#include "Shared/Screens/AuthenticationV.State.hpp"

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

namespace Shared {

class AuthenticationVC;

// What a person does on the unlock screen. Requirements in their fixed order.
class AuthenticationVCDelegate {
public:
    virtual ~AuthenticationVCDelegate() = default;
    // 1: cancel, or back to the previous step.
    virtual void didSelectCancel(AuthenticationVC& authenticationVC) = 0;
    // 2, 3: the text of the first field, and of its repetition, changed.
    virtual void didUpdateEntryText(const Foundation::String& text, AuthenticationVC& authenticationVC) = 0;
    virtual void didUpdateReEntryText(const Foundation::String& text, AuthenticationVC& authenticationVC) = 0;
    // 4: the master password tips were asked for.
    virtual void didSelectMasterPasswordTips(AuthenticationVC& authenticationVC) = 0;
    // 5: unlocking with biometry was asked for.
    virtual void didSelectUnlockWithBiometry(AuthenticationVC& authenticationVC) = 0;
    // 6: the primary button (or Return in a field) in the state the screen shows.
    virtual void didSelectPrimaryAction(const AuthenticationVState& state, AuthenticationVC& authenticationVC) = 0;
    // 7: a link.
    virtual void didSelect(AuthenticationVLink link, AuthenticationVC& authenticationVC) = 0;
    // 8: the AutoFill option of copying one-time codes was switched (true: not copied).
    virtual void didUpdateIsAutoCopyOTPDisabled(bool isAutoCopyOTPDisabled, AuthenticationVC& authenticationVC) = 0;
    // 9 to 12: the file or folder of the state: choosing one was asked for, one was taken, it was cleared,
    // or what was dropped could not be taken.
    virtual void didSelectChooseLocation(AuthenticationVC& authenticationVC) = 0;
    virtual void didChoose(const Foundation::URL& url, AuthenticationVC& authenticationVC) = 0;
    virtual void didSelectClearLocation(AuthenticationVC& authenticationVC) = 0;
    virtual void didFailChooseURL(const Foundation::ErrorPtr& error, AuthenticationVC& authenticationVC) = 0;
};

} // namespace Shared
