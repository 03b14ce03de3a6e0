#include "Shared/Screens/FileURLInput.hpp"

#include "Shared/Screens/FileURLInputDelegate.hpp"
#include "Shared/Screens/FileURLInputError.hpp"

#include "Basalwork/Interface/EdgeConstraints.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/NSItemProvider.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Shared {

FileURLInput::FileURLInput(Foundation::NSCoder& coder)
    : UIView(coder)
{
    Foundation::fatalError("init(coder:) has not been implemented");
}

void FileURLInput::initialize()
{
    UIView::initialize();
    m_textLabel = Foundation::make<UIKit::UILabel>();
    m_textLabel->setNumberOfLines(1);
    m_textLabel->setLineBreakMode(UIKit::NSLineBreakMode::byTruncatingMiddle);
    m_textLabel->setContentCompressionResistancePriority(UIKit::UILayoutPriority::defaultLow(), UIKit::NSLayoutConstraint::Axis::horizontal);
    m_chooseButton = Foundation::make<UIKit::UIButton>();
    m_clearButton = Foundation::make<UIKit::UIButton>();
    m_clearButton->setTitle(Foundation::String("Clear"), UIKit::UIControl::State::normal());
    for (const auto& button : {m_chooseButton, m_clearButton})
        button->setContentHuggingPriority(UIKit::UILayoutPriority::required(), UIKit::NSLayoutConstraint::Axis::horizontal);

    std::weak_ptr<FileURLInput> weak = sharedSelf(this);
    m_chooseButton->addAction(
        [weak] {
            auto self = weak.lock();
            if (auto delegate = self ? self->delegate() : nullptr)
                delegate->didRequestFileURLPicker(*self);
        },
        UIKit::UIControl::Event::primaryActionTriggered());
    m_clearButton->addAction(
        [weak] {
            auto self = weak.lock();
            if (!self)
                return;
            self->m_droppedItemProvider.reset();
            if (auto delegate = self->delegate())
                delegate->didSelectClear(*self);
        },
        UIKit::UIControl::Event::primaryActionTriggered());

    m_stack = Foundation::make<UIKit::UIStackView>();
    m_stack->setAxis(UIKit::NSLayoutConstraint::Axis::horizontal);
    m_stack->setSpacing(10);
    m_stack->setAlignment(UIKit::UIStackView::Alignment::center);
    m_stack->addArrangedSubview(m_textLabel);
    m_stack->addArrangedSubview(m_clearButton);
    m_stack->addArrangedSubview(m_chooseButton);
    Basalwork::addSubviewWithEdgeContraints(*this, m_stack, Basalwork::LayoutInsets::zero(), [this](const Basalwork::EdgeConstraints& edges) {
        m_edgeConstraints = {edges.leading(), edges.trailing(), edges.top(), edges.bottom()};
    });
    update();
}

void FileURLInput::setContentType(UniformTypeIdentifiers::UTType contentType)
{
    m_contentType = std::move(contentType);
    update();
}

void FileURLInput::setPlaceholder(std::optional<Foundation::String> placeholder)
{
    m_placeholder = std::move(placeholder);
    update();
}

void FileURLInput::setText(std::optional<Foundation::String> text)
{
    m_text = std::move(text);
    update();
}

void FileURLInput::setContentInsets(const UIKit::UIEdgeInsets& insets)
{
    m_contentInsets = insets;
    // Leading, trailing, top, bottom, each counted inwards.
    m_edgeConstraints[0]->setConstant(insets.left);
    m_edgeConstraints[1]->setConstant(insets.right);
    m_edgeConstraints[2]->setConstant(insets.top);
    m_edgeConstraints[3]->setConstant(insets.bottom);
}

void FileURLInput::drop(const std::vector<Foundation::URL>& urls)
{
    if (urls.empty())
        return;
    m_droppedItemProvider.reset();
    const auto& url = urls.front();
    bool isDirectory = false;
    bool exists = url.isFileURL() && Foundation::FileManager::defaultManager()->fileExists(url.path(), isDirectory);
    bool wantsFolder = m_contentType == UniformTypeIdentifiers::UTType::folder();
    auto delegate = this->delegate();
    if (!delegate)
        return;
    if (wantsFolder && !(exists && isDirectory))
        delegate->didFailToSelectFileURL(FileURLInputError::notAFolder(url).clone(), *this);
    else if (!wantsFolder && !(exists && !isDirectory))
        delegate->didFailToSelectFileURL(FileURLInputError::notAFile(url).clone(), *this);
    else
        delegate->didSelect(url, *this);
}

void FileURLInput::dropItemProvider(const std::shared_ptr<Foundation::NSItemProvider>& itemProvider)
{
    if (!itemProvider)
        return;
    m_droppedItemProvider.reset();
    auto delegate = this->delegate();
    if (!delegate)
        return;
    const auto& folder = UniformTypeIdentifiers::UTType::folder().identifier;
    const bool wantsFolder = m_contentType == UniformTypeIdentifiers::UTType::folder();
    const bool isFolder = itemProvider->hasItemConformingToTypeIdentifier(folder);
    if (wantsFolder != isFolder || (!isFolder && !itemProvider->hasItemConformingToTypeIdentifier(UniformTypeIdentifiers::UTType::data().identifier))) {
        const auto url = Foundation::URL::fileURLWithPath(Foundation::String("/") + itemProvider->suggestedName().value_or(Foundation::String("Item")));
        delegate->didFailToSelectFileURL(wantsFolder ? FileURLInputError::notAFolder(url).clone() : FileURLInputError::notAFile(url).clone(), *this);
        return;
    }
    std::weak_ptr<FileURLInput> weak = sharedSelf(this);
    itemProvider->loadFileRepresentation(isFolder ? folder : UniformTypeIdentifiers::UTType::data().identifier,
                                         [weak, itemProvider](const std::optional<Foundation::URL>& url, const Foundation::ErrorPtr& error) {
                                             auto self = weak.lock();
                                             auto delegate = self ? self->delegate() : nullptr;
                                             if (!delegate)
                                                 return;
                                             if (!url) {
                                                 if (error)
                                                     delegate->didFailToSelectFileURL(error, *self);
                                                 return;
                                             }
                                             self->drop(std::vector {*url});
                                             self->m_droppedItemProvider = itemProvider;
                                         });
}

void FileURLInput::didMoveToWindow()
{
    UIView::didMoveToWindow();
    if (!window())
        m_droppedItemProvider.reset();
}

void FileURLInput::update()
{
    bool hasText = m_text && !m_text->isEmpty();
    m_textLabel->setText(hasText ? m_text : (m_placeholder ? m_placeholder : Foundation::String(" ")));
    m_textLabel->setAlpha(hasText ? 1.0 : 0.6);
    Basalwork::setIsVisible(*m_clearButton, hasText);
    bool wantsFolder = m_contentType == UniformTypeIdentifiers::UTType::folder();
    m_chooseButton->setTitle(Foundation::String(wantsFolder ? "Choose Folder…" : "Choose File…"), UIKit::UIControl::State::normal());
}

} // namespace Shared
