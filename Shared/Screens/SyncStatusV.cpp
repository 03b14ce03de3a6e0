#include "Shared/Screens/SyncStatusV.hpp"

#include "Shared/Screens/SyncStatusVDelegate.hpp"
#include "Shared/Screens/UIColor.hpp"
#include "Shared/Syncwright/SyncStatus.hpp"

#include "Basalwork/Interface/LayoutInsets.hpp"

#include "Platform/Foundation/DateFormatter.hpp"
#include "Platform/UIKit/UIActivityIndicatorView.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UILayoutGuide.hpp"
#include "Platform/UIKit/UIScrollView.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Shared {

namespace {

std::optional<Foundation::String> lastSyncedText(const std::optional<Foundation::Date>& date)
{
    if (!date)
        return std::nullopt;
    auto formatter = Foundation::make<Foundation::DateFormatter>();
    formatter->setDateStyle(Foundation::DateFormatter::Style::medium);
    formatter->setTimeStyle(Foundation::DateFormatter::Style::short_);
    return Foundation::String("Last synced " + formatter->string(*date).utf8());
}

std::shared_ptr<UIKit::UILabel> makeLabel(const char* identifier)
{
    auto label = Foundation::make<UIKit::UILabel>();
    label->setNumberOfLines(0);
    label->setAccessibilityIdentifier(Foundation::String(identifier));
    return label;
}

} // namespace

SyncStatusVConfig SyncStatusVConfig::make(const Syncwright::SyncStatus& syncStatus)
{
    using Syncwright::SyncStatus;
    SyncStatusVConfig config;
    if (auto syncing = syncStatus.as<SyncStatus::Syncing>()) {
        switch (syncing->activity) {
        case SyncStatus::Activity::fetching:
            config.titleText = "Fetching Changes…";
            break;
        case SyncStatus::Activity::settingUp:
            config.titleText = "Setting Up iCloud Sync…";
            break;
        case SyncStatus::Activity::pushing:
            config.titleText = "Uploading Changes…";
            break;
        }
        config.actionTitle = Foundation::String("Stop");
        config.showsActivity = true;
    } else if (auto upToDate = syncStatus.as<SyncStatus::UpToDate>()) {
        config.titleText = "Up to Date";
        config.lastSyncText = lastSyncedText(upToDate->date);
        config.actionTitle = Foundation::String("Sync Now");
    } else if (auto idle = syncStatus.as<SyncStatus::Idle>()) {
        config.titleText = "Not Syncing";
        config.lastSyncText = lastSyncedText(idle->lastSuccessfulSyncDate);
        config.actionTitle = Foundation::String("Sync Now");
    } else if (auto failed = syncStatus.as<SyncStatus::Failed>()) {
        config.titleText = "Sync Failed";
        config.lastSyncText = lastSyncedText(failed->lastSuccessfulSyncDate);
        const auto& failure = failed->failure;
        if (failure.is<SyncStatus::Failure::MultipleRecordsUsingTheSameID>()) {
            config.messageText = Foundation::String("Some items share one identifier. Repairing gives each its own and syncs again.");
            config.actionTitle = Foundation::String("Repair and Sync");
        } else if (failure.requiresReplacingLocalData()) {
            config.messageText = Foundation::String("The items on this device belong to another iCloud account than the one signed in.");
            config.actionTitle = Foundation::String("Replace with iCloud Data…");
            config.isActionDestructive = true;
        } else {
            auto error = failure.underlyingError();
            config.messageText = Foundation::String(error ? error->description() : failure.description());
            config.actionTitle = Foundation::String("Try Again");
        }
    } else if (syncStatus.is<SyncStatus::Disabled>()) {
        config.titleText = "iCloud Sync Is Off";
        config.messageText = Foundation::String("Sign in to iCloud to keep your items on all your devices.");
    } else {
        config.titleText = "Not Synced Yet";
        config.actionTitle = Foundation::String("Sync Now");
    }
    return config;
}

SyncStatusV::SyncStatusV(const std::shared_ptr<SyncStatusVDelegate>& delegate)
    : m_delegate(delegate)
    , m_config(std::make_unique<std::optional<Config>>())
{
}

SyncStatusV::~SyncStatusV() = default;

void SyncStatusV::initialize()
{
    UIView::initialize();
    m_scrollView = Foundation::make<UIKit::UIScrollView>();
    m_scrollView->setTranslatesAutoresizingMaskIntoConstraints(false);
    addSubview(m_scrollView);

    m_activityIndicator = Foundation::make<UIKit::UIActivityIndicatorView>();
    m_titleLabel = makeLabel("SyncStatusV.title");
    m_messageLabel = makeLabel("SyncStatusV.message");
    m_lastSyncLabel = makeLabel("SyncStatusV.lastSync");
    m_actionButton = Foundation::make<UIKit::UIButton>();
    m_actionButton->setAccessibilityIdentifier(Foundation::String("SyncStatusV.action"));
    m_actionButton->addAction(
        [weakSelf = weakSelf(this)] {
            auto self = weakSelf.lock();
            if (!self)
                return;
            if (auto delegate = self->delegate())
                delegate->didSelectAction(*self);
        },
        UIKit::UIControl::Event::primaryActionTriggered());

    auto stack = Foundation::make<UIKit::UIStackView>();
    stack->setAxis(UIKit::NSLayoutConstraint::Axis::vertical);
    stack->setSpacing(8.0);
    stack->setTranslatesAutoresizingMaskIntoConstraints(false);
    for (const auto& view : std::initializer_list<std::shared_ptr<UIKit::UIView>> {m_activityIndicator, m_titleLabel, m_messageLabel,
                                                                                   m_lastSyncLabel, m_actionButton})
        stack->addArrangedSubview(view);
    m_scrollView->addSubview(stack);
    // As wide as the pop-over less its margins; a view not yet given a size has no room for margins.
    auto width = stack->widthAnchor().constraintEqualTo(m_scrollView->frameLayoutGuide()->widthAnchor(), -32);
    width->setPriority(UIKit::UILayoutPriority {999});
    UIKit::NSLayoutConstraint::activate({
        m_scrollView->leadingAnchor().constraintEqualTo(leadingAnchor()),
        m_scrollView->trailingAnchor().constraintEqualTo(trailingAnchor()),
        m_scrollView->topAnchor().constraintEqualTo(topAnchor()),
        m_scrollView->bottomAnchor().constraintEqualTo(bottomAnchor()),
        stack->leadingAnchor().constraintEqualTo(m_scrollView->contentLayoutGuide()->leadingAnchor(), 16),
        stack->trailingAnchor().constraintEqualTo(m_scrollView->contentLayoutGuide()->trailingAnchor(), -16),
        stack->topAnchor().constraintEqualTo(m_scrollView->contentLayoutGuide()->topAnchor(), 16),
        stack->bottomAnchor().constraintEqualTo(m_scrollView->contentLayoutGuide()->bottomAnchor(), -16),
        width,
    });
    setBackgroundColor(UIColors::secondaryBackground());
    m_messageLabel->setTextColor(UIColors::secondaryTint());
    m_lastSyncLabel->setTextColor(UIColors::secondaryTint());
    setConfig(Config::make(Syncwright::SyncStatus::Unknown {}));
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

const std::optional<SyncStatusV::Config>& SyncStatusV::config() const
{
    return *m_config;
}

void SyncStatusV::setConfig(const Config& config)
{
    *m_config = config;
    m_titleLabel->setText(config.titleText);
    m_messageLabel->setText(config.messageText);
    m_messageLabel->setIsHidden(!config.messageText);
    m_lastSyncLabel->setText(config.lastSyncText);
    m_lastSyncLabel->setIsHidden(!config.lastSyncText);
    m_actionButton->setTitle(config.actionTitle, UIKit::UIControl::State::normal());
    m_actionButton->setIsHidden(!config.actionTitle);
    m_actionButton->setTintColor(config.isActionDestructive ? UIColors::deleteRed() : nullptr);
    m_activityIndicator->setIsHidden(!config.showsActivity);
    if (config.showsActivity)
        m_activityIndicator->startAnimating();
    else
        m_activityIndicator->stopAnimating();
    setNeedsLayout();
}

void SyncStatusV::update(const Settings::Appearance& appearance)
{
    m_titleLabel->setFont(appearance.font(UIKit::UIFont::TextStyle::headline(), false));
    m_messageLabel->setFont(appearance.font(UIKit::UIFont::TextStyle::subheadline(), false));
    m_lastSyncLabel->setFont(appearance.font(UIKit::UIFont::TextStyle::footnote(), false));
}

} // namespace Shared
