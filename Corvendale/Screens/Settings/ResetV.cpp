#include "Corvendale/Screens/Settings/ResetV.hpp"

#include "Corvendale/Screens/Settings/ResetVDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsV.ActionV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"

#include "Shared/Model/Global.hpp"

#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

using Foundation::String;

ResetV::ResetV(const std::shared_ptr<ResetVDelegate>& delegate)
    : m_delegate(delegate)
{
}

void ResetV::initialize()
{
    m_clearLocalCacheV = Foundation::make<SettingsVActionV>();
    m_resetAccountV = Foundation::make<SettingsVActionV>();
    SettingsPageV::initialize();
    setAccessibilityIdentifier(String("ResetV"));
    setupPage();
}

void ResetV::setDelegate(const std::shared_ptr<ResetVDelegate>& delegate)
{
    m_delegate = delegate;
    headerV()->setDelegate(delegate);
}

void ResetV::setupPage()
{
    const auto product = Shared::Global::corvendale();
    headerV()->setDelegate(m_delegate.lock());
    headerV()->setTitle("Reset " + product);
    std::weak_ptr<ResetV> weakSelf = sharedSelf(this);

    m_clearLocalCacheV->setTitleText(String("Clear Locally Cached Data"));
    m_clearLocalCacheV->setSubtitleText(
        product + " keeps a full copy of your data on each device in order to enable offline access. This copy is referred to as the \"local cache\".\n\nIn the event a syncing issue is preventing "
        + product + " from updating the local cache, you can clear the cache and re-sync your data from iCloud.\n\nPlease ensure you have a backup or export of your data before proceeding as any unsynced changes will be lost.");
    m_clearLocalCacheV->setActionTitleText(String("Clear Locally Cached Data"));
    m_clearLocalCacheV->setActionSubtitleText(String("And re-sync your data from iCloud"));
    m_clearLocalCacheV->onSelection = [weakSelf] {
        if (auto self = weakSelf.lock())
            if (auto delegate = self->delegate())
                delegate->didSelectClearLocalCache(*self);
    };
    contentContainer()->addArrangedSubview(m_clearLocalCacheV);

    m_resetAccountV->setTitleText("Reset " + product + " Account");
    m_resetAccountV->setSubtitleText("Resetting your " + product
                                     + " account will permanently delete all existing data from all synced devices and allow you to start over.\n\nThis CANNOT be undone!!!\n\nPlease be absolutely sure you no longer need anything stored in "
                                     + product + " before continuing.");
    m_resetAccountV->setActionTitleText("Reset " + product + " Account");
    m_resetAccountV->setActionSubtitleText(String("Permanently delete all data from all synced devices and start over"));
    m_resetAccountV->onSelection = [weakSelf] {
        if (auto self = weakSelf.lock())
            if (auto delegate = self->delegate())
                delegate->didSelectResetAccount(*self);
    };
    contentContainer()->addArrangedSubview(m_resetAccountV);
}

} // namespace Corvendale
