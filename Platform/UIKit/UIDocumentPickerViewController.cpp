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
#include <filesystem>
#include <mutex>
#include <sys/stat.h>

namespace UIKit {

namespace fs = std::filesystem;

UIDocumentPickerViewController::UIDocumentPickerViewController(std::vector<UniformTypeIdentifiers::UTType> contentTypes)
    : m_contentTypes(std::move(contentTypes))
{
    registerMethods();
}

UIDocumentPickerViewController::UIDocumentPickerViewController(std::vector<Foundation::URL> forExporting, bool asCopy)
    : m_urlsToExport(std::move(forExporting))
    , m_exportsAsCopy(asCopy)
{
    registerMethods();
}

void UIDocumentPickerViewController::registerMethods()
{
    static std::once_flag registered;
    std::call_once(registered, [] {
        Foundation::MethodTable::add(Foundation::Selector("openDocumentPickerPath"), &UIDocumentPickerViewController::open);
        Foundation::MethodTable::add(Foundation::Selector("cancelDocumentPicker"), &UIDocumentPickerViewController::cancel);
        Foundation::MethodTable::add(Foundation::Selector("completeDocumentPickerPath"), &UIDocumentPickerViewController::complete);
    });
}

bool UIDocumentPickerViewController::takesFolders() const
{
    return !m_urlsToExport.empty() || std::ranges::find(m_contentTypes, UniformTypeIdentifiers::UTType::folder()) != m_contentTypes.end();
}

void UIDocumentPickerViewController::setDirectoryURL(std::optional<Foundation::URL> directoryURL)
{
    m_directoryURL = std::move(directoryURL);
    if (m_pathField && m_directoryURL) {
        m_pathField->setText(m_directoryURL->path() + "/");
        updateCompletions();
    }
}

void UIDocumentPickerViewController::loadView()
{
    constexpr CGFloat width = 480;
    constexpr CGFloat margin = 16;
    const bool exporting = !m_urlsToExport.empty();
    auto view = Foundation::make<UIView>();
    view->setAccessibilityIdentifier(Foundation::String("UIDocumentPickerViewController"));
    auto title = Foundation::make<UILabel>();
    title->setText(Foundation::String(exporting ? "Choose where to save" : takesFolders() ? "Choose a folder" : "Choose a file"));
    title->setFrame({margin, margin, width - 2 * margin, 20});
    view->addSubview(title);
    m_pathField = Foundation::make<UITextField>();
    m_pathField->setAccessibilityIdentifier(Foundation::String(pathFieldIdentifier));
    m_pathField->setPlaceholder(Foundation::String("Path"));
    if (m_directoryURL)
        m_pathField->setText(m_directoryURL->path() + "/");
    m_pathField->setFrame({margin, margin + 28, width - 2 * margin, 20});
    std::weak_ptr<UIDocumentPickerViewController> weak = sharedSelf(this);
    m_pathField->addAction(
        [weak] {
            if (auto self = weak.lock())
                self->updateCompletions();
        },
        UIControl::Event::editingChanged());
    view->addSubview(m_pathField);
    m_completionsLabel = Foundation::make<UILabel>();
    m_completionsLabel->setAccessibilityIdentifier(Foundation::String(completionsIdentifier));
    m_completionsLabel->setNumberOfLines(0);
    m_completionsLabel->setFrame({margin, margin + 56, width - 2 * margin, 20 * 4});
    view->addSubview(m_completionsLabel);
    m_messageLabel = Foundation::make<UILabel>();
    m_messageLabel->setFrame({margin, margin + 140, width - 2 * margin, 20});
    view->addSubview(m_messageLabel);
    CGFloat x = width - margin;
    for (auto [label, opens] : {std::pair {exporting ? "Save" : "Open", true}, std::pair {"Cancel", false}}) {
        auto button = Foundation::make<UIButton>();
        button->setTitle(Foundation::String(label), UIControl::State::normal());
        x -= 100;
        button->setFrame({x, margin + 168, 90, 20});
        button->addAction(
            [weak, opens] {
                if (auto self = weak.lock())
                    opens ? self->open() : self->cancel();
            },
            UIControl::Event::primaryActionTriggered());
        view->addSubview(button);
    }
    view->setFrame({0, 0, width, margin * 2 + 188});
    setPreferredContentSize({width, margin * 2 + 188});
    setView(view);
    updateCompletions();
}

void UIDocumentPickerViewController::viewDidAppear(bool animated)
{
    UIViewController::viewDidAppear(animated);
    m_pathField->becomeFirstResponder();
}

void UIDocumentPickerViewController::viewDidDisappear(bool animated)
{
    UIViewController::viewDidDisappear(animated);
    if (!isBeingDismissed() || m_hasFinished)
        return;
    m_hasFinished = true;
    if (auto delegate = this->delegate())
        delegate->documentPickerWasCancelled(*this);
}

std::optional<std::vector<std::shared_ptr<UIKeyCommand>>> UIDocumentPickerViewController::keyCommands() const
{
    auto open = Foundation::make<UIKeyCommand>("\r", UIKeyModifierFlags {}, Foundation::Selector("openDocumentPickerPath"));
    auto cancel = Foundation::make<UIKeyCommand>(UIKeyCommand::inputEscape(), UIKeyModifierFlags {}, Foundation::Selector("cancelDocumentPicker"));
    auto complete = Foundation::make<UIKeyCommand>("\t", UIKeyModifierFlags {}, Foundation::Selector("completeDocumentPickerPath"));
    // The path field would take these keys otherwise.
    for (const auto& command : {open, cancel, complete})
        command->setWantsPriorityOverSystemBehavior(true);
    return std::vector {open, cancel, complete};
}

std::vector<Foundation::String> UIDocumentPickerViewController::completions() const
{
    if (!m_pathField)
        return {};
    const auto typed = m_pathField->text().utf8();
    const auto slash = typed.rfind('/');
    if (slash == std::string::npos)
        return {};
    const auto folder = typed.substr(0, slash + 1);
    const auto prefix = typed.substr(slash + 1);
    std::vector<Foundation::String> names;
    std::error_code error;
    for (fs::directory_iterator entries(folder, error), end; !error && entries != end; entries.increment(error)) {
        auto name = entries->path().filename().string();
        // Hidden entries only when asked for by their dot.
        if (!name.starts_with(prefix) || (name.starts_with(".") && !prefix.starts_with(".")))
            continue;
        std::error_code ignored;
        const bool isFolder = entries->is_directory(ignored);
        if (takesFolders() && !isFolder)
            continue;
        names.emplace_back(isFolder ? name + "/" : name);
    }
    std::ranges::sort(names, [](const auto& a, const auto& b) { return a.utf8() < b.utf8(); });
    return names;
}

void UIDocumentPickerViewController::updateCompletions()
{
    if (!m_completionsLabel)
        return;
    const auto names = completions();
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < shownCompletions; ++i)
        text += (i ? "  " : "") + names[i].utf8();
    if (names.size() > shownCompletions)
        text += "  … " + std::to_string(names.size() - shownCompletions) + " more";
    m_completionsLabel->setText(Foundation::String(text));
}

void UIDocumentPickerViewController::complete()
{
    loadViewIfNeeded();
    const auto names = completions();
    if (names.empty())
        return;
    auto shared = names.front().utf8();
    for (const auto& name : names) {
        const auto& other = name.utf8();
        std::size_t length = 0;
        while (length < shared.size() && length < other.size() && shared[length] == other[length])
            ++length;
        shared.resize(length);
    }
    const auto typed = m_pathField->text().utf8();
    m_pathField->setText(Foundation::String(typed.substr(0, typed.rfind('/') + 1) + shared));
    updateCompletions();
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
    if (m_urlsToExport.empty())
        return finish({Foundation::URL::fileURLWithPath(path, isDirectory)});
    if (auto saved = exportInto(path.utf8()))
        finish(*saved);
}

std::optional<std::vector<Foundation::URL>> UIDocumentPickerViewController::exportInto(const std::string& folder)
{
    // Nothing is written unless every name is free, so a refusal leaves the folder as it was.
    std::vector<fs::path> destinations;
    for (const auto& url : m_urlsToExport) {
        auto destination = fs::path(folder) / fs::path(url.path().utf8()).filename();
        std::error_code error;
        if (fs::exists(fs::symlink_status(destination, error))) {
            m_messageLabel->setText(Foundation::String("\"" + destination.filename().string() + "\" is already there: choose another folder."));
            return std::nullopt;
        }
        destinations.push_back(std::move(destination));
    }
    std::vector<Foundation::URL> saved;
    for (std::size_t i = 0; i < destinations.size(); ++i) {
        const fs::path source(m_urlsToExport[i].path().utf8());
        std::error_code error;
        fs::copy(source, destinations[i], fs::copy_options::recursive, error);
        if (!error && !m_exportsAsCopy)
            fs::remove_all(source, error);
        if (error) {
            m_messageLabel->setText(Foundation::String("Could not save \"" + destinations[i].filename().string() + "\": " + error.message()));
            return std::nullopt;
        }
        // What is saved out of the program is its owner's alone, like everything it writes.
        ::chmod(destinations[i].c_str(), fs::is_directory(destinations[i]) ? 0700 : 0600);
        saved.push_back(Foundation::URL::fileURLWithPath(Foundation::String(destinations[i].string()), fs::is_directory(destinations[i])));
    }
    return saved;
}

void UIDocumentPickerViewController::cancel()
{
    finish({});
}

void UIDocumentPickerViewController::finish(const std::vector<Foundation::URL>& picked)
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
        if (!picked.empty())
            delegate->documentPicker(*self, picked);
        else
            delegate->documentPickerWasCancelled(*self);
    });
}

} // namespace UIKit
