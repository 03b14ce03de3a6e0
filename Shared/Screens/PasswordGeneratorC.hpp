#pragma once

#include "Shared/Crypto/PasswordGenerator.hpp"
#include "Shared/Screens/Menu.Source.hpp"

#include "Platform/UIKit/UIViewController.hpp"

#include <memory>

namespace UIKit {
class UILabel;
class UISegmentedControl;
class UIStackView;
class UIStepper;
class UISwitch;
class UITextField;
class UIView;
} // namespace UIKit

namespace Shared {

class PasteboardCoordinator;
class PasswordGeneratorCDelegate;

// The password generator shown for one field: a fresh value from the chosen settings (a password of
// random or pronounceable characters or words, or a PIN), made again whenever a setting changes; Copy
// puts it on the pasteboard as a secret, Done hands it to the delegate.
class PasswordGeneratorC : public UIKit::UIViewController {
public:
    enum class Mode { password = 0, pin = 1 };

    std::shared_ptr<PasswordGeneratorCDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<PasswordGeneratorCDelegate>& delegate) { m_delegate = delegate; }
    Mode mode() const { return m_mode; }
    const MenuSource& menuSource() const { return m_menuSource; }
    std::shared_ptr<UIKit::UIView> sourceView() const { return m_sourceView.lock(); }

    // The settings used, and changed by the person; a PIN uses `pin`.
    const PasswordGenerator& generatorSettings() const { return m_settings; }
    void setGeneratorSettings(const PasswordGenerator& settings);
    const Foundation::String& password() const { return m_password; }
    void regenerate();

    void loadView() override;
    bool canBecomeFirstResponder() const override { return true; }
    void viewDidAppear(bool animated) override;
    std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> keyCommands() const override;
    void handleCancelCommand();
    void handleDoneCommand();
    void handleCopyCommand();

protected:
    friend Foundation::Construct;
    PasswordGeneratorC(std::shared_ptr<PasteboardCoordinator> pasteboardCoordinator, Mode mode, MenuSource menuSource,
                       const std::shared_ptr<UIKit::UIView>& sourceView, const std::shared_ptr<PasswordGeneratorCDelegate>& delegate = nullptr);
    // Built in code only: stops the program.
    explicit PasswordGeneratorC(Foundation::NSCoder& coder);

private:
    void showSettings();
    // The kind whose length the stepper sets: a PIN's in PIN mode.
    PasswordGenerator::Kind lengthKind() const;

    std::shared_ptr<PasteboardCoordinator> m_pasteboardCoordinator;
    Mode m_mode;
    MenuSource m_menuSource;
    std::weak_ptr<UIKit::UIView> m_sourceView;
    std::weak_ptr<PasswordGeneratorCDelegate> m_delegate;
    PasswordGenerator m_settings;
    Foundation::String m_password;

    std::shared_ptr<UIKit::UILabel> m_passwordLabel;
    std::shared_ptr<UIKit::UISegmentedControl> m_kindControl;
    std::shared_ptr<UIKit::UILabel> m_lengthLabel;
    std::shared_ptr<UIKit::UIStepper> m_lengthStepper;
    std::shared_ptr<UIKit::UIStackView> m_numbersRow;
    std::shared_ptr<UIKit::UISwitch> m_numbersSwitch;
    std::shared_ptr<UIKit::UIStackView> m_symbolsRow;
    std::shared_ptr<UIKit::UISwitch> m_symbolsSwitch;
    std::shared_ptr<UIKit::UIStackView> m_separatorRow;
    std::shared_ptr<UIKit::UITextField> m_separatorField;
};

} // namespace Shared
