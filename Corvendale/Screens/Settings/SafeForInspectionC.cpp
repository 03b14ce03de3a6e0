#include "Corvendale/Screens/Settings/SafeForInspectionC.hpp"

#include "Corvendale/Services/Dependencies.hpp"
#include "Corvendale/Services/SyncCoordinator.hpp"
#include "Corvendale/Screens/Settings/SafeForInspectionV.CreatePasswordV.hpp"

#include "Shared/Model/Global.hpp"
#include "Shared/Model/Notification.Name.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Basalwork/Base/Array.hpp"
#include "Basalwork/Base/String.hpp"

#include <vector>

namespace Corvendale {

using Foundation::String;
using State = SafeForInspectionV::State;

String SafeForInspectionC::explanationText(Shared::Settings::Auth::Method method)
{
    const auto product = Shared::Global::corvendale();
    const auto mode = Shared::Global::SafeForInspection::mode();
    std::vector<String> names;
    for (auto biometry : Shared::Settings::Auth::availableBiometries(method)) {
        switch (biometry) {
        case Shared::Biometry::touchID: names.emplace_back("Touch ID"); break;
        case Shared::Biometry::faceID: names.emplace_back("Face ID"); break;
        default: names.emplace_back("Apple Watch"); break;
        }
    }
    String middle = names.empty() ? "While in " + mode + ", only items you've marked as \"safe for inspection\" will be visible and Authentication & Security settings will be temporarily overridden."
                                  : "While in " + mode + ", only items you've marked as \"safe for inspection\" will be visible. Unlocking via "
                                        + Basalwork::joined(names, Basalwork::Array::OxfordCommaMode::and_)
                                        + " will be temporarily disabled, and Authentication & Security settings will be temporarily overridden.";
    return "For situations such as border crossings or entering government agencies where you may be asked to present your " + product
        + " data for inspection and only want certain items to be visible.\n\nEnter " + mode + " by unlocking " + product + " using your "
        + Shared::Global::SafeForInspection::password() + " instead of your Master Password.\n\n" + middle + "\n\nExit " + mode + " by unlocking "
        + product + " using your Master Password. All items will again be visible and all settings will return to normal.";
}

std::shared_ptr<SafeForInspectionV> SafeForInspectionC::makePageView()
{
    return Foundation::make<SafeForInspectionV>(sharedSelf(this));
}

std::optional<State> SafeForInspectionC::makeCurrentState() const
{
    const auto& services = dependencies();
    switch (services.recordStore->safeForInspectionState()) {
    case Shared::RecordStore::SafeForInspectionState::noPassword:
        if (m_isCreatingPassword)
            return State::CreatePassword {m_entryText, m_reEntryText};
        return State::Overview {explanationText(services.preferenceStore->authMethod())};
    case Shared::RecordStore::SafeForInspectionState::ready:
        return State::Instructions {};
    case Shared::RecordStore::SafeForInspectionState::activated:
        break;
    }
    return std::nullopt;
}

SafeForInspectionV::Config SafeForInspectionC::makeConfig()
{
    return makeCurrentState();
}

void SafeForInspectionC::startObserving()
{
    observe(Shared::syncCoordinatorDidUpdateMasterPasswordsOrVaults(), dependencies().syncCoordinator);
}

void SafeForInspectionC::updateView(bool animated)
{
    // The mode was switched on while the page showed (a sync and the activation crossing): the page
    // has nothing to show for it and leaves.
    if (!makeCurrentState()) {
        dismissFromDelegate();
        return;
    }
    SettingsPageC::updateView(animated);
}

void SafeForInspectionC::didUpdateEntryText(const String& entryText, SafeForInspectionV&)
{
    m_entryText = entryText;
    updateView(true);
}

void SafeForInspectionC::didUpdateReEntryText(const String& reEntryText, SafeForInspectionV&)
{
    m_reEntryText = reEntryText;
    updateView(true);
}

void SafeForInspectionC::didSelectCancel(SafeForInspectionV&)
{
    forgetTexts();
    updateView(true);
}

void SafeForInspectionC::didSelectAction(SafeForInspectionV&)
{
    auto state = makeCurrentState();
    if (!state)
        return;
    if (state->is<State::Overview>()) {
        m_entryText.reset();
        m_reEntryText.reset();
        m_isCreatingPassword = true;
        updateView(true);
        if (const auto& view = customView())
            view->createPasswordV()->focusEntryTextInput();
        return;
    }
    if (state->is<State::CreatePassword>()) {
        // Stored as typed, spaces included; a password of spaces alone never is.
        if (!m_entryText || !Basalwork::hasAtLeastOneNonWhitespaceCharacter(*m_entryText) || !m_reEntryText || *m_entryText != *m_reEntryText)
            return;
        if (!setPassword(m_entryText))
            return;
    } else if (!setPassword(std::nullopt)) {
        return;
    }
    forgetTexts();
    updateView(true);
}

bool SafeForInspectionC::setPassword(const std::optional<String>& password)
{
    const auto& services = dependencies();
    try {
        services.recordStore->setSafeForInspectionPassword(password);
    } catch (const Foundation::Error& error) {
        // Nothing changed: what was typed stays for another try.
        handleUnexpectedError(error, String("didSelectAction(safeForInspectionV:)"));
        return false;
    }
    services.syncCoordinator->sync();
    return true;
}

void SafeForInspectionC::forgetTexts()
{
    m_isCreatingPassword = false;
    m_entryText.reset();
    m_reEntryText.reset();
}

void SafeForInspectionC::didSelectDone(SettingsVHeaderV&)
{
    dismissFromDelegate();
}

} // namespace Corvendale
