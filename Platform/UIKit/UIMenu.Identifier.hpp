#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIMenu.hpp"

namespace UIKit {

// Names a menu; the system's menus have the platform's own names.
struct UIMenu::Identifier {
    Foundation::String rawValue;

    static Identifier application() { return {"com.apple.menu.application"}; }
    static Identifier file() { return {"com.apple.menu.file"}; }
    static Identifier edit() { return {"com.apple.menu.edit"}; }
    static Identifier view() { return {"com.apple.menu.view"}; }
    static Identifier window() { return {"com.apple.menu.window"}; }
    static Identifier help() { return {"com.apple.menu.help"}; }
    static Identifier about() { return {"com.apple.menu.about"}; }
    static Identifier preferences() { return {"com.apple.menu.preferences"}; }
    static Identifier services() { return {"com.apple.menu.services"}; }
    static Identifier hide() { return {"com.apple.menu.hide"}; }
    static Identifier quit() { return {"com.apple.menu.quit"}; }
    static Identifier newScene() { return {"com.apple.menu.new-scene"}; }
    static Identifier openRecent() { return {"com.apple.menu.open-recent"}; }
    static Identifier close() { return {"com.apple.menu.close"}; }
    static Identifier print() { return {"com.apple.menu.print"}; }
    static Identifier document() { return {"com.apple.menu.document"}; }
    static Identifier undoRedo() { return {"com.apple.menu.undo-redo"}; }
    static Identifier standardEdit() { return {"com.apple.menu.standard-edit"}; }
    static Identifier find() { return {"com.apple.menu.find"}; }
    static Identifier replace() { return {"com.apple.menu.replace"}; }
    static Identifier share() { return {"com.apple.menu.share"}; }
    static Identifier textStyle() { return {"com.apple.menu.text-style"}; }
    static Identifier spelling() { return {"com.apple.menu.spelling"}; }
    static Identifier spellingPanel() { return {"com.apple.menu.spelling-panel"}; }
    static Identifier spellingOptions() { return {"com.apple.menu.spelling-options"}; }
    static Identifier substitutions() { return {"com.apple.menu.substitutions"}; }
    static Identifier substitutionsPanel() { return {"com.apple.menu.substitutions-panel"}; }
    static Identifier substitutionOptions() { return {"com.apple.menu.substitution-options"}; }
    static Identifier transformations() { return {"com.apple.menu.transformations"}; }
    static Identifier speech() { return {"com.apple.menu.speech"}; }
    static Identifier lookup() { return {"com.apple.menu.lookup"}; }
    static Identifier learn() { return {"com.apple.menu.learn"}; }
    static Identifier format() { return {"com.apple.menu.format"}; }
    static Identifier font() { return {"com.apple.menu.font"}; }
    static Identifier textSize() { return {"com.apple.menu.text-size"}; }
    static Identifier textColor() { return {"com.apple.menu.text-color"}; }
    static Identifier textStylePasteboard() { return {"com.apple.menu.text-style-pasteboard"}; }
    static Identifier text() { return {"com.apple.menu.text"}; }
    static Identifier writingDirection() { return {"com.apple.menu.writing-direction"}; }
    static Identifier alignment() { return {"com.apple.menu.alignment"}; }
    static Identifier toolbar() { return {"com.apple.menu.toolbar"}; }
    static Identifier sidebar() { return {"com.apple.menu.sidebar"}; }
    static Identifier fullscreen() { return {"com.apple.menu.fullscreen"}; }
    static Identifier minimizeAndZoom() { return {"com.apple.menu.minimize-and-zoom"}; }
    static Identifier bringAllToFront() { return {"com.apple.menu.bring-all-to-front"}; }
    static Identifier root() { return {"com.apple.menu.root"}; }

    friend bool operator==(const Identifier&, const Identifier&) = default;
};

inline const UIMenu::Identifier& UIMenu::identifier() const
{
    return *m_identifier;
}

} // namespace UIKit
