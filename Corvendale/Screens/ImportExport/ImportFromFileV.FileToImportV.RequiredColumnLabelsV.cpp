#include "Corvendale/Screens/ImportExport/ImportFromFileV.FileToImportV.RequiredColumnLabelsV.hpp"

#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UITextView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/UITextView.hpp"

namespace Corvendale {

ImportFromFileVFileToImportVRequiredColumnLabelsV::ImportFromFileVFileToImportVRequiredColumnLabelsV()
    : UIView(UIKit::CGRect::zero())
{
}

void ImportFromFileVFileToImportVRequiredColumnLabelsV::initialize()
{
    UIView::initialize();
    m_requirementLabel = Foundation::make<UIKit::UILabel>();
    m_columnLabelsTextView = Foundation::make<UIKit::UITextView>();
    setAccessibilityIdentifier(Foundation::String("RequiredColumnLabelsV"));
    setBackgroundColor(UIKit::UIColor::clear());
    auto stack = Basalwork::UIStackViews::withAxis(UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill,
                                                   UIKit::UIStackView::Distribution::fill, 12);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);
    m_requirementLabel->setText(
        Foundation::String("Please ensure your .csv file has the following required case-sensitive column labels in the first row:"));
    m_requirementLabel->setTextColor(Shared::UIColors::secondaryTint());
    m_requirementLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_requirementLabel);
    stack->addArrangedSubview(m_requirementLabel);
    m_columnLabelsTextView->setText(Foundation::String(" "));
    m_columnLabelsTextView->setTextColor(Shared::UIColors::secondaryTint());
    m_columnLabelsTextView->setBackgroundColor(UIKit::UIColor::clear());
    Basalwork::removeContentInsets(*m_columnLabelsTextView);
    m_columnLabelsTextView->setIsScrollEnabled(false);
    m_columnLabelsTextView->setIsEditable(false);
    m_columnLabelsTextView->setIsSelectable(true);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_columnLabelsTextView);
    stack->addArrangedSubview(m_columnLabelsTextView);
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

Foundation::String ImportFromFileVFileToImportVRequiredColumnLabelsV::columnLabelsText() const
{
    return m_columnLabelsTextView->text();
}

void ImportFromFileVFileToImportVRequiredColumnLabelsV::setColumnLabelsText(Foundation::String text)
{
    m_columnLabelsTextView->setText(std::move(text));
}

void ImportFromFileVFileToImportVRequiredColumnLabelsV::update(const Shared::Settings::Appearance& appearance)
{
    m_requirementLabel->setFont(appearance.font(UIKit::UIFont::TextStyle::title3(), false));
    m_columnLabelsTextView->setFont(appearance.font(UIKit::UIFont::TextStyle::title3(), false));
}

} // namespace Corvendale
