#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <memory>
#include <vector>

namespace UIKit {

class UIContextualAction;

// The actions a swipe on one side of a row reveals.
class UISwipeActionsConfiguration : public Foundation::NSObject {
public:
    const std::vector<std::shared_ptr<UIContextualAction>>& actions() const { return m_actions; }
    // A full swipe runs the first action.
    bool performsFirstActionWithFullSwipe() const { return m_performsFirstActionWithFullSwipe; }
    void setPerformsFirstActionWithFullSwipe(bool performs) { m_performsFirstActionWithFullSwipe = performs; }

protected:
    friend Foundation::Construct;
    // init(actions:)
    explicit UISwipeActionsConfiguration(std::vector<std::shared_ptr<UIContextualAction>> actions)
        : m_actions(std::move(actions))
    {
    }

private:
    std::vector<std::shared_ptr<UIContextualAction>> m_actions;
    bool m_performsFirstActionWithFullSwipe = true;
};

} // namespace UIKit
