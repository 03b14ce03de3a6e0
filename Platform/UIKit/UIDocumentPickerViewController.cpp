#include "Platform/UIKit/UIDocumentPickerViewController.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UIDocumentPickerDelegate.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UITextField.hpp"

#include <algorithm>
#include <mutex>

namespace UIKit {

UIDocumentPickerViewController::UIDocumentPickerViewController(std::vector<UniformTypeIdentifiers::UTType> contentTypes)
    : m_contentTypes(std::move(contentTypes))
{
    static std::once_flag registered;
    std::call_once(registered, [] {
        Foundation::MethodTable::add(Foundation::Selector("openDocumentPickerPath"), &UIDocumentPickerViewController::open);
        Foundation::MethodTable::add(Foundation::Selector("cancelDocumentPicker"), &UIDocumentPickerViewController::cancel);
    });
}

bool UIDocumentPickerViewController::takesFolders() const
{
    return std::ranges::find(m_contentTypes, UniformTypeIdentifiers::UTType::folder()) != m_contentTypes.end();
}

void UIDocumentPickerViewController::setDirectoryURL(std::optional<Foundation::URL> directoryURL)
{
    m_directoryURL = std::move(directoryURL);
    if (m_pathField && m_directoryURL)
        m_pathField->setText(m_directoryURL->path() + "/");
}

void UIDocumentPickerViewController::loadView()
{
    constexpr CGFloat width = 480;
    constexpr CGFloat margin = 16;
    auto view = Foundation::make<UIView>();
    view->setAccessibilityIdentifier(Foundation::String("UIDocumentPickerViewController"));
    auto title = Foundation::make<UILabel>();
    title->setText(takesFolders() ? Foundation::String("Choose a folder") : Foundation::String("Choose a file"));
    title->setFrame({margin, margin, width - 2 * margin, 20});
    view->addSubview(title);
    m_pathField = Foundation::make<UITextField>();
    m_pathField->setAccessibilityIdentifier(Foundation::String(pathFieldIdentifier));
    m_pathField->setPlaceholder(Foundation::String("Path"));
    if (m_directoryURL)
        m_pathField->setText(m_directoryURL->path() + "/");
    m_pathField->setFrame({margin, margin + 28, width - 2 * margin, 20});
    view->addSubview(m_pathField);
    m_messageLabel = Foundation::make<UILabel>();
    m_messageLabel->setFrame({margin, margin + 56, width - 2 * margin, 20});
    view->addSubview(m_messageLabel);
    std::weak_ptr<UIDocumentPickerViewController> weak = sharedSelf(this);
    CGFloat x = width - margin;
    for (auto [label, opens] : {std::pair {"Open", true}, std::pair {"Cancel", false}}) {
        auto button = Foundation::make<UIButton>();
        button->setTitle(Foundation::String(label), UIControl::State::normal());
        x -= 100;
        button->setFrame({x, margin + 84, 90, 20});
        button->addAction(
            [weak, opens] {
                if (auto self = weak.lock())
                    opens ? self->open() : self->cancel();
            },
            UIControl::Event::primaryActionTriggered());
        view->addSubview(button);
    }
    view->setFrame({0, 0, width, margin * 2 + 104});
    setPreferredContentSize({width, margin * 2 + 104});
    setView(view);
}

void UIDocumentPickerViewController::viewDidAppear(bool animated)
{
    UIViewController::viewDidAppear(animated);
    m_pathField->becomeFirstResponder();
}

std::optional<std::vector<std::shared_ptr<UIKeyCommand>>> UIDocumentPickerViewController::keyCommands() const
{
    auto open = Foundation::make<UIKeyCommand>("\r", UIKeyModifierFlags {}, Foundation::Selector("openDocumentPickerPath"));
    auto cancel = Foundation::make<UIKeyCommand>(UIKeyCommand::inputEscape(), UIKeyModifierFlags {}, Foundation::Selector("cancelDocumentPicker"));
    // The path field would take both keys otherwise.
    open->setWantsPriorityOverSystemBehavior(true);
    cancel->setWantsPriorityOverSystemBehavior(true);
    return std::vector {open, cancel};
}

void UIDocumentPickerViewController::open()
{
    loadViewIfNeeded();
    auto path = m_pathField->text().trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines());
    if (path.isEmpty())
        return;
    bool isDirectory = false;
    if (!Foundation::FileManager::defaultManager()->fileExists(path, isDirectory)) {
        m_messageLabel->setText(Foundation::String("There is no file or folder at this path."));
        return;
    }
    if (isDirectory != takesFolders()) {
        m_messageLabel->setText(takesFolders() ? Foundation::String("Choose a folder, not a file.") : Foundation::String("Choose a file, not a folder."));
        return;
    }
    finish(Foundation::URL::fileURLWithPath(path, isDirectory));
}

void UIDocumentPickerViewController::cancel()
{
    finish(std::nullopt);
}

void UIDocumentPickerViewController::finish(const std::optional<Foundation::URL>& picked)
{
    if (m_hasFinished)
        return;
    m_hasFinished = true;
    std::weak_ptr<UIDocumentPickerViewController> weak = sharedSelf(this);
    dismiss(true, [weak, picked] {
        auto self = weak.lock();
        auto delegate = self ? self->delegate() : nullptr;
        if (!delegate)
            return;
        if (picked)
            delegate->documentPicker(*self, {*picked});
        else
            delegate->documentPickerWasCancelled(*self);
    });
}

} // namespace UIKit
