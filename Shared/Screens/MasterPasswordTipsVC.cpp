#include "Shared/Screens/MasterPasswordTipsVC.hpp"

#include "Shared/Screens/MasterPasswordTipsVCDelegate.hpp"
#include "Shared/Screens/UIView.hpp"


#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIControl.Event.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UINavigationItem.hpp"
#include "Platform/UIKit/UIStackView.hpp"

namespace Shared {
namespace {

const bool registered = [] {
    Foundation::MethodTable::add(Foundation::Selector("handleDoneCommand"), &MasterPasswordTipsVC::handleDoneCommand);
    return true;
}();

} // namespace

MasterPasswordTipsVC::MasterPasswordTipsVC(const std::shared_ptr<MasterPasswordTipsVCDelegate>& delegate)
    : m_delegate(delegate)
{
    (void)registered;
    navigationItem()->setTitle(Foundation::String("Master Password Tips"));
}

MasterPasswordTipsVC::MasterPasswordTipsVC(Foundation::NSCoder& coder)
    : UIViewController(coder)
{
    Foundation::fatalError("init(coder:) has not been implemented");
}

const std::vector<Foundation::String>& MasterPasswordTipsVC::tips()
{
    static const std::vector<Foundation::String> tips {
        Foundation::String("Make it long: four or five unrelated words are stronger than a short jumble, and easier to remember."),
        Foundation::String("Make it yours alone: never a password you use anywhere else, and nothing others know about you."),
        Foundation::String("Nobody can recover it for you. Write it down and keep the paper somewhere safe until you know it by heart."),
        Foundation::String("Type it now and then, even where biometry would do, so you do not forget it."),
    };
    return tips;
}

void MasterPasswordTipsVC::loadView()
{
    auto view = Foundation::make<UIKit::UIView>();
    view->setAccessibilityIdentifier(Foundation::String("MasterPasswordTipsVC"));
    auto stack = Foundation::make<UIKit::UIStackView>();
    stack->setAxis(UIKit::NSLayoutConstraint::Axis::vertical);
    stack->setSpacing(12);
    auto title = Foundation::make<UIKit::UILabel>();
    title->setText(navigationItem()->title());
    stack->addArrangedSubview(title);
    for (const auto& tip : tips()) {
        auto label = Foundation::make<UIKit::UILabel>();
        label->setNumberOfLines(0);
        label->setText(Foundation::String("• ") + tip);
        stack->addArrangedSubview(label);
    }
    auto done = Foundation::make<UIKit::UIButton>();
    done->setAccessibilityIdentifier(Foundation::String("MasterPasswordTipsVC.doneButton"));
    done->setTitle(Foundation::String("Done"), UIKit::UIControl::State::normal());
    std::weak_ptr<MasterPasswordTipsVC> weak = sharedSelf(this);
    done->addAction(
        [weak] {
            if (auto self = weak.lock())
                self->handleDoneCommand();
        },
        UIKit::UIControl::Event::primaryActionTriggered());
    stack->addArrangedSubview(done);
    addSubviewAsCenteredColumn(*view, stack, 20, 480);
    setView(view);
}

void MasterPasswordTipsVC::viewDidAppear(bool animated)
{
    UIViewController::viewDidAppear(animated);
    becomeFirstResponder();
}

std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> MasterPasswordTipsVC::keyCommands() const
{
    return std::vector {Foundation::make<UIKit::UIKeyCommand>(UIKit::UIKeyCommand::inputEscape(), UIKit::UIKeyModifierFlags {},
                                                              Foundation::Selector("handleDoneCommand"))};
}

void MasterPasswordTipsVC::handleDoneCommand()
{
    if (auto delegate = m_delegate.lock())
        delegate->didFinish(*this);
}

} // namespace Shared
