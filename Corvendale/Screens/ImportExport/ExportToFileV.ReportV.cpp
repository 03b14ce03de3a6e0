#include "Corvendale/Screens/ImportExport/ExportToFileV.ReportV.hpp"

#include "Corvendale/Screens/ImportExport/ExportToFileV.ExportLocationV.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileV.ReportV.hpp"
#include "Corvendale/Screens/ImportExport/ReportFailureItemV.hpp"
#include "Corvendale/Screens/ImportExport/ReportItemV.hpp"

#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"
#include "Shared/Transfer/URL.hpp"

#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

#include <string>

namespace Corvendale {

ExportToFileVReportV::ExportToFileVReportV()
    : UIView(UIKit::CGRect::zero())
{
}

void ExportToFileVReportV::initialize()
{
    UIView::initialize();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_successfullyExportedItemV = Foundation::make<ReportItemV>(Foundation::String("ExportToFileV.ReportV.ItemV"), false);
    m_failuresItemV = Foundation::make<ReportFailureItemV>(Foundation::String("ExportToFileV.ReportV.FailureItemV"), false, false);
    setAccessibilityIdentifier(Foundation::String("ReportV"));
    setBackgroundColor(UIKit::UIColor::clear());
    auto stack = Basalwork::UIStackViews::withAxis(UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill,
                                                   UIKit::UIStackView::Distribution::fill, 20);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);
    m_titleLabel->setTextColor(Shared::UIColors::primaryTint());
    m_titleLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_titleLabel);
    stack->addArrangedSubview(m_titleLabel);
    stack->addArrangedSubview(m_successfullyExportedItemV);
    stack->addArrangedSubview(m_failuresItemV);
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

Foundation::String ExportToFileVReportV::failureText() const
{
    return m_failuresItemV->failureText();
}

void ExportToFileVReportV::update(const std::optional<Config>& config)
{
    if (!config)
        return;
    if (const auto* failed = std::get_if<Failed>(&*config)) {
        m_titleLabel->setText(Foundation::String("Oops! Something went wrong"));
        m_successfullyExportedItemV->update(std::nullopt);
        m_failuresItemV->update(ReportFailureItemV::Config {
            Foundation::String("We were unable to export any items"),
            Foundation::String("There are any number of reasons why an export can fail. In order to protect your data we have NOT logged this error in "
                               "case it contains sensitive information.\n\nYou can help us fix this error by reporting it. Please replace any "
                               "sensitive information with *** before sending. Thanks!\n"),
            failed->errorDescription});
        return;
    }
    const auto& report = std::get<Completed>(*config).report;
    m_titleLabel->setText(Foundation::String(report.failures.empty() ? "Success!" : "Success... well mostly"));
    // The file holds the secrets in plain text: the user is told where it is.
    std::string message;
    if (report.fileURL)
        message = "Written to " + Shared::locationText(*report.fileURL).utf8() + "\n\n";
    message += ExportToFileVExportLocationV::unencryptedWarning;
    m_successfullyExportedItemV->update(
        ReportItemV::Config {Foundation::String(std::to_string(report.exportedCount) + " items successfully exported."), Foundation::String(message)});
    if (report.failures.empty()) {
        m_failuresItemV->update(std::nullopt);
        return;
    }
    m_failuresItemV->update(ReportFailureItemV::Config {
        Foundation::String(std::to_string(report.failures.size()) + " items failed to export."),
        Foundation::String("There are any number of reasons why an item could fail to export. In order to protect your data we have NOT logged these "
                           "failures in case they contain sensitive information.\n\nYou can help us fix these failures by reporting them. Please "
                           "replace any sensitive information with *** before sending. Thanks!\n"),
        ImportFromFileVReportV::numberedFailures(report.failures)});
}

void ExportToFileVReportV::update(const Shared::Settings::Appearance& appearance)
{
    m_titleLabel->setFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::title1(), false)));
}

} // namespace Corvendale
