#pragma once

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/InterfaceDocument.hpp"

#include <memory>

namespace UIKit {

class UIViewController;

// A storyboard: the controllers of an interface document ("<name>.storyboard.json", see
// InterfaceDocument), each made anew whenever it is asked for.
class UIStoryboard : public Foundation::NSObject {
public:
    // The controller the document names as initial; none when it names none.
    std::shared_ptr<UIViewController> instantiateInitialViewController() const;
    // instantiateViewController(withIdentifier:): an identifier the document does not hold stops the
    // program, as on the platform.
    std::shared_ptr<UIViewController> instantiateViewController(const Foundation::String& withIdentifier) const;

protected:
    friend Foundation::Construct;
    // init(name:bundle:): a null bundle is the main bundle. A storyboard that cannot be found or read
    // stops the program.
    UIStoryboard(const Foundation::String& name, const std::shared_ptr<Foundation::Bundle>& bundle)
        : m_document(InterfaceDocument::read(name, bundle, "storyboard"))
    {
    }

private:
    std::shared_ptr<UIViewController> instantiate(std::size_t index) const;

    InterfaceDocument m_document;
};

} // namespace UIKit
