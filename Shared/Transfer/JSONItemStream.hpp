#pragma once

#include "Platform/Foundation/URL.hpp"

#include <cstdint>
#include <functional>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace Shared {

// Reads a JSON export as a hostile file without holding its items: the elements of the arrays named
// as item arrays are handed over one by one as each is complete, and let go; everything else is kept
// in the document answered at the end. Parsing is iterative and the depth is bounded before anything
// is copied, and no single value (nor run of white space) may be longer than a bound, so neither deep
// nesting nor an endless value can exhaust the stack or the memory; an item has a budget of values and
// bytes. Throws ImporterError.invalidFile.
class JSONItemStream {
public:
    static constexpr std::size_t maximumDepth = 64;
    static constexpr std::size_t maximumTokenByteCount = 16 * 1024 * 1024;
    // One item, held until it is complete.
    static constexpr std::size_t maximumItemValueCount = 100000;
    static constexpr std::uint64_t maximumItemByteCount = 64 * 1024 * 1024;

    // The keys from the document's root to an array of items; "*" stands for any element of an array
    // on the way ({"accounts", "*", "vaults", "*", "items"}).
    using Path = std::vector<std::string>;
    // An item and the containers around it, outermost first, as far as they are read (members that
    // come before the item array are there).
    using Take = std::function<void(const nlohmann::json& item, const std::vector<const nlohmann::json*>& enclosing)>;
    // How far reading has come (0 to 1).
    using Progress = std::function<void(double fraction)>;

    static nlohmann::json readFile(const Foundation::URL& fileURL, const std::vector<Path>& itemArrays, const Take& take,
                                   const Progress& progress = nullptr);
    static nlohmann::json read(std::string_view text, const std::vector<Path>& itemArrays, const Take& take);
    // A whole document, with the same bounds.
    static nlohmann::json parse(std::string_view text);
};

} // namespace Shared
