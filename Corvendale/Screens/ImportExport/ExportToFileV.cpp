#include "Corvendale/Screens/ImportExport/ExportToFileV.hpp"

#include "Corvendale/Screens/ImportExport/ExportToFileV.ExportLocationV.hpp"
#include "Corvendale/Screens/ImportExport/ExportToFileV.FileFormatsV.hpp"
#include "Corvendale/Screens/ImportExport/ExportToFileV.ReportV.hpp"
#include "Corvendale/Screens/ImportExport/ExportToFileVDelegate.hpp"
#include "Corvendale/Screens/ImportExport/TransferInProgressV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"

#include "Shared/Model/Global.hpp"
#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"
#include "Shared/Transfer/URL.hpp"

#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/PromotionButton.hpp"
#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UIScrollView.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UIScrollView.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

ExportToFileV::ExportToFileV(const std::shared_ptr<ExportToFileVDelegate>& delegate)
    : m_delegate(delegate)
{
}

void ExportToFileV::initialize()
{
    m_appsV = Foundation::make<SettingsVOptionSettingV<Shared::ExporterApp>>();
    m_fileFormatsV = Foundation::make<ExportToFileVFileFormatsV>();
    m_exportLocationV = Foundation::make<ExportToFileVExportLocationV>();
    m_exportInProgressV = Foundation::make<TransferInProgressV>(Foundation::String("ExportInProgressV"));
    m_reportV = Foundation::make<ExportToFileVReportV>();
    m_actionButton = Foundation::make<Basalwork::PromotionButton>();
    SettingsPageV::initialize();
    setupPage();
}

void ExportToFileV::setDelegate(const std::shared_ptr<ExportToFileVDelegate>& delegate)
{
    m_delegate = delegate;
    handOnDelegate();
}

void ExportToFileV::handOnDelegate()
{
    auto delegate = m_delegate.lock();
    headerV()->setDelegate(delegate);
    m_fileFormatsV->setDelegate(delegate);
    m_exportLocationV->setDelegate(delegate);
}

void ExportToFileV::setupPage()
{
    handOnDelegate();
    headerV()->setTitle(Shared::Global::ExportItems::name());
    setAccessibilityIdentifier(Foundation::String("ExportToFileV"));
    std::weak_ptr<ExportToFileV> weakSelf = sharedSelf(this);
    m_appsV->setTitleText(Foundation::String("Which app would you like to export to?"));
    m_appsV->onSelection = [weakSelf](const Shared::ExporterApp& app) {
        if (auto self = weakSelf.lock())
            if (auto delegate = self->delegate())
                delegate->didSelect(std::optional(app), *self);
    };
    m_appsV->onClear = [weakSelf] {
        if (auto self = weakSelf.lock())
            if (auto delegate = self->delegate())
                delegate->didSelect(std::optional<Shared::ExporterApp>(), *self);
    };
    contentContainer()->addArrangedSubview(m_appsV);
    contentContainer()->addArrangedSubview(m_fileFormatsV);
    contentContainer()->addArrangedSubview(m_exportLocationV);
    contentContainer()->addArrangedSubview(m_exportInProgressV);
    contentContainer()->addArrangedSubview(m_reportV);

    auto buttonContainer = Basalwork::UIStackViews::withAxis(UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill,
                                                             UIKit::UIStackView::Distribution::fill, 0);
    auto spacer = Foundation::make<UIKit::UIView>();
    UIKit::NSLayoutConstraint::activate({spacer->heightAnchor().constraintEqualToConstant(8)});
    buttonContainer->addArrangedSubview(spacer);
    m_actionButton->setTitleText(Foundation::String(" "));
    m_actionButton->setTintColor(Shared::UIColors::primaryTint());
    m_actionButton->setCornerRadius(10);
    m_actionButton->setTitleTextColor(Shared::UIColors::primaryBackground());
    m_actionButton->setSubtitleTextColor(Shared::UIColors::primaryBackground());
    m_actionButton->setAccessibilityIdentifier(Foundation::String("ActionButton"));
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_actionButton);
    m_actionButton->addAction(
        [weakSelf] {
            if (auto self = weakSelf.lock())
                if (auto delegate = self->delegate())
                    delegate->didSelectActionButton(*self);
        },
        UIKit::UIControl::Event::touchUpInside());
    buttonContainer->addArrangedSubview(m_actionButton);
    contentContainer()->addArrangedSubview(buttonContainer);
}

void ExportToFileV::update(const State& state)
{
    const auto app = state.app();
    const auto format = state.is<State::SelectFileFormat>() ? std::nullopt : state.fileFormat();
    const auto* locationStep = state.as<State::SelectLocationURL>();
    const bool selecting = state.is<State::SelectApp>() || state.is<State::SelectFileFormat>() || locationStep;

    Basalwork::setVisibilityAndAlpha(*m_appsV, selecting);
    m_appsV->setSelected(app);

    Basalwork::setVisibilityAndAlpha(*m_fileFormatsV, state.is<State::SelectFileFormat>() || locationStep);
    m_fileFormatsV->update(ExportToFileVFileFormatsV::Config {app, format});

    Basalwork::setVisibilityAndAlpha(*m_exportLocationV, locationStep != nullptr);
    m_exportLocationV->setSelectedFileFormat(format);
    m_exportLocationV->setLocationText(locationStep && locationStep->locationURL ? std::optional(Shared::locationText(*locationStep->locationURL))
                                                                                : std::nullopt);

    const auto* running = state.as<State::ExportInProgress>();
    m_exportInProgressV->update(running ? std::optional(TransferInProgressV::InProgress {
                                              Foundation::String("Exporting to " + Shared::titleText(running->fileFormat).utf8()), running->progress})
                                        : std::nullopt);
    Basalwork::setVisibilityAndAlpha(*m_exportInProgressV, running != nullptr);

    std::optional<ExportToFileVReportV::Config> report;
    if (const auto* complete = state.as<State::ExportComplete>())
        report = ExportToFileVReportV::Completed {complete->report};
    else if (const auto* withFailures = state.as<State::ExportCompleteWithFailures>())
        report = ExportToFileVReportV::Completed {withFailures->report};
    else if (const auto* failed = state.as<State::ExportFailed>())
        report = ExportToFileVReportV::Failed {failed->errorDescription};
    m_reportV->update(report);
    Basalwork::setVisibilityAndAlpha(*m_reportV, report.has_value());

    const char* title = "Start Export";
    bool isEnabled = false;
    if (locationStep) {
        isEnabled = locationStep->locationURL.has_value();
    } else if (running) {
        title = "Cancel Export";
        isEnabled = true;
    } else if (state.is<State::ExportComplete>()) {
        title = "Export To Another Location";
        isEnabled = true;
    } else if (state.is<State::ExportCompleteWithFailures>()) {
        title = "Report Failures";
        isEnabled = true;
    } else if (state.is<State::ExportFailed>()) {
        title = "Report Error";
        isEnabled = true;
    }
    m_actionButton->setTitleText(Foundation::String(title));
    m_actionButton->setIsEnabled(isEnabled);
}

void ExportToFileV::scrollToBottom(bool animated)
{
    Basalwork::scrollToBottom(*scrollView(), animated);
}

Foundation::String ExportToFileV::failureText() const
{
    return m_reportV->failureText();
}

void ExportToFileV::update(const Shared::Settings::Appearance& appearance)
{
    SettingsPageV::update(appearance);
    m_actionButton->setTitleFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::title3(), false)));
    m_actionButton->setSubtitleFont(appearance.font(UIKit::UIFont::TextStyle::subheadline(), false));
}

} // namespace Corvendale
