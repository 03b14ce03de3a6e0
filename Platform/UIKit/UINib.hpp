#pragma once

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <memory>
#include <vector>

namespace UIKit {

// A nib: the top-level objects of an interface document ("<name>.nib.json", see InterfaceDocument).
// The document is read when objects are first made, as the platform loads a nib.
class UINib : public Foundation::NSObject {
public:
    // instantiate(withOwner:options:): new top-level objects in document order; every view among them
    // is told `awakeFromNib` once all are made. Nothing connects to the owner: documents carry no
    // outlets. A nib that cannot be found or read stops the program.
    std::vector<std::shared_ptr<Foundation::NSObject>> instantiate(const std::shared_ptr<Foundation::NSObject>& withOwner) const;

    const Foundation::String& name() const { return m_name; }

protected:
    friend Foundation::Construct;
    // init(nibName:bundle:): a null bundle is the main bundle.
    UINib(Foundation::String nibName, std::shared_ptr<Foundation::Bundle> bundle)
        : m_name(std::move(nibName))
        , m_bundle(std::move(bundle))
    {
    }

private:
    Foundation::String m_name;
    std::shared_ptr<Foundation::Bundle> m_bundle;
};

} // namespace UIKit
