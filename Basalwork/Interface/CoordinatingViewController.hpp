#pragma once

#include "Basalwork/Interface/ChildEmbeddingViewController.hpp"
#include "Platform/Foundation/FatalError.hpp"

#include <memory>

namespace Basalwork {

// Base of the screens' coordinators: owns one content controller and shows it as its only child.
// Coordinators are built in code only, so there is no archive or nib initialiser.
class CoordinatingViewController : public ChildEmbeddingViewController {
protected:
    friend Foundation::Construct;
    // init(embedding:): the view is not loaded yet, so the controller waits for `viewDidLoad`.
    explicit CoordinatingViewController(std::shared_ptr<UIKit::UIViewController> embedding)
        : ChildEmbeddingViewController(std::nullopt, nullptr)
        , m_embedding(std::move(embedding))
    {
    }
    // Coordinators are built in code only.
    explicit CoordinatingViewController(Foundation::NSCoder& coder)
        : ChildEmbeddingViewController(coder)
    {
        Foundation::fatalError("init(coder:) has not been implemented");
    }
    void initialize() override
    {
        ChildEmbeddingViewController::initialize();
        if (auto controller = std::move(m_embedding))
            embed(controller, false);
    }

private:
    // Held only between construction and `initialize`, where `embed` may be overridden.
    std::shared_ptr<UIKit::UIViewController> m_embedding;
};

} // namespace Basalwork
