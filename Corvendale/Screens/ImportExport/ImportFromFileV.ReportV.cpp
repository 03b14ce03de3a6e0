#include "Corvendale/Screens/ImportExport/ImportFromFileV.ReportV.hpp"

#include "Corvendale/Screens/ImportExport/ReportFailureItemV.hpp"
#include "Corvendale/Screens/ImportExport/ReportItemV.hpp"

#include "Shared/Model/Global.hpp"
#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"

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

namespace {

const char* const failedMessage =
    "There are any number of reasons why an import can fail. In order to protect your data we have NOT logged this error in case it "
    "contains sensitive information.\n\nYou can help us fix this error by reporting it. Please replace any sensitive information with "
    "*** before sending. Thanks!\n";
const char* const failuresMessage =
    "There are any number of reasons why an item could fail to import. In order to protect your data we have NOT logged these "
    "failures in case they contain sensitive information.\n\nYou can help us fix these failures by reporting them. Please replace any "
    "sensitive information with *** before sending. Thanks!\n";

} // namespace

ImportFromFileVReportV::ImportFromFileVReportV()
    : UIView(UIKit::CGRect::zero())
{
}

void ImportFromFileVReportV::initialize()
{
    UIView::initialize();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_successfullyImportedItemV = Foundation::make<ReportItemV>(Foundation::String("ReportV.ItemV"), true);
    m_skippedItemV = Foundation::make<ReportItemV>(Foundation::String("ReportV.ItemV"), true);
    m_failuresItemV = Foundation::make<ReportFailureItemV>(Foundation::String("ReportV.FailureItemV"), true, true);
    setAccessibilityIdentifier(Foundation::String("ReportV"));
    setBackgroundColor(UIKit::UIColor::clear());
    auto stack = Basalwork::UIStackViews::withAxis(UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill,
                                                   UIKit::UIStackView::Distribution::fill, 20);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);
    m_titleLabel->setTextColor(Shared::UIColors::primaryTint());
    m_titleLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_titleLabel);
    stack->addArrangedSubview(m_titleLabel);
    stack->addArrangedSubview(m_successfullyImportedItemV);
    stack->addArrangedSubview(m_skippedItemV);
    stack->addArrangedSubview(m_failuresItemV);
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

Foundation::String ImportFromFileVReportV::failureText() const
{
    return m_failuresItemV->failureText();
}

Foundation::String ImportFromFileVReportV::numberedFailures(const std::vector<Foundation::String>& failures)
{
    std::vector<Foundation::String> numbered;
    for (std::size_t i = 0; i < failures.size(); ++i)
        numbered.emplace_back("Failure " + std::to_string(i + 1) + ":\n" + failures[i].utf8());
    return Foundation::joined(numbered, "\n\n");
}

void ImportFromFileVReportV::update(const std::optional<Config>& config)
{
    if (!config)
        return;
    const auto product = Shared::Global::corvendale().utf8();
    if (const auto* completed = std::get_if<Completed>(&*config)) {
        const auto& report = completed->report;
        m_titleLabel->setText(Foundation::String(report.failures.empty() ? "Success!" : "Success... well mostly"));
        m_successfullyImportedItemV->update(ReportItemV::Config {
            Foundation::String(std::to_string(report.importedCount) + " items successfully imported."),
            Foundation::String("In our experience importing and exporting data between different apps can be a little tricky. Things sometimes get "
                               "missed. Please confirm all the data you expect is now present in "
                               + product + ".")});
        if (report.skippedCount > 0)
            m_skippedItemV->update(ReportItemV::Config {
                Foundation::String(std::to_string(report.skippedCount) + " skipped items."),
                Foundation::String("Items are skipped when an item with the same identifier already exists in " + product
                                   + ". Generally this occurs if the same data is imported more than once.")});
        else
            m_skippedItemV->update(std::nullopt);
        if (report.failures.empty())
            m_failuresItemV->update(std::nullopt);
        else
            m_failuresItemV->update(ReportFailureItemV::Config {Foundation::String(std::to_string(report.failures.size()) + " items failed to import."),
                                                                Foundation::String(failuresMessage), numberedFailures(report.failures)});
        return;
    }
    m_titleLabel->setText(Foundation::String("Oops! Something went wrong"));
    m_successfullyImportedItemV->update(std::nullopt);
    m_skippedItemV->update(std::nullopt);
    if (const auto* missing = std::get_if<FailedToAccessRequiredColumnLabel>(&*config)) {
        m_failuresItemV->update(ReportFailureItemV::Config {
            Foundation::String("Looks like your .csv file is missing the required case-sensitive column label \"" + missing->columnLabel.utf8() + "\"."),
            Foundation::String("Not to worry, this can be fixed using a spreadsheet application like Apple Numbers or Microsoft Excel:\n\n1. Open the "
                               ".csv file in the spreadsheet application.\n\n2. Update the column labels found in the first row to match the "
                               "required column labels listed below. Please remember these column labels are case-sensitive so they need to "
                               "match exactly:\n\n"
                               + Foundation::joined(Shared::requiredCSVColumnLabels(missing->fileFormat), ", ").utf8()
                               + "\n\n3. Export the updated data to a new .csv file.\n\n4. Import the new .csv file into " + product
                               + ".\n\nHopefully all will go well and you will never see this message again! If not, please contact us for "
                                 "help. Good luck!"),
            Foundation::String()});
    } else if (const auto* failed = std::get_if<Failed>(&*config)) {
        m_failuresItemV->update(ReportFailureItemV::Config {Foundation::String("We were unable to import any items"), Foundation::String(failedMessage),
                                                            failed->errorDescription});
    }
}

void ImportFromFileVReportV::update(const Shared::Settings::Appearance& appearance)
{
    m_titleLabel->setFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::title1(), false)));
}

} // namespace Corvendale
