#pragma once

#include "Platform/UIKit/UIOpenURLContext.hpp"

#include <memory>
#include <vector>

namespace UIKit {

// UIScene.ConnectionOptions: why a scene connects; the URLs it was opened with, in the order they came.
struct UISceneConnectionOptions {
    std::vector<std::shared_ptr<UIOpenURLContext>> urlContexts;
};

} // namespace UIKit
