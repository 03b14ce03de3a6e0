#pragma once

#include "Sorrelgate/AuthenticationC.OnAuthentication.hpp"
#include "Sorrelgate/Dependencies.hpp"

#include "Shared/Screens/AuthenticationVCDelegate.hpp"

#include "Basalwork/Interface/CoordinatingViewController.hpp"

#include <memory>

namespace Shared {
class AuthenticationVC;
}

namespace Sorrelgate {

class AuthenticationCDelegate;

// The extension's unlock screen: follows the lock of the vault, turns each of its states into a state of
// the shared unlock view, carries out what the user does there, and once the vault is unlocked does the
// one thing it was made for. It takes input in every state but the unlocked one (where what lies beneath
// takes it, when it was made to show that).
class AuthenticationC : public Basalwork::CoordinatingViewController, public Shared::AuthenticationVCDelegate, public DependenciesAccessing {
public:
    using OnAuthentication = AuthenticationCOnAuthentication;

    std::shared_ptr<AuthenticationCDelegate> delegate() const { return m_delegate.lock(); }
    const std::shared_ptr<Shared::AuthenticationVC>& authenticationVC() const { return m_authenticationVC; }
    const OnAuthentication& onAuthentication() const { return m_onAuthentication; }
    const Foundation::String& entryText() const { return m_entryText; }
    const Foundation::String& reEntryText() const { return m_reEntryText; }

    void viewDidAppear(bool animated) override;
    virtual void startObservingAuthenticationStore();
    virtual void transitionIfRequired(bool animated);

    // Shared::AuthenticationVCDelegate
    void didSelectCancel(Shared::AuthenticationVC& authenticationVC) override;
    void didUpdateEntryText(const Foundation::String& text, Shared::AuthenticationVC& authenticationVC) override;
    void didUpdateReEntryText(const Foundation::String& text, Shared::AuthenticationVC& authenticationVC) override;
    void didSelectMasterPasswordTips(Shared::AuthenticationVC&) override {}
    void didSelectUnlockWithBiometry(Shared::AuthenticationVC& authenticationVC) override;
    void didSelectPrimaryAction(const Shared::AuthenticationVState& state, Shared::AuthenticationVC& authenticationVC) override;
    void didSelect(Shared::AuthenticationVLink link, Shared::AuthenticationVC& authenticationVC) override;
    void didUpdateIsAutoCopyOTPDisabled(bool isAutoCopyOTPDisabled, Shared::AuthenticationVC& authenticationVC) override;
    void didSelectChooseLocation(Shared::AuthenticationVC&) override {}
    void didChoose(const Foundation::URL&, Shared::AuthenticationVC&) override {}
    void didSelectClearLocation(Shared::AuthenticationVC&) override {}
    void didFailChooseURL(const Foundation::ErrorPtr&, Shared::AuthenticationVC&) override {}

protected:
    friend Foundation::Construct;
    AuthenticationC(OnAuthentication onAuthentication, const std::shared_ptr<AuthenticationCDelegate>& delegate);
    void initialize() override;

private:
    AuthenticationC(std::shared_ptr<Shared::AuthenticationVC> authenticationVC, OnAuthentication onAuthentication,
                    const std::shared_ptr<AuthenticationCDelegate>& delegate);
    void show(Shared::AuthenticationVState state, bool animated);
    void setTakesInput(bool takesInput);
    void clearTexts();
    void unlock(const Foundation::String& masterPassword);
    void confirmActivation(const Shared::AuthenticationVState::AutoFillActivationConfirmation& confirmation);

    std::weak_ptr<AuthenticationCDelegate> m_delegate;
    std::shared_ptr<Shared::AuthenticationVC> m_authenticationVC;
    bool m_isFirstAppear = true;
    OnAuthentication m_onAuthentication;
    bool m_performOnAuthenticationAction = true;
    Foundation::String m_entryText;
    Foundation::String m_reEntryText;
};

} // namespace Sorrelgate
