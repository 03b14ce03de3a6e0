#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"
#include "Shared/Transfer/Exporter.Report.hpp"

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

// ExportToFileV.ReportV: how an ended export went: a headline, where the items were written and how
// many, and the failures in an editable box whose text the page's report mail carries.
class ExportToFileVReportV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    struct Completed {
        Shared::ExporterReport report;
    };
    struct Failed {
        Foundation::String errorDescription;
    };
    using Config = std::variant<Completed, Failed>;

    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<ReportItemV>& successfullyExportedItemV() const { return m_successfullyExportedItemV; }
    const std::shared_ptr<ReportFailureItemV>& failuresItemV() const { return m_failuresItemV; }
    Foundation::String failureText() const;

    // None leaves the report as it was.
    void update(const std::optional<Config>& config);
    void update(const Shared::Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    ExportToFileVReportV();
    void initialize() override;

private:
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<ReportItemV> m_successfullyExportedItemV;
    std::shared_ptr<ReportFailureItemV> m_failuresItemV;
};

} // namespace Corvendale
