#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"
#include "Platform/UIKit/UIEdgeInsets.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UniformTypeIdentifiers/UTType.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace Foundation {
class NSItemProvider;
}

namespace UIKit {
class NSLayoutConstraint;
class UIButton;
class UILabel;
class UIStackView;
} // namespace UIKit

namespace Shared {

class FileURLInputDelegate;

// A field that takes a file or a folder: dropped on it, or chosen through the picker its owner shows.
// It shows the text its owner gives (the placeholder while there is none) and offers to clear it. What
// it takes is reported, never kept: the owner decides and sets the text again.
class FileURLInput : public UIKit::UIView {
public:
    std::shared_ptr<FileURLInputDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<FileURLInputDelegate>& delegate) { m_delegate = delegate; }

    const UniformTypeIdentifiers::UTType& contentType() const { return m_contentType; }
    // Folders take folders; every other type takes regular files.
    void setContentType(UniformTypeIdentifiers::UTType contentType);
    const std::optional<Foundation::String>& placeholder() const { return m_placeholder; }
    void setPlaceholder(std::optional<Foundation::String> placeholder);
    const std::optional<Foundation::String>& text() const { return m_text; }
    void setText(std::optional<Foundation::String> text);
    UIKit::UIEdgeInsets contentInsets() const { return m_contentInsets; }
    void setContentInsets(const UIKit::UIEdgeInsets& insets);

    // Files dropped on the field: the first is taken when it is of the accepted kind, otherwise the
    // failure is reported. Nothing dropped, nothing reported.
    void drop(const std::vector<Foundation::URL>& urls);
    // A dragged item: a folder input refuses what is not a folder before anything is made; otherwise the
    // item's file is asked for and taken as a dropped file. That file lives as long as the input keeps
    // the item: until the next drop, the clear button, or the input leaving its window.
    void dropItemProvider(const std::shared_ptr<Foundation::NSItemProvider>& itemProvider);
    const std::shared_ptr<Foundation::NSItemProvider>& droppedItemProvider() const { return m_droppedItemProvider; }

    const std::shared_ptr<UIKit::UIButton>& chooseButton() const { return m_chooseButton; }
    const std::shared_ptr<UIKit::UIButton>& clearButton() const { return m_clearButton; }

protected:
    friend Foundation::Construct;
    FileURLInput() = default;
    // Built in code only: stops the program.
    explicit FileURLInput(Foundation::NSCoder& coder);
    void initialize() override;
    void didMoveToWindow() override;

private:
    void update();

    std::weak_ptr<FileURLInputDelegate> m_delegate;
    UniformTypeIdentifiers::UTType m_contentType = UniformTypeIdentifiers::UTType::data();
    std::optional<Foundation::String> m_placeholder;
    std::optional<Foundation::String> m_text;
    UIKit::UIEdgeInsets m_contentInsets {};
    std::shared_ptr<UIKit::UIStackView> m_stack;
    std::shared_ptr<UIKit::UILabel> m_textLabel;
    std::shared_ptr<UIKit::UIButton> m_chooseButton;
    std::shared_ptr<UIKit::UIButton> m_clearButton;
    std::vector<std::shared_ptr<UIKit::NSLayoutConstraint>> m_edgeConstraints;
    std::shared_ptr<Foundation::NSItemProvider> m_droppedItemProvider;
};

} // namespace Shared
