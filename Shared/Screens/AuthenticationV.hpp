#pragma once

#include "Shared/Screens/AuthenticationV.Link.hpp"
#include "Shared/Screens/AuthenticationV.State.hpp"

#include "Platform/UIKit/UIView.hpp"

#include <functional>
#include <memory>

namespace UIKit {
class UIActivityIndicatorView;
class UIButton;
class UILabel;
class UIStackView;
class UISwitch;
class UITextField;
} // namespace UIKit

namespace Shared {

class FileURLInput;

// The unlock screen's content: for each state a title, a message, the fields, buttons and links that
// state needs, and nothing else. Every control reports through its `on*` handler; the view keeps no
// state beyond what it shows.
class AuthenticationV : public UIKit::UIView {
public:
    using State = AuthenticationVState;
    using Link = AuthenticationVLink;

    std::function<void(const Foundation::String&)> onEntryTextChange;
    std::function<void(const Foundation::String&)> onReEntryTextChange;
    std::function<void()> onPrimary;
    std::function<void()> onSecondary;
    std::function<void()> onBiometry;
    std::function<void()> onTips;
    std::function<void(Link)> onLink;
    std::function<void(bool isAutoCopyOTPDisabled)> onAutoCopyChange;

    // Shows the state; a field that already holds the state's text keeps its cursor.
    void show(const State& state);
    // Whether the primary action applies to the state as typed (the screen refuses it otherwise).
    static bool isPrimaryEnabled(const State& state);

    const std::shared_ptr<UIKit::UITextField>& entryField() const { return m_entryField; }
    const std::shared_ptr<UIKit::UITextField>& reEntryField() const { return m_reEntryField; }
    const std::shared_ptr<FileURLInput>& fileURLInput() const { return m_fileURLInput; }
    const std::shared_ptr<UIKit::UIButton>& primaryButton() const { return m_primaryButton; }
    const std::shared_ptr<UIKit::UIButton>& secondaryButton() const { return m_secondaryButton; }
    const std::shared_ptr<UIKit::UIButton>& linkButton() const { return m_linkButton; }
    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<UIKit::UILabel>& messageLabel() const { return m_messageLabel; }
    const std::shared_ptr<UIKit::UILabel>& statusLabel() const { return m_statusLabel; }

protected:
    friend Foundation::Construct;
    AuthenticationV() = default;
    // Built in code only: stops the program.
    explicit AuthenticationV(Foundation::NSCoder& coder);
    void initialize() override;

private:
    std::shared_ptr<UIKit::UIButton> makeButton(const char* identifier, std::function<void()> action);

    std::shared_ptr<UIKit::UIStackView> m_stack;
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<UIKit::UILabel> m_messageLabel;
    std::shared_ptr<UIKit::UIActivityIndicatorView> m_activityIndicator;
    std::shared_ptr<UIKit::UITextField> m_entryField;
    std::shared_ptr<UIKit::UITextField> m_reEntryField;
    std::shared_ptr<FileURLInput> m_fileURLInput;
    std::shared_ptr<UIKit::UIStackView> m_autoCopyRow;
    std::shared_ptr<UIKit::UISwitch> m_autoCopySwitch;
    std::shared_ptr<UIKit::UILabel> m_statusLabel;
    std::shared_ptr<UIKit::UIButton> m_primaryButton;
    std::shared_ptr<UIKit::UIButton> m_biometryButton;
    std::shared_ptr<UIKit::UIButton> m_tipsButton;
    std::shared_ptr<UIKit::UIButton> m_secondaryButton;
    std::shared_ptr<UIKit::UIButton> m_linkButton;
    Link m_link = Link::website;
    State m_shownState = AuthenticationVState::Loading {};
    bool m_isShowingPassword = false;
};

} // namespace Shared
