#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UITextViewDelegate.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <functional>
#include <memory>
#include <optional>

namespace Basalwork {
class MultilineTextInput;
}

namespace UIKit {
class UILabel;
}

namespace Corvendale {

// ImportFromFileV.TagsToAddV: tags to add to every imported item, typed as one text. Each change
// reports the whole text as typed; splitting it into tags is the importer's work. Return ends editing.
class ImportFromFileVTagsToAddV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling, public UIKit::UITextViewDelegate {
public:
    std::function<void(const Foundation::String&)> onUpdate;

    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<Basalwork::MultilineTextInput>& valueTextInput() const { return m_valueTextInput; }

    std::optional<Foundation::String> text() const;
    // None clears the input.
    void setText(const std::optional<Foundation::String>& text);

    void update(const Shared::Settings::Appearance& appearance) override;
    void textViewDidChange(UIKit::UITextView& textView) override;
    bool textView(UIKit::UITextView& textView, Foundation::NSRange shouldChangeTextIn, const Foundation::String& replacementText) override;

protected:
    friend Foundation::Construct;
    ImportFromFileVTagsToAddV();
    void initialize() override;

private:
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<Basalwork::MultilineTextInput> m_valueTextInput;
};

} // namespace Corvendale
