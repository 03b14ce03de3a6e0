#pragma once

#include "Shared/Screens/FileURLInputDelegate.hpp"
#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>
#include <optional>

namespace Shared {
class FileURLInput;
}

namespace UIKit {
class UILabel;
}

namespace Corvendale {

class ImportFromFileV_AttachmentsToImportV_Delegate;

// ImportFromFileV.AttachmentsToImportV: the optional folder of attachments exported beside the file.
class ImportFromFileVAttachmentsToImportV : public UIKit::UIView,
                                            public Shared::PreferenceStoreAppearanceUpdateHandling,
                                            public Shared::FileURLInputDelegate {
public:
    std::shared_ptr<ImportFromFileV_AttachmentsToImportV_Delegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<ImportFromFileV_AttachmentsToImportV_Delegate>& delegate) { m_delegate = delegate; }
    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<Shared::FileURLInput>& fileURLInput() const { return m_fileURLInput; }

    std::optional<Foundation::String> locationText() const;
    void setLocationText(std::optional<Foundation::String> text);

    void update(const Shared::Settings::Appearance& appearance) override;

    void didSelect(const Foundation::URL& fileURL, Shared::FileURLInput& fileURLInput) override;
    void didSelectClear(Shared::FileURLInput& fileURLInput) override;
    void didFailToSelectFileURL(const Foundation::ErrorPtr& error, Shared::FileURLInput& fileURLInput) override;
    void didRequestFileURLPicker(Shared::FileURLInput& fileURLInput) override;

protected:
    friend Foundation::Construct;
    ImportFromFileVAttachmentsToImportV();
    void initialize() override;

private:
    std::weak_ptr<ImportFromFileV_AttachmentsToImportV_Delegate> m_delegate;
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<Shared::FileURLInput> m_fileURLInput;
};

} // namespace Corvendale
