#pragma once

#include "Platform/Foundation/URL.hpp"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Shared {

// A small tree of an XML file, parsed with expat. Entity declarations (internal or external) are
// refused outright, so neither a file on this machine nor an entity expansion can reach the tree;
// a document type without entities is fine. Throws ImporterError.invalidFile.
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

    static Element parse(std::string_view text);
    static Element parseFile(const Foundation::URL& url, std::int64_t maximumFileSize);
};

} // namespace Shared
