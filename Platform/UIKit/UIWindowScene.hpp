#pragma once

#include "Platform/UIKit/UIScene.hpp"
#include "Platform/UIKit/UITraitCollection.hpp"

#include <memory>
#include <vector>

namespace AppKit {
class UINSWindow;
}

namespace UIKit {

class UITitlebar;
class UIWindow;

// A place on screen where the application shows its windows. Scenes connect to the application when they
// are made; neither the application nor a scene keeps its windows alive.
class UIWindowScene : public UIScene {
public:
    // The scene's windows, oldest first.
    std::vector<std::shared_ptr<UIWindow>> windows() const;
    // The scene's window that was made key last, while it is in the scene.
    std::shared_ptr<UIWindow> keyWindow() const;

    // Light appearance, regular size classes, the Mac idiom and the large text size unless changed.
    const UITraitCollection& traitCollection() const { return m_traitCollection; }
    // The scene's windows and their views hear of the traits that changed for them.
    void setTraitCollection(const UITraitCollection& traits);

    // The desktop title bar; a scene of the Mac idiom has one.
    const std::shared_ptr<UITitlebar>& titlebar() const { return m_titlebar; }
    // The desktop window the scene's windows stand in, for a scene of the Mac idiom: shown with the
    // scene's first window, closed when the scene disconnects. Its level is the scene's among the
    // desktop's windows.
    const std::shared_ptr<AppKit::UINSWindow>& hostWindow() const { return m_hostWindow; }

    std::shared_ptr<UIResponder> next() const override;

protected:
    friend Foundation::Construct;
    UIWindowScene() = default;
    void initialize() override;

private:
    friend class UIWindow;
    void removeWindow(const UIWindow* window);

    std::vector<std::weak_ptr<UIWindow>> m_windows;
    std::weak_ptr<UIWindow> m_keyWindow;
    std::shared_ptr<UITitlebar> m_titlebar;
    std::shared_ptr<AppKit::UINSWindow> m_hostWindow;
    UITraitCollection m_traitCollection {
        UIUserInterfaceStyle::light,     UIUserInterfaceSizeClass::regular, UIUserInterfaceSizeClass::regular,
        UIUserInterfaceIdiom::mac,       UIContentSizeCategory::large(),
    };
};

} // namespace UIKit
