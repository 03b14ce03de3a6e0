#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>

namespace UIKit {
class UILabel;
class UITextView;
} // namespace UIKit

namespace Corvendale {

// ImportFromFileV.FileToImportV.RequiredColumnLabelsV: the column labels a CSV format needs, in a
// selectable text so that they can be copied.
class ImportFromFileVFileToImportVRequiredColumnLabelsV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    const std::shared_ptr<UIKit::UILabel>& requirementLabel() const { return m_requirementLabel; }
    const std::shared_ptr<UIKit::UITextView>& columnLabelsTextView() const { return m_columnLabelsTextView; }
    Foundation::String columnLabelsText() const;
    void setColumnLabelsText(Foundation::String text);

    void update(const Shared::Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    ImportFromFileVFileToImportVRequiredColumnLabelsV();
    void initialize() override;

private:
    std::shared_ptr<UIKit::UILabel> m_requirementLabel;
    std::shared_ptr<UIKit::UITextView> m_columnLabelsTextView;
};

} // namespace Corvendale
