#pragma once

#include "Platform/Foundation/URL.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Platform/UniformTypeIdentifiers/UTType.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace UIKit {

class UIButton;
class UIDocumentPickerDelegate;
class UILabel;
class UITextField;

// Lets the user open a file or a folder, or choose the folder that files are saved to: the path is
// typed into its field (starting in the directory given), with the entries of the folder typed so far
// listed under it and Tab completing the name, and Open (Save) takes it; Cancel or Escape gives up. A
// folder type takes folders, every other type regular files; a path that is not one of those keeps the
// picker open and says why. Saving copies (or moves) the files into the folder under their own names,
// never over a file already there, and tells the delegate where they went. A picker dismissed by
// anything else (what presents it going) tells its delegate it was cancelled.
class UIDocumentPickerViewController : public UIViewController {
public:
    static constexpr const char* pathFieldIdentifier = "UIDocumentPickerViewController.path";
    static constexpr const char* completionsIdentifier = "UIDocumentPickerViewController.completions";
    static constexpr std::size_t shownCompletions = 8;

    const std::vector<UniformTypeIdentifiers::UTType>& contentTypes() const { return m_contentTypes; }
    // The files a picker for exporting saves; empty for one that opens.
    const std::vector<Foundation::URL>& urlsToExport() const { return m_urlsToExport; }
    std::shared_ptr<UIDocumentPickerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<UIDocumentPickerDelegate>& delegate) { m_delegate = delegate; }
    const std::optional<Foundation::URL>& directoryURL() const { return m_directoryURL; }
    void setDirectoryURL(std::optional<Foundation::URL> directoryURL);

    // What Open (Save) and Cancel do.
    void open();
    void cancel();
    // The entries of the typed path's folder that begin with its last part, folders ending in "/".
    std::vector<Foundation::String> completions() const;
    // Tab: the typed name grows to what all its completions share.
    void complete();

    void loadView() override;
    // The path field takes the keyboard.
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;
    std::optional<std::vector<std::shared_ptr<UIKeyCommand>>> keyCommands() const override;

protected:
    friend Foundation::Construct;
    // init(forOpeningContentTypes:)
    explicit UIDocumentPickerViewController(std::vector<UniformTypeIdentifiers::UTType> contentTypes);
    // init(forExporting:asCopy:): the files are saved into the folder the user chooses, copied or moved.
    UIDocumentPickerViewController(std::vector<Foundation::URL> forExporting, bool asCopy);

private:
    bool takesFolders() const;
    void finish(const std::vector<Foundation::URL>& picked);
    // Saves the files into the folder; their new places, or nothing with the reason shown.
    std::optional<std::vector<Foundation::URL>> exportInto(const std::string& folder);
    void updateCompletions();
    static void registerMethods();

    std::vector<UniformTypeIdentifiers::UTType> m_contentTypes;
    std::vector<Foundation::URL> m_urlsToExport;
    bool m_exportsAsCopy = true;
    std::shared_ptr<UILabel> m_completionsLabel;
    std::weak_ptr<UIDocumentPickerDelegate> m_delegate;
    std::optional<Foundation::URL> m_directoryURL;
    std::shared_ptr<UITextField> m_pathField;
    std::shared_ptr<UILabel> m_messageLabel;
    bool m_hasFinished = false;
};

} // namespace UIKit
