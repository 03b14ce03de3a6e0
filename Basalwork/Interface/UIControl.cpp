#include "Basalwork/Interface/UIControl.hpp"

#include <cstdint>
#include <utility>

namespace Basalwork {

Foundation::String description(UIKit::UIControl::Event event)
{
    using Event = UIKit::UIControl::Event;
    static const std::pair<Event, const char*> names[] = {
        {Event::touchDown(), ".touchDown"},
        {Event::touchDownRepeat(), ".touchDownRepeat"},
        {Event::touchDragInside(), ".touchDragInside"},
        {Event::touchDragOutside(), ".touchDragOutside"},
        {Event::touchDragEnter(), ".touchDragEnter"},
        {Event::touchDragExit(), ".touchDragExit"},
        {Event::touchUpInside(), ".touchUpInside"},
        {Event::touchUpOutside(), ".touchUpOutside"},
        {Event::touchCancel(), ".touchCancel"},
        {Event::allTouchEvents(), ".allTouchEvents"},
        {Event::valueChanged(), ".valueChanged"},
        {Event::primaryActionTriggered(), ".primaryActionTriggered"},
        {Event::editingDidBegin(), ".editingDidBegin"},
        {Event::editingChanged(), ".editingChanged"},
        {Event::editingDidEnd(), ".editingDidEnd"},
        {Event::editingDidEndOnExit(), ".editingDidEndOnExit"},
        {Event::allEditingEvents(), ".allEditingEvents"},
        {Event::applicationReserved(), ".applicationReserved"},
        {Event::systemReserved(), ".systemReserved"},
        {Event::allEvents(), ".allEvents"},
    };
    for (const auto& [named, name] : names) {
        if (named == event)
            return Foundation::String(name);
    }
    return Foundation::String("unknown");
}

} // namespace Basalwork
