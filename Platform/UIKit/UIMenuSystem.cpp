#include "Platform/UIKit/UIMenuSystem.hpp"

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/ProcessInfo.hpp"
#include "Platform/UIKit/UIAction.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UIMenuBuilder.hpp"

namespace UIKit {
namespace {

using Foundation::make;
using Foundation::Selector;
using Foundation::String;
using Children = std::vector<std::shared_ptr<UIMenuElement>>;
using Id = UIMenu::Identifier;
using Flags = UIKeyModifierFlags;

std::shared_ptr<UIMenuElement> item(String title, const char* action)
{
    return make<UICommand>(std::move(title), Selector(action));
}

std::shared_ptr<UIMenuElement> keyItem(String title, const char* action, String input, Flags flags)
{
    return make<UIKeyCommand>(std::move(title), Selector(action), std::move(input), flags);
}

std::shared_ptr<UIMenuElement> group(const Id& identifier, Children children)
{
    return make<UIMenu>("", identifier, UIMenu::Options::displayInline(), std::move(children));
}

std::shared_ptr<UIMenuElement> submenu(String title, const Id& identifier, Children children)
{
    return make<UIMenu>(std::move(title), identifier, UIMenu::Options(), std::move(children));
}

String applicationName()
{
    if (auto name = Foundation::Bundle::main()->object("CFBundleName"))
        if (auto text = name->as<String>())
            return *text;
    return Foundation::ProcessInfo::processInfo()->processName();
}

// The menus a Mac application starts with, under the platform's identifiers.
std::shared_ptr<UIMenu> defaultMainMenu()
{
    const String name = applicationName();
    const Flags command = Flags::command();
    Children bar {
        submenu(name, Id::application(), {
            group(Id::about(), {item("About " + name, "orderFrontStandardAboutPanel:")}),
            group(Id::preferences(), {}),
            group(Id::services(), {submenu("Services", Id("com.apple.menu.services-list"), {})}),
            group(Id::hide(), {keyItem("Hide " + name, "hide:", "h", command),
                               keyItem("Hide Others", "hideOtherApplications:", "h", command | Flags::alternate()),
                               item("Show All", "unhideAllApplications:")}),
            group(Id::quit(), {keyItem("Quit " + name, "terminate:", "q", command)}),
        }),
        submenu("File", Id::file(), {
            group(Id::newScene(), {}),
            submenu("Open Recent", Id::openRecent(), {item("Clear Menu", "clearRecentDocuments:")}),
            group(Id::close(), {keyItem("Close", "performClose:", "w", command)}),
            group(Id::print(), {keyItem("Print…", "print:", "p", command)}),
        }),
        submenu("Edit", Id::edit(), {
            group(Id::undoRedo(), {keyItem("Undo", "undo:", "z", command), keyItem("Redo", "redo:", "z", command | Flags::shift())}),
            group(Id::standardEdit(), {keyItem("Cut", "cut:", "x", command), keyItem("Copy", "copy:", "c", command),
                                       keyItem("Paste", "paste:", "v", command),
                                       keyItem("Paste and Match Style", "pasteAndMatchStyle:", "v",
                                           command | Flags::alternate() | Flags::shift()),
                                       item("Delete", "delete:"), keyItem("Select All", "selectAll:", "a", command)}),
            submenu("Find", Id::find(), {keyItem("Find…", "find:", "f", command), keyItem("Find Next", "findNext:", "g", command),
                                         keyItem("Find Previous", "findPrevious:", "g", command | Flags::shift()),
                                         keyItem("Use Selection for Find", "useSelectionForFind:", "e", command)}),
            submenu("Spelling and Grammar", Id::spelling(), {
                group(Id::spellingPanel(), {keyItem("Show Spelling and Grammar", "showSpellingPanel:", ":", command)}),
                group(Id::spellingOptions(), {keyItem("Check Document Now", "checkSpelling:", ";", command)}),
            }),
            submenu("Substitutions", Id::substitutions(), {
                group(Id::substitutionsPanel(), {item("Show Substitutions", "orderFrontSubstitutionsPanel:")}),
                group(Id::substitutionOptions(), {item("Smart Quotes", "toggleSmartQuotes:")}),
            }),
            submenu("Transformations", Id::transformations(), {
                item("Make Upper Case", "uppercaseWord:"), item("Make Lower Case", "lowercaseWord:"),
                item("Capitalize", "capitalizeWord:")}),
            submenu("Speech", Id::speech(), {item("Start Speaking", "startSpeaking:"),
                                             item("Stop Speaking", "stopSpeaking:")}),
        }),
        submenu("Format", Id::format(), {
            submenu("Font", Id::font(), {
                group(Id::textStyle(), {keyItem("Bold", "toggleBoldface:", "b", command), keyItem("Italic", "toggleItalics:", "i", command),
                                        keyItem("Underline", "toggleUnderline:", "u", command)}),
                group(Id::textSize(), {keyItem("Bigger", "increaseSize:", "+", command), keyItem("Smaller", "decreaseSize:", "-", command)}),
            }),
            submenu("Text", Id::text(), {
                group(Id::alignment(), {keyItem("Align Left", "alignLeft:", "{", command),
                                        keyItem("Center", "alignCenter:", "|", command),
                                        keyItem("Align Right", "alignRight:", "}", command)}),
                submenu("Writing Direction", Id::writingDirection(), {item("Left to Right", "makeTextWritingDirectionLeftToRight:"),
                                                                       item("Right to Left", "makeTextWritingDirectionRightToLeft:")}),
            }),
        }),
        submenu("View", Id::view(), {
            group(Id::toolbar(), {item("Show Toolbar", "toggleToolbarShown:"),
                                  item("Customize Toolbar…", "runToolbarCustomizationPalette:")}),
            group(Id::sidebar(), {keyItem("Show Sidebar", "toggleSidebar:", "s", command | Flags::control())}),
            group(Id::fullscreen(), {keyItem("Enter Full Screen", "toggleFullScreen:", "f", command | Flags::control())}),
        }),
        submenu("Window", Id::window(), {
            group(Id::minimizeAndZoom(), {keyItem("Minimize", "performMiniaturize:", "m", command),
                                          item("Zoom", "performZoom:")}),
            group(Id::bringAllToFront(), {item("Bring All to Front", "arrangeInFront:")}),
        }),
        submenu("Help", Id::help(), {keyItem(name + " Help", "showHelp:", "?", command)}),
    };
    return make<UIMenu>("", Id::root(), UIMenu::Options(), std::move(bar));
}

bool isHidden(const UIMenuElement& element)
{
    if (const auto* command = dynamic_cast<const UICommand*>(&element))
        return command->attributes().contains(UIMenuElement::Attributes::hidden());
    if (const auto* action = dynamic_cast<const UIAction*>(&element))
        return action->attributes().contains(UIMenuElement::Attributes::hidden());
    return false;
}

// A command as it shows now: a copy handed to its target's `validate(_:)`, or disabled when no
// responder along the chain from the first responder can perform it.
std::shared_ptr<UICommand> validatedCommand(const UICommand& command)
{
    auto shown = command.copy();
    if (auto target = UIApplication::shared()->targetOfFirstResponder(shown->action(), shown))
        target->validate(shown);
    else
        shown->setAttributes(shown->attributes() | UIMenuElement::Attributes::disabled());
    return shown;
}

// Only the key commands `only` picks are validated: a target's validation may read a store, and a key
// press asks for the few commands its key matches.
void collectKeyCommands(const UIMenu& menu, const std::function<bool(const UIKeyCommand&)>& only, std::vector<std::shared_ptr<UIKeyCommand>>& into)
{
    for (const auto& child : menu.children()) {
        if (isHidden(*child))
            continue;
        if (auto keyCommand = std::dynamic_pointer_cast<UIKeyCommand>(child)) {
            if (only && !only(*keyCommand))
                continue;
            auto shown = std::dynamic_pointer_cast<UIKeyCommand>(validatedCommand(*keyCommand));
            if (shown && !isHidden(*shown) && !shown->attributes().contains(UIMenuElement::Attributes::disabled()))
                into.push_back(std::move(shown));
        } else if (auto submenu = std::dynamic_pointer_cast<UIMenu>(child)) {
            collectKeyCommands(*submenu, only, into);
        }
    }
}

} // namespace

const std::shared_ptr<UIMenuSystem>& UIMenuSystem::main()
{
    static auto* system = new std::shared_ptr<UIMenuSystem>(make<UIMenuSystem>(true));
    return *system;
}

const std::shared_ptr<UIMenuSystem>& UIMenuSystem::context()
{
    static auto* system = new std::shared_ptr<UIMenuSystem>(make<UIMenuSystem>(false));
    return *system;
}

std::shared_ptr<UIMenu> UIMenuSystem::mainMenu()
{
    if (!m_isMain)
        return nullptr;
    if (m_needsRebuild) {
        m_needsRebuild = false;
        auto builder = make<UIMenuBuilder>(sharedSelf(this), defaultMainMenu());
        for (std::shared_ptr<UIResponder> responder = UIApplication::shared(); responder; responder = responder->next())
            responder->buildMenu(*builder);
        m_mainMenu = builder->root();
        ++m_buildCount;
    }
    return m_mainMenu;
}

std::shared_ptr<UIMenu> UIMenuSystem::validated(const std::shared_ptr<UIMenu>& menu) const
{
    Children children;
    for (const auto& child : menu->children()) {
        if (isHidden(*child))
            continue;
        if (auto command = std::dynamic_pointer_cast<UICommand>(child)) {
            auto shown = validatedCommand(*command);
            if (!isHidden(*shown))
                children.push_back(shown);
        } else if (auto submenu = std::dynamic_pointer_cast<UIMenu>(child);
                   submenu && submenu->options().contains(UIMenu::Options::displayInline())) {
            children.push_back(validated(submenu));
        } else {
            children.push_back(child);
        }
    }
    return menu->replacingChildren(std::move(children));
}

std::vector<std::shared_ptr<UIKeyCommand>> UIMenuSystem::keyCommands(const std::function<bool(const UIKeyCommand&)>& only)
{
    std::vector<std::shared_ptr<UIKeyCommand>> commands;
    if (auto menu = mainMenu())
        collectKeyCommands(*menu, only, commands);
    return commands;
}

bool UIMenuSystem::isEnabled(const UIMenuElement& element)
{
    if (const auto* command = dynamic_cast<const UICommand*>(&element))
        return !command->attributes().contains(UIMenuElement::Attributes::disabled());
    if (const auto* action = dynamic_cast<const UIAction*>(&element))
        return !action->attributes().contains(UIMenuElement::Attributes::disabled());
    return true;
}

bool UIMenuSystem::perform(const std::shared_ptr<UIMenuElement>& element)
{
    auto disabled = UIMenuElement::Attributes::disabled();
    if (auto command = std::dynamic_pointer_cast<UICommand>(element)) {
        if (command->attributes().contains(disabled))
            return false;
        return UIApplication::shared()->sendAction(command->action(), nullptr, command, nullptr);
    }
    if (auto action = std::dynamic_pointer_cast<UIAction>(element)) {
        if (action->attributes().contains(disabled))
            return false;
        action->performWithSender(sharedSelf(this));
        return true;
    }
    return false;
}

} // namespace UIKit
