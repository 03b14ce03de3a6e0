#include "Platform/UIKit/UIViewControllerTransitionCoordinator.hpp"

namespace UIKit {

bool UIViewControllerTransitionCoordinator::animate(Block alongsideTransition, Block completion)
{
    if (alongsideTransition)
        m_alongside.push_back(std::move(alongsideTransition));
    if (completion)
        m_completions.push_back(std::move(completion));
    return true;
}

void UIViewControllerTransitionCoordinator::runAlongside()
{
    // A block may add more; those run too.
    for (std::size_t i = 0; i < m_alongside.size(); ++i) {
        auto block = m_alongside[i];
        block(sharedSelf(this));
    }
    m_alongside.clear();
}

void UIViewControllerTransitionCoordinator::complete()
{
    for (std::size_t i = 0; i < m_completions.size(); ++i) {
        auto block = m_completions[i];
        block(sharedSelf(this));
    }
    m_completions.clear();
}

} // namespace UIKit
