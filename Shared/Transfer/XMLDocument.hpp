#pragma once

#include "Platform/Foundation/URL.hpp"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Shared {

// A small tree of an XML file, parsed with expat. Entity declarations (internal or external) are
// refused outright, so neither a file on this machine nor an entity expansion can reach the tree;
// a document type without entities is fine. Only so many elements are held at once, and an element's
// text has a bound. Throws ImporterError.invalidFile.
class XMLDocument {
public:
    static constexpr std::size_t maximumDepth = 256;

    struct Element {
        std::string name;
        std::vector<std::pair<std::string, std::string>> attributes;
        std::string text;
        std::vector<Element> children;

        std::string_view attribute(std::string_view name) const;
        // The first child of that name, or nothing.
        const Element* child(std::string_view name) const;
        // The text of the first child of that name, or empty.
        std::string_view childText(std::string_view name) const;
    };

    // What is held at once while a file is read, and the longest text of one element.
    static constexpr std::size_t maximumHeldElementCount = 200000;
    static constexpr std::size_t maximumTextByteCount = 64 * 1024 * 1024;

    // Told of each element as it ends, with the elements around it (outermost first); answering false
    // lets the element go, so that its parent does not keep it. The root is always kept.
    using Completion = std::function<bool(Element& element, const std::vector<const Element*>& enclosing)>;

    static Element parse(std::string_view text);
    // The file read a block at a time; with `completed`, elements are let go as it says.
    static Element parseFile(const Foundation::URL& url, std::int64_t maximumFileSize, const Completion& completed = nullptr,
                             const std::function<void(double fraction)>& progress = nullptr);
};

} // namespace Shared
