#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace UIKit {

// The share sheet: it holds the items handed to it (texts, or files) and offers the activities this
// system has, which is copying them to the general pasteboard: a file goes there as its data, and as
// text too when it is text. However it ends (an activity, Escape, a tap outside its pop-over, a
// dismissal in code) its completion runs once, as its dismissal ends.
class UIActivityViewController : public UIViewController {
public:
    using ActivityType = Foundation::String;
    // completionWithItemsHandler without returned items: the activity chosen (none when cancelled) and
    // whether it completed.
    using CompletionWithItemsHandler = std::function<void(const std::optional<ActivityType>& activityType, bool completed)>;

    // The platform's identifier of its copy activity.
    static const ActivityType& copyToPasteboard();

    const std::vector<Foundation::String>& activityItems() const { return m_activityItems; }
    const std::vector<Foundation::URL>& activityFileURLs() const { return m_activityFileURLs; }
    // The activities offered, in the order the sheet shows them.
    std::vector<ActivityType> activityTypes() const;
    const CompletionWithItemsHandler& completionWithItemsHandler() const { return m_completionWithItemsHandler; }
    void setCompletionWithItemsHandler(CompletionWithItemsHandler handler) { m_completionWithItemsHandler = std::move(handler); }

    // What choosing an offered activity does: performs it, then dismisses the sheet. Only the first choice
    // counts; an activity not offered is refused.
    void perform(const ActivityType& activityType);
    // Escape closes the sheet without an activity.
    std::optional<std::vector<std::shared_ptr<UIKeyCommand>>> keyCommands() const override;
    bool canBecomeFirstResponder() const override { return true; }
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;

protected:
    friend Foundation::Construct;
    // init(activityItems:applicationActivities:) with no activities of the application's own.
    explicit UIActivityViewController(std::vector<Foundation::String> activityItems);
    // The same with file URLs as the items.
    explicit UIActivityViewController(std::vector<Foundation::URL> activityFileURLs);
    void initialize() override;
    // A column with one button per activity.
    void loadView() override;

private:
    void cancel();

    std::vector<Foundation::String> m_activityItems;
    std::vector<Foundation::URL> m_activityFileURLs;
    CompletionWithItemsHandler m_completionWithItemsHandler;
    std::optional<ActivityType> m_performedActivity;
    bool m_hasEnded = false;
};

} // namespace UIKit
