#pragma once

#include "Platform/UIKit/UIViewController.hpp"

#include <memory>
#include <vector>

namespace Shared {

class MasterPasswordTipsVCDelegate;

// Advice on choosing a master password, shown while one is created; Done (or Escape) tells the delegate.
class MasterPasswordTipsVC : public UIKit::UIViewController {
public:
    std::shared_ptr<MasterPasswordTipsVCDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<MasterPasswordTipsVCDelegate>& delegate) { m_delegate = delegate; }

    static const std::vector<Foundation::String>& tips();

    void loadView() override;
    // Takes the keys while shown, so Escape reaches it.
    void viewDidAppear(bool animated) override;
    bool canBecomeFirstResponder() const override { return true; }
    std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> keyCommands() const override;
    void handleDoneCommand();

protected:
    friend Foundation::Construct;
    explicit MasterPasswordTipsVC(const std::shared_ptr<MasterPasswordTipsVCDelegate>& delegate);
    // Built in code only: stops the program.
    explicit MasterPasswordTipsVC(Foundation::NSCoder& coder);

private:
    std::weak_ptr<MasterPasswordTipsVCDelegate> m_delegate;
};

} // namespace Shared
