#pragma once

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace UIKit {

// What storyboards and nibs hold: a JSON file in a bundle, "<name>.storyboard.json" or "<name>.nib.json",
//     {"initialViewController": "<identifier>",                       (storyboards, optional)
//      "objects": [{"class": "<registered class name>", "identifier": "<identifier>", ...}, ...]}
// Each object is made with `init(coder:)` of its class (found in the ClassRegistry), and the coder reads
// the object's other keys. A document that is missing or damaged, or that names a class nobody
// registered, is a programming error: the files ship with the program.
class InterfaceDocument {
public:
    struct Object {
        std::string className;
        std::optional<std::string> identifier;
    };

    // A null bundle is the main bundle. `kind` is "storyboard" or "nib".
    static InterfaceDocument read(const Foundation::String& name, const std::shared_ptr<Foundation::Bundle>& bundle,
                                  const std::string& kind);

    const std::string& name() const { return m_name; }
    const std::vector<Object>& objects() const { return m_objects; }
    const std::optional<std::string>& initialIdentifier() const { return m_initialIdentifier; }
    // A new object made from the description at `index`.
    std::shared_ptr<Foundation::NSObject> instantiate(std::size_t index) const;

private:
    struct Parsed;
    InterfaceDocument() = default;

    std::string m_name;
    std::shared_ptr<const Parsed> m_parsed;
    std::vector<Object> m_objects;
    std::optional<std::string> m_initialIdentifier;
};

} // namespace UIKit
