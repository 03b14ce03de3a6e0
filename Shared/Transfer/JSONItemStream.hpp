#pragma once

#include "Platform/Foundation/JSONDocument.hpp"
#include "Platform/Foundation/URL.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Shared {

// Reads a JSON export as a hostile file without holding its items: the elements of the arrays named
// as item arrays are handed over one by one as each is complete, each parsed on its own, and let go;
// everything else is kept in the document answered at the end. Scanning is iterative and the depth is
// bounded before anything is parsed, and no single value (nor run of white space) may be longer than
// a bound, so neither deep nesting nor an endless value can exhaust the stack or the memory; an item
// has a budget of values and bytes. Throws ImporterError.invalidFile.
class JSONItemStream {
public:
    static constexpr std::size_t maximumDepth = 64;
    static constexpr std::size_t maximumTokenByteCount = 16 * 1024 * 1024;
    // One item, held until it is complete.
    static constexpr std::size_t maximumItemValueCount = 100000;
    static constexpr std::uint64_t maximumItemByteCount = 64 * 1024 * 1024;

    // A parsed text together with the bytes its texts view.
    class Parsed {
    public:
        explicit Parsed(std::string text);
        Parsed(const Parsed&) = delete;
        Parsed& operator=(const Parsed&) = delete;
        const Foundation::JSONDocument& document() const { return m_document; }

    private:
        std::string m_text;
        Foundation::JSONDocument m_document;
    };

    // The keys from the document's root to an array of items; "*" stands for any element of an array
    // on the way ({"accounts", "*", "vaults", "*", "items"}).
    using Path = std::vector<std::string>;
    // An item, and the document as far as it is read: the members before the item array are there,
    // the item array itself is empty.
    using Take = std::function<void(const Foundation::JSONDocument& item, const Foundation::JSONDocument& documentSoFar)>;
    // How far reading has come (0 to 1).
    using Progress = std::function<void(double fraction)>;

    static std::unique_ptr<const Parsed> readFile(const Foundation::URL& fileURL, const std::vector<Path>& itemArrays, const Take& take,
                                                  const Progress& progress = nullptr);
    static std::unique_ptr<const Parsed> read(std::string_view text, const std::vector<Path>& itemArrays, const Take& take);
    // A whole document, with the same bounds.
    static std::unique_ptr<const Parsed> parse(std::string_view text);
};

} // namespace Shared
