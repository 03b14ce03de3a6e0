#include "Shared/Screens/AuthenticationV.hpp"

#include "Shared/Model/Global.hpp"
#include "Shared/Screens/FileURLInput.hpp"
#include "Shared/Screens/UIView.hpp"

#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/DateFormatter.Style.hpp"
#include "Platform/Foundation/DateFormatter.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UIActivityIndicatorView.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/UISwitch.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UniformTypeIdentifiers/UTType.hpp"

#include <string>

namespace Shared {
namespace {

using Foundation::String;

// What one state shows. Absent texts hide their view.
struct Content {
    std::string title;
    std::string message;
    std::optional<std::string> entryPlaceholder;
    bool isEntrySecure = true;
    std::optional<std::string> reEntryPlaceholder;
    std::optional<std::string> primaryTitle;
    std::optional<std::string> secondaryTitle;
    std::optional<std::string> biometryTitle;
    bool showsTips = false;
    std::optional<std::pair<std::string, AuthenticationVLink>> link;
    bool showsActivity = false;
    // Folder (true) or file (false) input, with the location shown.
    std::optional<bool> locationIsFolder;
    std::optional<bool> autoCopyOTPOn;
    std::string status;
};

std::string product() { return Global::corvendale().utf8(); }

// Where a new master password is typed twice; its title follows what the fields show.
const std::pair<std::string, AuthenticationVLink> showPasswordLink {"Show Password", AuthenticationVLink::showPassword};

std::string attemptText(const std::optional<EntryAttemptState>& attempt)
{
    if (!attempt)
        return {};
    if (const auto* disabled = attempt->as<EntryAttemptState::Disabled>()) {
        auto formatter = Foundation::make<Foundation::DateFormatter>();
        formatter->setDateStyle(Foundation::DateFormatter::Style::none);
        formatter->setTimeStyle(Foundation::DateFormatter::Style::short_);
        return "Too many incorrect attempts. Try again at " + formatter->string(disabled->reEnabledAt).utf8() + ".";
    }
    auto count = attempt->as<EntryAttemptState::Failed>()->failedAttemptCount;
    return count > 1 ? "Incorrect password (" + std::to_string(count) + " attempts)." : "Incorrect password.";
}

std::string repetitionText(const AuthenticationVState& state)
{
    auto judged = state.entryReEntryState();
    if (judged.as<PasswordEntryReEntryState::TooShort>() && !state.entryText().value_or(String()).isEmpty())
        return "Use at least " + std::to_string(PasswordEntryReEntryState::minimumLength) + " characters.";
    if (judged.as<PasswordEntryReEntryState::Mismatch>() && !state.reEntryText().value_or(String()).isEmpty())
        return "The passwords don't match.";
    return {};
}

std::string biometryName(Biometry biometry)
{
    switch (biometry) {
    case Biometry::touchID:
        return "Touch ID";
    case Biometry::faceID:
        return "Face ID";
    default:
        return "Apple Watch";
    }
}

// The fields' placeholders where a master password is typed.
constexpr const char* masterPasswordPlaceholder = "Master Password";
constexpr const char* repeatedPasswordPlaceholder = "Repeat Master Password";

// The screens that take a new master password; false for another screen.
bool masterPasswordContent(const AuthenticationVState& state, Content& c)
{
    using S = AuthenticationVState;
    switch (state.index()) {
    case S::indexOf<S::CreateMasterPassword>:
        c.title = "Create Master Password";
        c.message = "Your master password encrypts your vault. Nobody can recover it for you, so choose one you will remember.";
        c.entryPlaceholder = masterPasswordPlaceholder;
        c.reEntryPlaceholder = repeatedPasswordPlaceholder;
        c.primaryTitle = "Continue";
        c.showsTips = true;
        c.status = repetitionText(state);
        c.link = showPasswordLink;
        break;
    case S::indexOf<S::NewMasterPasswordAfterReset>:
        c.title = "New Master Password";
        c.message = "Your account was reset. Create a new master password.";
        c.entryPlaceholder = masterPasswordPlaceholder;
        c.reEntryPlaceholder = repeatedPasswordPlaceholder;
        c.primaryTitle = "Continue";
        c.status = repetitionText(state);
        c.link = showPasswordLink;
        break;
    case S::indexOf<S::ChangeMasterPasswordEntry>:
        c.title = "Change Master Password";
        c.message = "Enter your current master password.";
        c.entryPlaceholder = masterPasswordPlaceholder;
        c.primaryTitle = "Continue";
        if (state.as<S::ChangeMasterPasswordEntry>()->isCancellable)
            c.secondaryTitle = "Cancel";
        c.status = attemptText(state.entryAttemptState());
        break;
    case S::indexOf<S::NewMasterPasswordEntry>:
        c.title = "New Master Password";
        c.message = "Enter your new master password twice.";
        c.entryPlaceholder = std::string("New ") + masterPasswordPlaceholder;
        c.reEntryPlaceholder = repeatedPasswordPlaceholder;
        c.primaryTitle = "Change Master Password";
        c.secondaryTitle = "Back";
        c.showsTips = true;
        c.status = repetitionText(state);
        c.link = showPasswordLink;
        break;
    case S::indexOf<S::SavingMasterPassword>:
        c.title = "Saving Master Password…";
        c.showsActivity = true;
        break;
    default:
        return false;
    }
    return true;
}

// The account reset's and the restore's screens; false for another screen.
bool resetOrRestoreContent(const AuthenticationVState& state, Content& c)
{
    using S = AuthenticationVState;
    switch (state.index()) {
    case S::indexOf<S::ResetAccountConfirmation>:
        c.title = "Reset Account";
        c.message = std::string("Resetting deletes every item on this device and in your account. Type ")
            + AuthenticationVState::resetAccountConfirmationText + " to confirm.";
        c.entryPlaceholder = AuthenticationVState::resetAccountConfirmationText;
        c.isEntrySecure = false;
        c.primaryTitle = "Reset Account";
        c.secondaryTitle = "Cancel";
        break;
    case S::indexOf<S::ResetAccountIntroduction>:
        c.title = "Reset Account";
        c.message = "Without your master password, the only way on is to reset your account: every item is deleted, here and in your account.";
        c.primaryTitle = "Continue";
        c.secondaryTitle = "Cancel";
        break;
    case S::indexOf<S::ResetAccountFailed>:
        c.title = "Reset Failed";
        c.message = "Your account could not be reset.";
        c.primaryTitle = "OK";
        c.secondaryTitle = "Cancel";
        break;
    case S::indexOf<S::ResettingAccount>:
        c.title = "Resetting Account…";
        c.showsActivity = true;
        break;
    case S::indexOf<S::RestoreFromBackupIntroduction>:
        c.title = "Restore from Backup";
        c.message = "Restoring a backup replaces every item on this device and in your account with the items of the backup.";
        c.primaryTitle = "Continue";
        c.secondaryTitle = "Cancel";
        break;
    case S::indexOf<S::RestoreFromBackupMasterPasswordEntry>:
        c.title = "Restore from Backup";
        c.message = "Enter your current master password to continue.";
        c.entryPlaceholder = masterPasswordPlaceholder;
        c.primaryTitle = "Continue";
        c.secondaryTitle = "Cancel";
        c.status = attemptText(state.entryAttemptState());
        if (state.entryAttemptState())
            c.link = {"Forgot Password?", AuthenticationVLink::forgotPassword};
        break;
    case S::indexOf<S::ChoosingBackupFile>:
        c.title = "Restore from Backup";
        c.message = "Choose the backup file to restore.";
        c.locationIsFolder = false;
        c.primaryTitle = "Continue";
        c.secondaryTitle = "Cancel";
        break;
    case S::indexOf<S::BackupPasswordEntry>:
        c.title = "Backup Password";
        c.message = "Enter the password of \"" + state.as<S::BackupPasswordEntry>()->fileURL.lastPathComponent().utf8() + "\".";
        c.entryPlaceholder = "Backup Password";
        c.primaryTitle = "Continue";
        c.secondaryTitle = "Cancel";
        break;
    case S::indexOf<S::ReplaceDataWithBackupConfirmation>:
        c.title = "Replace Data?";
        c.message = "Restoring \"" + state.as<S::ReplaceDataWithBackupConfirmation>()->fileURL.lastPathComponent().utf8()
            + "\" replaces every item on this device and in your account.";
        c.primaryTitle = "Replace Data";
        break;
    case S::indexOf<S::RestoredVaultMasterPasswordEntry>:
        c.title = "Backup Restored";
        c.message = "Enter the master password the backup was made with.";
        c.entryPlaceholder = masterPasswordPlaceholder;
        c.primaryTitle = "Unlock";
        c.secondaryTitle = "Cancel";
        break;
    case S::indexOf<S::RestoreFromBackupFailed>: {
        const auto* failed = state.as<S::RestoreFromBackupFailed>();
        c.title = "Restore Failed";
        c.message = failed->errorDescription.utf8();
        c.primaryTitle = failed->offersFailureReport == 1 ? "Send Report and Try Again" : "Try Again";
        c.secondaryTitle = "Cancel";
        break;
    }
    case S::indexOf<S::RestoringFromBackup>:
        c.title = "Restoring…";
        c.showsActivity = true;
        break;
    default:
        return false;
    }
    return true;
}

Content content(const AuthenticationVState& state)
{
    using S = AuthenticationVState;
    Content c;
    if (masterPasswordContent(state, c) || resetOrRestoreContent(state, c))
        return c;
    switch (state.index()) {
    case S::indexOf<S::AppUpdateRequired>:
        c.title = "Update Required";
        c.message = "Your vault was saved by " + product() + " " + state.as<S::AppUpdateRequired>()->requiredVersion.utf8()
            + " or later. Update " + product() + " to open it.";
        c.primaryTitle = "Update";
        break;
    case S::indexOf<S::AutoFillOnboarding>: {
        const auto* step = state.as<S::AutoFillOnboarding>();
        c.title = "AutoFill";
        switch (step->autoFillAvailability) {
        case RecordStoreAutoFillAvailability::unsupportedSystem:
            c.message = "AutoFill needs a newer version of the system.";
            break;
        case RecordStoreAutoFillAvailability::disabled:
            c.message = "Turn on AutoFill for " + product() + " in the system settings to fill in passwords everywhere.";
            break;
        case RecordStoreAutoFillAvailability::enabled:
            c.message = "AutoFill is on: " + product() + " fills in your passwords everywhere.";
            break;
        }
        if (step->isNotificationPermissionPending)
            c.status = "You will be asked to allow notifications for copied one-time codes.";
        c.primaryTitle = "Continue";
        break;
    }
    case S::indexOf<S::AutomaticBackupsOnboarding>:
        c.title = "Automatic Backups";
        c.message = "Choose a folder where " + product() + " keeps encrypted backups of your vault.";
        c.locationIsFolder = true;
        c.primaryTitle = "Continue";
        break;
    case S::indexOf<S::MasterPasswordChangedElsewhere>: {
        auto formatter = Foundation::make<Foundation::DateFormatter>();
        formatter->setDateStyle(Foundation::DateFormatter::Style::medium);
        formatter->setTimeStyle(Foundation::DateFormatter::Style::short_);
        c.title = "Master Password Changed";
        c.message = "Your master password was changed on another device (" + formatter->string(state.as<S::MasterPasswordChangedElsewhere>()->changedAt).utf8()
            + "). Enter the new master password.";
        c.entryPlaceholder = masterPasswordPlaceholder;
        c.primaryTitle = "Unlock";
        c.status = attemptText(state.entryAttemptState());
        if (state.entryAttemptState())
            c.link = {"Forgot Password?", AuthenticationVLink::forgotPassword};
        break;
    }
    case S::indexOf<S::EvaluatingBiometry>:
        c.title = "Unlocking…";
        c.showsActivity = true;
        if (state.as<S::EvaluatingBiometry>()->isCancelButtonVisible)
            c.secondaryTitle = "Cancel";
        break;
    case S::indexOf<S::Locked>: {
        const auto* locked = state.as<S::Locked>();
        c.title = product() + " Is Locked";
        bool hasBiometry = locked->availableBiometry != Biometry::none;
        c.message = hasBiometry && !locked->isEntryRecommended ? "Unlock with " + biometryName(locked->availableBiometry) + " or your master password."
                                                               : "Enter your master password.";
        c.entryPlaceholder = masterPasswordPlaceholder;
        c.primaryTitle = "Unlock";
        if (hasBiometry)
            c.biometryTitle = "Unlock with " + biometryName(locked->availableBiometry);
        if (locked->isCancelButtonVisible)
            c.secondaryTitle = "Cancel";
        c.status = attemptText(locked->entryAttemptState);
        c.link = {"Forgot Password?", AuthenticationVLink::forgotPassword};
        break;
    }
    case S::indexOf<S::AutoFillActivationConfirmation>: {
        const auto* confirmation = state.as<S::AutoFillActivationConfirmation>();
        c.title = "AutoFill Is On";
        c.message = product() + " now fills in your passwords everywhere.";
        c.autoCopyOTPOn = !confirmation->isAutoCopyOTPDisabled;
        if (confirmation->isNotificationPermissionPending && !confirmation->isAutoCopyOTPDisabled)
            c.status = "You will be asked to allow notifications for copied one-time codes.";
        c.primaryTitle = "Done";
        c.secondaryTitle = "Cancel";
        break;
    }
    case S::indexOf<S::EncounteredError>: {
        const auto* error = state.as<S::EncounteredError>();
        c.title = "Something Went Wrong";
        c.message = error->description.utf8() + " (" + error->domain.utf8() + " " + std::to_string(error->code) + ")";
        c.primaryTitle = "OK";
        break;
    }
    case S::indexOf<S::Loading>:
        c.showsActivity = true;
        break;
    case S::indexOf<S::WaitingForInitialFetch>:
        c.title = "Waiting for Sync";
        c.message = "Your items are being fetched from your account for the first time.";
        c.showsActivity = true;
        c.link = {"Learn More", AuthenticationVLink::website};
        break;
    case S::indexOf<S::SyncOnboarding>:
        c.title = "Sync";
        c.message = "Your items are kept in sync through your account on every device.";
        c.primaryTitle = "Continue";
        break;
    case S::indexOf<S::OpenMainApp>:
        c.title = "Open " + product();
        c.message = "Unlock " + product() + " in the app to continue.";
        c.secondaryTitle = "Cancel";
        break;
    case S::indexOf<S::LockedWhileInactive>:
        c.title = product() + " Is Locked";
        break;
    default:
        break;
    }
    return c;
}

void setOptionalTitle(UIKit::UIButton& button, const std::optional<std::string>& title)
{
    if (title)
        button.setTitle(String(*title), UIKit::UIControl::State::normal());
    Basalwork::setIsVisible(button, title.has_value());
}

} // namespace

AuthenticationV::AuthenticationV(Foundation::NSCoder& coder)
    : UIView(coder)
{
    Foundation::fatalError("init(coder:) has not been implemented");
}

std::shared_ptr<UIKit::UIButton> AuthenticationV::makeButton(const char* identifier, std::function<void()> action)
{
    auto button = Foundation::make<UIKit::UIButton>();
    button->setAccessibilityIdentifier(String(std::string("AuthenticationV.") + identifier));
    button->addAction(std::move(action), UIKit::UIControl::Event::primaryActionTriggered());
    return button;
}

void AuthenticationV::initialize()
{
    UIView::initialize();
    setAccessibilityIdentifier(String("AuthenticationV"));
    std::weak_ptr<AuthenticationV> weak = sharedSelf(this);
    auto call = [weak](auto member) {
        return [weak, member] {
            if (auto self = weak.lock(); self && (*self).*member)
                ((*self).*member)();
        };
    };

    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_titleLabel->setAccessibilityIdentifier(String("AuthenticationV.title"));
    m_messageLabel = Foundation::make<UIKit::UILabel>();
    m_messageLabel->setAccessibilityIdentifier(String("AuthenticationV.message"));
    m_statusLabel = Foundation::make<UIKit::UILabel>();
    m_statusLabel->setAccessibilityIdentifier(String("AuthenticationV.status"));
    for (const auto& label : {m_titleLabel, m_messageLabel, m_statusLabel}) {
        label->setNumberOfLines(0);
        label->setTextAlignment(UIKit::NSTextAlignment::center);
    }
    m_activityIndicator = Foundation::make<UIKit::UIActivityIndicatorView>();
    m_activityIndicator->setAccessibilityIdentifier(String("AuthenticationV.activity"));

    m_entryField = Foundation::make<UIKit::UITextField>();
    m_entryField->setAccessibilityIdentifier(String("AuthenticationV.entryField"));
    m_reEntryField = Foundation::make<UIKit::UITextField>();
    m_reEntryField->setAccessibilityIdentifier(String("AuthenticationV.reEntryField"));
    m_entryField->addAction(
        [weak] {
            if (auto self = weak.lock(); self && self->onEntryTextChange)
                self->onEntryTextChange(self->m_entryField->text());
        },
        UIKit::UIControl::Event::editingChanged());
    m_reEntryField->addAction(
        [weak] {
            if (auto self = weak.lock(); self && self->onReEntryTextChange)
                self->onReEntryTextChange(self->m_reEntryField->text());
        },
        UIKit::UIControl::Event::editingChanged());
    // Return in the last field is the primary button; in the first of two it moves on.
    m_entryField->addAction(
        [weak] {
            auto self = weak.lock();
            if (!self)
                return;
            if (!self->m_reEntryField->isHidden())
                self->m_reEntryField->becomeFirstResponder();
            else if (self->m_primaryButton->isEnabled() && !self->m_primaryButton->isHidden() && self->onPrimary)
                self->onPrimary();
        },
        UIKit::UIControl::Event::primaryActionTriggered());
    m_reEntryField->addAction(
        [weak] {
            if (auto self = weak.lock(); self && self->m_primaryButton->isEnabled() && self->onPrimary)
                self->onPrimary();
        },
        UIKit::UIControl::Event::primaryActionTriggered());

    m_fileURLInput = Foundation::make<FileURLInput>();
    m_fileURLInput->setAccessibilityIdentifier(String("AuthenticationV.location"));

    m_autoCopySwitch = Foundation::make<UIKit::UISwitch>();
    m_autoCopySwitch->setAccessibilityIdentifier(String("AuthenticationV.autoCopySwitch"));
    m_autoCopySwitch->addAction(
        [weak] {
            if (auto self = weak.lock(); self && self->onAutoCopyChange)
                self->onAutoCopyChange(!self->m_autoCopySwitch->isOn());
        },
        UIKit::UIControl::Event::valueChanged());
    auto autoCopyLabel = Foundation::make<UIKit::UILabel>();
    autoCopyLabel->setText(String("Copy One-Time Codes Automatically"));
    m_autoCopyRow = Foundation::make<UIKit::UIStackView>();
    m_autoCopyRow->addArrangedSubview(autoCopyLabel);
    m_autoCopyRow->addArrangedSubview(m_autoCopySwitch);
    m_autoCopyRow->setAxis(UIKit::NSLayoutConstraint::Axis::horizontal);
    m_autoCopyRow->setSpacing(10);

    m_primaryButton = makeButton("primaryButton", call(&AuthenticationV::onPrimary));
    m_biometryButton = makeButton("biometryButton", call(&AuthenticationV::onBiometry));
    m_tipsButton = makeButton("tipsButton", call(&AuthenticationV::onTips));
    m_tipsButton->setTitle(String("Master Password Tips"), UIKit::UIControl::State::normal());
    m_secondaryButton = makeButton("secondaryButton", call(&AuthenticationV::onSecondary));
    m_linkButton = makeButton("linkButton", [weak] {
        auto self = weak.lock();
        if (!self)
            return;
        if (self->m_link == Link::showPassword) {
            self->m_isShowingPassword = !self->m_isShowingPassword;
            self->show(self->m_shownState);
        }
        if (self->onLink)
            self->onLink(self->m_link);
    });

    m_stack = Foundation::make<UIKit::UIStackView>();
    for (const std::shared_ptr<UIKit::UIView>& view :
         std::initializer_list<std::shared_ptr<UIKit::UIView>> {m_titleLabel, m_messageLabel, m_activityIndicator, m_entryField, m_reEntryField,
                                                                m_fileURLInput, m_autoCopyRow, m_statusLabel, m_primaryButton, m_biometryButton,
                                                                m_tipsButton, m_secondaryButton, m_linkButton})
        m_stack->addArrangedSubview(view);
    m_stack->setAxis(UIKit::NSLayoutConstraint::Axis::vertical);
    m_stack->setSpacing(12);
    addSubviewAsCenteredColumn(*this, m_stack, 20, 480);
    show(AuthenticationVState::Loading {});
}

bool AuthenticationV::isPrimaryEnabled(const State& state)
{
    using S = AuthenticationVState;
    auto text = state.entryText().value_or(String());
    switch (state.index()) {
    case S::indexOf<S::CreateMasterPassword>:
    case S::indexOf<S::NewMasterPasswordAfterReset>:
    case S::indexOf<S::NewMasterPasswordEntry>:
        return state.entryReEntryState().acceptedPassword().has_value();
    case S::indexOf<S::RestoreFromBackupMasterPasswordEntry>:
    case S::indexOf<S::MasterPasswordChangedElsewhere>:
    case S::indexOf<S::ChangeMasterPasswordEntry>:
    case S::indexOf<S::Locked>:
        // A rejected attempt is acknowledged with the button; held-back entry waits.
        if (auto attempt = state.entryAttemptState())
            return attempt->template as<EntryAttemptState::Disabled>() == nullptr;
        return !text.isEmpty();
    case S::indexOf<S::ResetAccountConfirmation>:
        return S::matchesResetAccountConfirmationText(text);
    case S::indexOf<S::ChoosingBackupFile>:
        return state.as<S::ChoosingBackupFile>()->fileURL.has_value();
    case S::indexOf<S::BackupPasswordEntry>:
        return !text.trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines()).isEmpty();
    case S::indexOf<S::RestoredVaultMasterPasswordEntry>:
        return !text.isEmpty();
    default:
        return true;
    }
}

void AuthenticationV::show(const State& state)
{
    // Typed passwords are hidden again on every new step.
    if (state.index() != m_shownState.index())
        m_isShowingPassword = false;
    m_shownState = state;
    auto c = content(state);
    if (c.link && c.link->second == Link::showPassword && m_isShowingPassword)
        c.link->first = "Hide Password";
    m_titleLabel->setText(String(c.title));
    Basalwork::setIsVisible(*m_titleLabel, !c.title.empty());
    m_messageLabel->setText(String(c.message));
    Basalwork::setIsVisible(*m_messageLabel, !c.message.empty());
    m_statusLabel->setText(String(c.status));
    Basalwork::setIsVisible(*m_statusLabel, !c.status.empty());
    Basalwork::setIsVisible(*m_activityIndicator, c.showsActivity);
    if (c.showsActivity)
        m_activityIndicator->startAnimating();
    else
        m_activityIndicator->stopAnimating();

    auto showField = [](UIKit::UITextField& field, const std::optional<std::string>& placeholder, const std::optional<String>& text,
                        bool isSecure, bool isEnabled) {
        Basalwork::setIsVisible(field, placeholder.has_value());
        if (!placeholder) {
            if (field.isFirstResponder())
                field.resignFirstResponder();
            field.setText(String());
            return;
        }
        field.setPlaceholder(String(*placeholder));
        field.setIsSecureTextEntry(isSecure);
        field.setIsEnabled(isEnabled);
        if (field.text() != text.value_or(String()))
            field.setText(text.value_or(String()));
    };
    auto attempt = state.entryAttemptState();
    bool isHeldBack = attempt && attempt->as<EntryAttemptState::Disabled>();
    bool isSecure = !m_isShowingPassword;
    showField(*m_entryField, c.entryPlaceholder, state.entryText(), c.isEntrySecure && isSecure, !isHeldBack);
    showField(*m_reEntryField, c.reEntryPlaceholder, state.reEntryText(), isSecure, true);

    Basalwork::setIsVisible(*m_fileURLInput, c.locationIsFolder.has_value());
    if (c.locationIsFolder) {
        m_fileURLInput->setContentType(*c.locationIsFolder ? UniformTypeIdentifiers::UTType::folder() : UniformTypeIdentifiers::UTType::data());
        m_fileURLInput->setPlaceholder(String(*c.locationIsFolder ? "Drag here or choose folder" : "Drag here or choose file"));
        auto location = state.locationURL();
        m_fileURLInput->setText(location ? std::optional(location->isFileURL() ? location->path() : location->absoluteString()) : std::nullopt);
    }
    Basalwork::setIsVisible(*m_autoCopyRow, c.autoCopyOTPOn.has_value());
    if (c.autoCopyOTPOn)
        m_autoCopySwitch->setIsOn(*c.autoCopyOTPOn);

    setOptionalTitle(*m_primaryButton, c.primaryTitle);
    m_primaryButton->setIsEnabled(isPrimaryEnabled(state));
    setOptionalTitle(*m_biometryButton, c.biometryTitle);
    Basalwork::setIsVisible(*m_tipsButton, c.showsTips);
    setOptionalTitle(*m_secondaryButton, c.secondaryTitle);
    setOptionalTitle(*m_linkButton, c.link ? std::optional(c.link->first) : std::nullopt);
    if (c.link)
        m_link = c.link->second;
}

} // namespace Shared
