#pragma once

#include "Platform/Terminal/CellRect.hpp"
#include "Platform/Terminal/CellStyle.hpp"

#include <memory>
#include <vector>

namespace UIKit {
class UIView;
class UIWindow;
class UIWindowScene;
} // namespace UIKit

namespace Terminal {

class Canvas;

// Draws a scene as the terminal shows it: the key window and the windows in front of it, back to front,
// each view at the frame layout gave it on the text grid (screen points map onto cells, so the window at
// screen point (0, 20) starts on the second row). Presented screens smaller than their window, and
// windows smaller than the screen, stand in a frame; a window in front of the key window hides what lies
// under it only where it or its views have a background. Text fields show bullets while secure; selected
// rows are marked; the focused view shows in reverse. Text and backgrounds with a hue show in their colour
// (`CellColor`), receding grey text dimmed.
class SceneRenderer {
public:
    // The views are laid out before: the display asks for layout before it draws.
    static void render(const UIKit::UIWindowScene& scene, Canvas& canvas, const std::shared_ptr<UIKit::UIView>& focused);
    // The windows drawn, back to front.
    static std::vector<std::shared_ptr<UIKit::UIWindow>> shownWindows(const UIKit::UIWindowScene& scene);
    // A view's cells on the screen.
    static CellRect cells(const UIKit::UIView& view);
};

} // namespace Terminal
