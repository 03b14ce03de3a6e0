#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"
#include "Shared/Transfer/Importer.FileFormat.hpp"
#include "Shared/Transfer/Importer.Report.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>
#include <optional>
#include <variant>

namespace UIKit {
class UILabel;
}

namespace Corvendale {

class ReportFailureItemV;
class ReportItemV;

// ImportFromFileV.ReportV: how an ended import went: a headline, the imported and skipped counts, and
// the failures in an editable box whose text the page's report mail carries.
class ImportFromFileVReportV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    struct Completed {
        Shared::ImporterReport report;
    };
    struct FailedToAccessRequiredColumnLabel {
        Shared::ImporterFileFormat fileFormat;
        Foundation::String columnLabel;
    };
    struct Failed {
        Foundation::String errorDescription;
    };
    using Config = std::variant<Completed, FailedToAccessRequiredColumnLabel, Failed>;

    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<ReportItemV>& successfullyImportedItemV() const { return m_successfullyImportedItemV; }
    const std::shared_ptr<ReportItemV>& skippedItemV() const { return m_skippedItemV; }
    const std::shared_ptr<ReportFailureItemV>& failuresItemV() const { return m_failuresItemV; }
    Foundation::String failureText() const;

    // None leaves the report as it was.
    void update(const std::optional<Config>& config);
    void update(const Shared::Settings::Appearance& appearance) override;

    // "Failure 1:\n<text>", separated by blank lines.
    static Foundation::String numberedFailures(const std::vector<Foundation::String>& failures);

protected:
    friend Foundation::Construct;
    ImportFromFileVReportV();
    void initialize() override;

private:
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<ReportItemV> m_successfullyImportedItemV;
    std::shared_ptr<ReportItemV> m_skippedItemV;
    std::shared_ptr<ReportFailureItemV> m_failuresItemV;
};

} // namespace Corvendale
