#include "Platform/UIKit/UIActivityViewController.hpp"

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIPasteboard.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <algorithm>
#include <mutex>

namespace UIKit {

const UIActivityViewController::ActivityType& UIActivityViewController::copyToPasteboard()
{
    static const ActivityType type = "com.apple.UIKit.activity.CopyToPasteboard";
    return type;
}

UIActivityViewController::UIActivityViewController(std::vector<Foundation::String> activityItems)
    : m_activityItems(std::move(activityItems))
{
    // A share sheet opens from what the user clicked.
    setModalPresentationStyle(UIModalPresentationStyle::popover);
}

UIActivityViewController::UIActivityViewController(std::vector<Foundation::URL> activityFileURLs)
    : m_activityFileURLs(std::move(activityFileURLs))
{
    setModalPresentationStyle(UIModalPresentationStyle::popover);
}

void UIActivityViewController::initialize()
{
    UIViewController::initialize();
    static std::once_flag registered;
    std::call_once(registered, [] {
        Foundation::MethodTable::add(Foundation::Selector("cancelActivitySheet"), &UIActivityViewController::cancel);
    });
}

std::vector<UIActivityViewController::ActivityType> UIActivityViewController::activityTypes() const
{
    if (m_activityItems.empty() && m_activityFileURLs.empty())
        return {};
    return {copyToPasteboard()};
}

void UIActivityViewController::loadView()
{
    constexpr CGFloat width = 200;
    constexpr CGFloat rowHeight = 44;
    auto column = Foundation::make<UIView>();
    CGFloat y = 0;
    for (const auto& type : activityTypes()) {
        auto button = Foundation::make<UIButton>();
        button->setTitle(type == copyToPasteboard() ? "Copy" : type, UIControl::State::normal());
        button->setAccessibilityIdentifier(type);
        button->setFrame({0, y, width, rowHeight});
        std::weak_ptr<UIActivityViewController> weakSelf = sharedSelf(this);
        button->addAction([weakSelf, type] {
            if (auto self = weakSelf.lock())
                self->perform(type);
        }, UIControl::Event::primaryActionTriggered());
        column->addSubview(button);
        y += rowHeight;
    }
    column->setFrame({0, 0, width, y});
    setPreferredContentSize({width, y});
    setView(column);
}

void UIActivityViewController::perform(const ActivityType& activityType)
{
    const auto offered = activityTypes();
    if (m_performedActivity || m_hasEnded || std::ranges::find(offered, activityType) == offered.end())
        return;
    m_performedActivity = activityType;
    std::vector<UIPasteboard::Item> items;
    for (const auto& text : m_activityItems)
        items.push_back({{UIPasteboard::plainTextType(), Foundation::Data::fromString(text.view())}});
    for (const auto& url : m_activityFileURLs) {
        std::optional<Foundation::Data> data;
        if (Foundation::catchError([&] { data = Foundation::FileIO::readFile(url.path().utf8()); }) || !data)
            continue;
        UIPasteboard::Item item {{Foundation::String("public.data"), *data}};
        if (data->view().find('\0') == std::string_view::npos && Foundation::String::fromUTF8(data->view()))
            item.emplace(UIPasteboard::plainTextType(), *data);
        items.push_back(std::move(item));
    }
    UIPasteboard::general()->setItems(std::move(items));
    dismiss(true);
}

void UIActivityViewController::cancel()
{
    if (!m_performedActivity)
        dismiss(true);
}

std::optional<std::vector<std::shared_ptr<UIKeyCommand>>> UIActivityViewController::keyCommands() const
{
    auto cancel = Foundation::make<UIKeyCommand>(UIKeyCommand::inputEscape(), UIKeyModifierFlags(),
                                                 Foundation::Selector("cancelActivitySheet"));
    cancel->setWantsPriorityOverSystemBehavior(true);
    return std::vector {cancel};
}

void UIActivityViewController::viewDidAppear(bool animated)
{
    UIViewController::viewDidAppear(animated);
    becomeFirstResponder();
}

void UIActivityViewController::viewDidDisappear(bool animated)
{
    UIViewController::viewDidDisappear(animated);
    if (!isBeingDismissed() || m_hasEnded)
        return;
    m_hasEnded = true;
    if (auto handler = m_completionWithItemsHandler)
        handler(m_performedActivity, m_performedActivity.has_value());
}

} // namespace UIKit
