#include "Shared/Screens/AuthenticationVC.hpp"

#include "Shared/Screens/AuthenticationV.hpp"
#include "Shared/Screens/AuthenticationVCDelegate.hpp"
#include "Shared/Screens/FileURLInput.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/CGAffineTransform.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UITextField.hpp"

#include <iterator>

namespace Shared {
namespace {

const bool registered = [] {
    Foundation::MethodTable::add(Foundation::Selector("handleCancelCommand"), &AuthenticationVC::handleCancelCommand);
    Foundation::MethodTable::add(Foundation::Selector("handlePrimaryCommand"), &AuthenticationVC::handlePrimaryCommand);
    return true;
}();

} // namespace

AuthenticationVC::AuthenticationVC(Foundation::NSCoder& coder)
    : UIViewController(coder)
{
    Foundation::fatalError("init(coder:) has not been implemented");
}

void AuthenticationVC::initialize()
{
    UIViewController::initialize();
    (void)registered;
}

template <class Call>
void AuthenticationVC::tell(Call call)
{
    if (auto delegate = this->delegate())
        call(*delegate);
}

void AuthenticationVC::loadView()
{
    m_authenticationV = Foundation::make<AuthenticationV>();
    std::weak_ptr<AuthenticationVC> weak = sharedSelf(this);
    auto forward = [weak](auto call) {
        return [weak, call](auto&&... arguments) {
            if (auto self = weak.lock())
                self->tell([&](AuthenticationVCDelegate& delegate) { call(delegate, *self, arguments...); });
        };
    };
    auto& view = *m_authenticationV;
    view.onSecondary = forward([](AuthenticationVCDelegate& d, AuthenticationVC& vc) { d.didSelectCancel(vc); });
    view.onEntryTextChange = forward([](AuthenticationVCDelegate& d, AuthenticationVC& vc, const Foundation::String& text) {
        d.didUpdateEntryText(text, vc);
    });
    view.onReEntryTextChange = forward([](AuthenticationVCDelegate& d, AuthenticationVC& vc, const Foundation::String& text) {
        d.didUpdateReEntryText(text, vc);
    });
    view.onTips = forward([](AuthenticationVCDelegate& d, AuthenticationVC& vc) { d.didSelectMasterPasswordTips(vc); });
    view.onBiometry = forward([](AuthenticationVCDelegate& d, AuthenticationVC& vc) { d.didSelectUnlockWithBiometry(vc); });
    view.onPrimary = forward([](AuthenticationVCDelegate& d, AuthenticationVC& vc) {
        // The button may still show while the typed text no longer allows it (Return in a field).
        if (AuthenticationV::isPrimaryEnabled(vc.state()))
            d.didSelectPrimaryAction(vc.state(), vc);
    });
    view.onLink = forward([](AuthenticationVCDelegate& d, AuthenticationVC& vc, AuthenticationVLink link) { d.didSelect(link, vc); });
    view.onAutoCopyChange = forward([](AuthenticationVCDelegate& d, AuthenticationVC& vc, bool isDisabled) {
        d.didUpdateIsAutoCopyOTPDisabled(isDisabled, vc);
    });
    view.fileURLInput()->setDelegate(std::dynamic_pointer_cast<FileURLInputDelegate>(sharedSelf(this)));
    view.show(m_state);
    setView(m_authenticationV);
}

namespace {

// Side to side, dying down, back in place: one step after the other on the clock.
void shake(const std::weak_ptr<UIKit::UIView>& weakView, std::size_t step)
{
    static constexpr UIKit::CGFloat offsets[] = {12, -12, 8, -8, 4, 0};
    auto view = weakView.lock();
    if (!view || step >= std::size(offsets))
        return;
    UIKit::UIView::animate(
        0.06, [&] { view->setTransform(UIKit::CGAffineTransform::translation(offsets[step], 0)); },
        [weakView, step](bool) { shake(weakView, step + 1); });
}

} // namespace

void AuthenticationVC::setState(State state, bool indicatesFailedAttempt, bool activatesEntryField, bool animated)
{
    bool changesCase = state.index() != m_state.index();
    m_state = std::move(state);
    loadViewIfNeeded();
    m_authenticationV->show(m_state);
    if (indicatesFailedAttempt) {
        ++m_failedAttemptIndications;
        if (animated)
            shake(m_authenticationV->entryField(), 0);
    }
    const auto& entryField = m_authenticationV->entryField();
    if (activatesEntryField && m_state.hasEntryField() && entryField->isEnabled() && !entryField->isFirstResponder()
        && !m_authenticationV->reEntryField()->isFirstResponder())
        entryField->becomeFirstResponder();
    else if (changesCase && !m_state.hasEntryField())
        // Keys must still reach the screen (Escape, Return on the button) once its fields are gone.
        becomeFirstResponder();
}

void AuthenticationVC::performAfterStateUpdate(std::function<void()> action)
{
    Foundation::DispatchQueue::main()->async(std::move(action));
}

std::optional<Foundation::String> AuthenticationVC::errorText() const
{
    if (const auto* failed = m_state.as<State::RestoreFromBackupFailed>())
        return failed->errorDescription;
    if (const auto* error = m_state.as<State::EncounteredError>())
        return error->description;
    return std::nullopt;
}

void AuthenticationVC::returnToEntryField()
{
    loadViewIfNeeded();
    if (m_state.hasEntryField())
        m_authenticationV->entryField()->becomeFirstResponder();
}

void AuthenticationVC::reloadInputViews()
{
    loadViewIfNeeded();
    m_authenticationV->entryField()->setText(m_state.entryText().value_or(Foundation::String()));
    m_authenticationV->reEntryField()->setText(m_state.reEntryText().value_or(Foundation::String()));
}

std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> AuthenticationVC::keyCommands() const
{
    // Return takes the primary button also on the steps without a field (a text field keeps its own Return).
    return std::vector {Foundation::make<UIKit::UIKeyCommand>(UIKit::UIKeyCommand::inputEscape(), UIKit::UIKeyModifierFlags {},
                                                              Foundation::Selector("handleCancelCommand")),
                        Foundation::make<UIKit::UIKeyCommand>(Foundation::String("\r"), UIKit::UIKeyModifierFlags {},
                                                              Foundation::Selector("handlePrimaryCommand"))};
}

void AuthenticationVC::handleCancelCommand()
{
    if (!m_authenticationV || m_authenticationV->secondaryButton()->isHidden())
        return;
    tell([&](AuthenticationVCDelegate& delegate) { delegate.didSelectCancel(*this); });
}

void AuthenticationVC::handlePrimaryCommand()
{
    if (!m_authenticationV)
        return;
    const auto& button = m_authenticationV->primaryButton();
    if (!button->isHidden() && button->isEnabled() && m_authenticationV->onPrimary)
        m_authenticationV->onPrimary();
}

void AuthenticationVC::didSelect(const Foundation::URL& fileURL, FileURLInput&)
{
    tell([&](AuthenticationVCDelegate& delegate) { delegate.didChoose(fileURL, *this); });
}

void AuthenticationVC::didSelectClear(FileURLInput&)
{
    tell([&](AuthenticationVCDelegate& delegate) { delegate.didSelectClearLocation(*this); });
}

void AuthenticationVC::didFailToSelectFileURL(const Foundation::ErrorPtr& error, FileURLInput&)
{
    tell([&](AuthenticationVCDelegate& delegate) { delegate.didFailChooseURL(error, *this); });
}

void AuthenticationVC::didRequestFileURLPicker(FileURLInput&)
{
    tell([&](AuthenticationVCDelegate& delegate) { delegate.didSelectChooseLocation(*this); });
}

} // namespace Shared
