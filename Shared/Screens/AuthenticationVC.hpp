#pragma once

#include "Shared/Screens/AuthenticationV.State.hpp"
#include "Shared/Screens/FileURLInputDelegate.hpp"

#include "Platform/UIKit/UIViewController.hpp"

#include <functional>
#include <memory>
#include <optional>

namespace Shared {

class AuthenticationV;
class AuthenticationVCDelegate;

// The unlock screen: shows the state its owner gives and reports what the person does through its
// delegate. It never changes its state itself; typed text reaches the owner, which sets the state again.
class AuthenticationVC : public UIKit::UIViewController, public FileURLInputDelegate {
public:
    using State = AuthenticationVState;

    std::shared_ptr<AuthenticationVCDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<AuthenticationVCDelegate>& delegate) { m_delegate = delegate; }

    const State& state() const { return m_state; }
    // `indicatesFailedAttempt`: the state carries a rejected attempt the person should notice;
    // `activatesEntryField`: the state's first field takes the keyboard (when nothing covers the screen).
    void setState(State state, bool indicatesFailedAttempt, bool activatesEntryField, bool animated);
    // Runs `action` once the state now shown has settled on screen (never inside the call).
    void performAfterStateUpdate(std::function<void()> action);
    // The error the screen shows, for a failure report.
    std::optional<Foundation::String> errorText() const;
    // Puts the keyboard back into the first field of the state shown.
    void returnToEntryField();
    // Shows the state's texts again in the fields, dropping what is being typed.
    void reloadInputViews();
    // How many times a rejected attempt was signalled; animated, the entry field shakes.
    std::int64_t failedAttemptIndicationCount() const { return m_failedAttemptIndications; }

    const std::shared_ptr<AuthenticationV>& authenticationV() const { return m_authenticationV; }

    void loadView() override;
    // Takes the keys itself while its state has no field.
    bool canBecomeFirstResponder() const override { return true; }
    std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> keyCommands() const override;
    void handleCancelCommand();
    // Return: the primary button, when it shows and may be pressed.
    void handlePrimaryCommand();

    // FileURLInputDelegate: the location of the state.
    void didSelect(const Foundation::URL& fileURL, FileURLInput& fileURLInput) override;
    void didSelectClear(FileURLInput& fileURLInput) override;
    void didFailToSelectFileURL(const Foundation::ErrorPtr& error, FileURLInput& fileURLInput) override;
    void didRequestFileURLPicker(FileURLInput& fileURLInput) override;

protected:
    friend Foundation::Construct;
    AuthenticationVC() = default;
    // Built in code only: stops the program.
    explicit AuthenticationVC(Foundation::NSCoder& coder);
    void initialize() override;

private:
    template <class Call>
    void tell(Call call);

    std::weak_ptr<AuthenticationVCDelegate> m_delegate;
    State m_state = AuthenticationVState::Loading {};
    std::shared_ptr<AuthenticationV> m_authenticationV;
    std::int64_t m_failedAttemptIndications = 0;
};

} // namespace Shared
