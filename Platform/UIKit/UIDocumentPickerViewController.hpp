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

// Lets the user open a file or a folder: the path is typed into its field (starting in the directory
// given) and Open takes it, Cancel or Escape gives up. A folder type takes folders, every other type
// regular files; a path that is not one of those keeps the picker open and says why.
class UIDocumentPickerViewController : public UIViewController {
public:
    static constexpr const char* pathFieldIdentifier = "UIDocumentPickerViewController.path";

    const std::vector<UniformTypeIdentifiers::UTType>& contentTypes() const { return m_contentTypes; }
    std::shared_ptr<UIDocumentPickerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<UIDocumentPickerDelegate>& delegate) { m_delegate = delegate; }
    const std::optional<Foundation::URL>& directoryURL() const { return m_directoryURL; }
    void setDirectoryURL(std::optional<Foundation::URL> directoryURL);

    // What Open and Cancel do.
    void open();
    void cancel();

    void loadView() override;
    // The path field takes the keyboard.
    void viewDidAppear(bool animated) override;
    std::optional<std::vector<std::shared_ptr<UIKeyCommand>>> keyCommands() const override;

protected:
    friend Foundation::Construct;
    // init(forOpeningContentTypes:)
    explicit UIDocumentPickerViewController(std::vector<UniformTypeIdentifiers::UTType> contentTypes);

private:
    bool takesFolders() const;
    void finish(const std::optional<Foundation::URL>& picked);

    std::vector<UniformTypeIdentifiers::UTType> m_contentTypes;
    std::weak_ptr<UIDocumentPickerDelegate> m_delegate;
    std::optional<Foundation::URL> m_directoryURL;
    std::shared_ptr<UITextField> m_pathField;
    std::shared_ptr<UILabel> m_messageLabel;
    bool m_hasFinished = false;
};

} // namespace UIKit
