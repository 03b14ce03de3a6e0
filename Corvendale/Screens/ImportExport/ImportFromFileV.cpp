#include "Corvendale/Screens/ImportExport/ImportFromFileV.hpp"

#include "Corvendale/Screens/ImportExport/ImportFromFileV.AttachmentsToImportV.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileV.FileFormatsV.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileV.FileToImportV.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileV.ReportV.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileV.TagsToAddV.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileVDelegate.hpp"
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

namespace {

std::optional<Foundation::String> locationText(const std::optional<Foundation::URL>& url)
{
    return url ? std::optional(Shared::locationText(*url)) : std::nullopt;
}

} // namespace

ImportFromFileV::ImportFromFileV(const std::shared_ptr<ImportFromFileVDelegate>& delegate)
    : m_delegate(delegate)
{
}

void ImportFromFileV::initialize()
{
    m_appsV = Foundation::make<SettingsVOptionSettingV<Shared::ImporterApp>>();
    m_fileFormatsV = Foundation::make<ImportFromFileVFileFormatsV>();
    m_fileToImportV = Foundation::make<ImportFromFileVFileToImportV>();
    m_attachmentsToImportV = Foundation::make<ImportFromFileVAttachmentsToImportV>();
    m_tagsToAddV = Foundation::make<ImportFromFileVTagsToAddV>();
    m_importInProgressV = Foundation::make<TransferInProgressV>(Foundation::String("ImportFromFileV.ImportInProgressV"));
    m_reportV = Foundation::make<ImportFromFileVReportV>();
    m_actionButton = Foundation::make<Basalwork::PromotionButton>();
    SettingsPageV::initialize();
    setupPage();
}

void ImportFromFileV::setDelegate(const std::shared_ptr<ImportFromFileVDelegate>& delegate)
{
    m_delegate = delegate;
    handOnDelegate();
}

void ImportFromFileV::handOnDelegate()
{
    auto delegate = m_delegate.lock();
    headerV()->setDelegate(delegate);
    m_fileFormatsV->setDelegate(delegate);
    m_fileToImportV->setDelegate(delegate);
    m_attachmentsToImportV->setDelegate(delegate);
}

void ImportFromFileV::setupPage()
{
    handOnDelegate();
    headerV()->setTitle(Shared::Global::ImportItems::name());
    setAccessibilityIdentifier(Foundation::String("ImportFromFileV"));

    std::weak_ptr<ImportFromFileV> weakSelf = sharedSelf(this);
    m_appsV->setTitleText(Foundation::String("Which app would you like to import from?"));
    m_appsV->onSelection = [weakSelf](const Shared::ImporterApp& app) {
        if (auto self = weakSelf.lock())
            if (auto delegate = self->delegate())
                delegate->didSelect(std::optional(app), *self);
    };
    m_appsV->onClear = [weakSelf] {
        if (auto self = weakSelf.lock())
            if (auto delegate = self->delegate())
                delegate->didSelect(std::optional<Shared::ImporterApp>(), *self);
    };
    contentContainer()->addArrangedSubview(m_appsV);
    contentContainer()->addArrangedSubview(m_fileFormatsV);
    contentContainer()->addArrangedSubview(m_fileToImportV);
    contentContainer()->addArrangedSubview(m_attachmentsToImportV);
    m_tagsToAddV->onUpdate = [weakSelf](const Foundation::String& text) {
        if (auto self = weakSelf.lock())
            if (auto delegate = self->delegate())
                delegate->didUpdate(text, *self);
    };
    contentContainer()->addArrangedSubview(m_tagsToAddV);
    contentContainer()->addArrangedSubview(m_importInProgressV);
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

void ImportFromFileV::update(const State& state)
{
    const auto app = state.app();
    const auto format = state.is<State::SelectFileFormat>() ? std::nullopt : state.fileFormat();
    const bool selecting = state.is<State::SelectApp>() || state.is<State::SelectFileFormat>() || state.is<State::SelectFileURL>()
        || state.is<State::SelectAttachmentsURL>();
    const bool choosingFile = state.is<State::SelectFileURL>() || state.is<State::SelectAttachmentsURL>();
    const auto* attachmentsStep = state.as<State::SelectAttachmentsURL>();

    Basalwork::setVisibilityAndAlpha(*m_appsV, selecting);
    m_appsV->setSelected(app);

    Basalwork::setVisibilityAndAlpha(*m_fileFormatsV, selecting && !state.is<State::SelectApp>() && app != Shared::ImporterApp::customCSV);
    m_fileFormatsV->update(ImportFromFileVFileFormatsV::Config {app, format});

    Basalwork::setVisibilityAndAlpha(*m_fileToImportV, choosingFile);
    m_fileToImportV->setSelectedFileFormat(format);
    std::optional<Foundation::URL> fileURL;
    if (const auto* fileStep = state.as<State::SelectFileURL>())
        fileURL = fileStep->fileURL;
    else if (attachmentsStep)
        fileURL = attachmentsStep->fileURL;
    m_fileToImportV->setLocationText(locationText(fileURL));

    Basalwork::setVisibilityAndAlpha(*m_attachmentsToImportV, attachmentsStep && Shared::acceptsAttachmentsFolder(attachmentsStep->fileFormat));
    m_attachmentsToImportV->setLocationText(attachmentsStep ? locationText(attachmentsStep->attachmentsURL) : std::nullopt);

    Basalwork::setVisibilityAndAlpha(*m_tagsToAddV, attachmentsStep != nullptr);
    m_tagsToAddV->setText(attachmentsStep ? attachmentsStep->tagsToAddText : std::nullopt);

    const auto* running = state.as<State::ImportInProgress>();
    m_importInProgressV->update(running ? std::optional(TransferInProgressV::InProgress {
                                              Foundation::String("Importing from " + Shared::name(Shared::app(running->fileFormat)).utf8()), running->progress})
                                        : std::nullopt);
    Basalwork::setVisibilityAndAlpha(*m_importInProgressV, running != nullptr);

    std::optional<ImportFromFileVReportV::Config> report;
    if (const auto* complete = state.as<State::ImportComplete>())
        report = ImportFromFileVReportV::Completed {complete->report};
    else if (const auto* withFailures = state.as<State::ImportCompleteWithFailures>())
        report = ImportFromFileVReportV::Completed {withFailures->report};
    else if (const auto* missing = state.as<State::ImportFailedToAccessRequiredColumnLabel>())
        report = ImportFromFileVReportV::FailedToAccessRequiredColumnLabel {missing->fileFormat, missing->columnLabel};
    else if (const auto* failed = state.as<State::ImportFailed>())
        report = ImportFromFileVReportV::Failed {failed->errorDescription};
    m_reportV->update(report);
    Basalwork::setVisibilityAndAlpha(*m_reportV, report.has_value());

    const char* title = "Start Import";
    bool isEnabled = false;
    if (const auto* fileStep = state.as<State::SelectFileURL>()) {
        isEnabled = fileStep->fileURL.has_value();
    } else if (attachmentsStep) {
        isEnabled = attachmentsStep->fileURL.has_value();
    } else if (running) {
        title = "Cancel Import";
        isEnabled = true;
    } else if (state.is<State::ImportComplete>() || state.is<State::ImportFailedToAccessRequiredColumnLabel>()) {
        title = "Import From Another File";
        isEnabled = true;
    } else if (state.is<State::ImportCompleteWithFailures>()) {
        title = "Report Failures";
        isEnabled = true;
    } else if (state.is<State::ImportFailed>()) {
        title = "Report Error";
        isEnabled = true;
    }
    m_actionButton->setTitleText(Foundation::String(title));
    m_actionButton->setIsEnabled(isEnabled);
}

void ImportFromFileV::scrollToBottom(bool animated)
{
    Basalwork::scrollToBottom(*scrollView(), animated);
}

Foundation::String ImportFromFileV::failureText() const
{
    return m_reportV->failureText();
}

void ImportFromFileV::update(const Shared::Settings::Appearance& appearance)
{
    SettingsPageV::update(appearance);
    m_actionButton->setTitleFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::title3(), false)));
    m_actionButton->setSubtitleFont(appearance.font(UIKit::UIFont::TextStyle::subheadline(), false));
}

} // namespace Corvendale
