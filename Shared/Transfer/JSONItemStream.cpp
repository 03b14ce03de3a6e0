#include "Shared/Transfer/JSONItemStream.hpp"

#include "Shared/Transfer/ImportFile.hpp"
#include "Shared/Transfer/ImporterError.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/FileIO.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <unistd.h>

namespace Shared {

namespace {

using Foundation::JSONDocument;

[[noreturn]] void invalidJSON()
{
    throw ImporterError::invalidFile("it is not valid JSON");
}

const std::string& tokenTooLong()
{
    static const auto& text = *new std::string("a value in it is longer than " + std::to_string(JSONItemStream::maximumTokenByteCount / (1024 * 1024)) + " MB");
    return text;
}

enum class CharacterClass : std::uint8_t { other, space, scalar, structural };

constexpr auto characterClasses = [] {
    std::array<CharacterClass, 256> table {};
    for (char c : {' ', '\t', '\n', '\r'})
        table[static_cast<unsigned char>(c)] = CharacterClass::space;
    for (char c : {'{', '}', '[', ']', ',', ':', '"'})
        table[static_cast<unsigned char>(c)] = CharacterClass::structural;
    for (int c = '0'; c <= '9'; ++c)
        table[static_cast<std::size_t>(c)] = CharacterClass::scalar;
    for (int c = 'a'; c <= 'z'; ++c)
        table[static_cast<std::size_t>(c)] = CharacterClass::scalar;
    for (int c = 'A'; c <= 'Z'; ++c)
        table[static_cast<std::size_t>(c)] = CharacterClass::scalar;
    for (char c : {'-', '+', '.'})
        table[static_cast<unsigned char>(c)] = CharacterClass::scalar;
    return table;
}();

CharacterClass classOf(char c)
{
    return characterClasses[static_cast<unsigned char>(c)];
}

// Finds the structure of the text as it comes, a block at a time: where each item begins and ends, and
// which array holds items. Texts and numbers are only delimited here; the fast parser checks them when an
// item, or the rest of the document, is parsed whole. An item's bytes are gathered and parsed on their
// own as soon as it is complete; the bytes around the items are gathered into the rest of the document.
class Scanner {
public:
    Scanner(const std::vector<JSONItemStream::Path>& itemArrays, const JSONItemStream::Take& take)
        : m_itemArrays(itemArrays)
        , m_take(take)
    {
        for (const auto& path : itemArrays)
            m_keyedDepth = std::max(m_keyedDepth, path.size());
    }

    void feed(std::string_view block)
    {
        const char* at = block.data();
        const char* end = at + block.size();
        if (m_atStart && at != end) {
            m_atStart = false;
            if (block.starts_with("\xEF\xBB\xBF"))
                at += 3;
        }
        while (at != end) {
            switch (m_lexical) {
            case Lexical::between:
                at = scanBetween(at, end);
                break;
            case Lexical::string:
                at = scanString(at, end);
                break;
            case Lexical::scalar:
                at = scanScalar(at, end);
                break;
            }
        }
    }

    std::unique_ptr<const JSONItemStream::Parsed> finish()
    {
        if (m_lexical == Lexical::string)
            invalidJSON();
        if (m_lexical == Lexical::scalar)
            endScalar();
        if (m_expect != Expect::nothing)
            invalidJSON();
        return std::make_unique<const JSONItemStream::Parsed>(std::move(m_rest));
    }

private:
    enum class Lexical : std::uint8_t { between, string, scalar };
    enum class Expect : std::uint8_t { value, valueOrClose, key, keyOrClose, colon, commaOrClose, nothing };

    struct Level {
        bool isArray;
        bool holdsItems;
        // The latest key of an object, kept only as deep as the item arrays' paths go.
        std::string key;
    };

    // Where the bytes being read go: into the item being read, into the rest of the document, or
    // nowhere (white space, and the commas between items).
    std::string* sink()
    {
        if (m_inItem)
            return &m_item;
        if (!m_levels.empty() && m_levels.back().holdsItems)
            return nullptr;
        return &m_rest;
    }

    void append(const char* begin, const char* end)
    {
        count(static_cast<std::size_t>(end - begin));
        if (auto* out = sink()) {
            out->append(begin, end);
            if (m_inItem && m_item.size() > JSONItemStream::maximumItemByteCount)
                throw ImporterError::invalidFile("an item in it is larger than " + std::to_string(JSONItemStream::maximumItemByteCount / (1024 * 1024)) + " MB");
        }
    }

    // Bytes since the last value, key or bracket: no run may be longer than a value may be.
    void count(std::size_t bytes)
    {
        m_sinceEvent += bytes;
        if (m_sinceEvent > JSONItemStream::maximumTokenByteCount)
            throw ImporterError::invalidFile(tokenTooLong());
    }

    const char* scanBetween(const char* at, const char* end)
    {
        while (at != end) {
            const char c = *at;
            switch (classOf(c)) {
            case CharacterClass::space: {
                const char* start = at;
                while (at != end && classOf(*at) == CharacterClass::space)
                    ++at;
                count(static_cast<std::size_t>(at - start));
                continue;
            }
            case CharacterClass::scalar:
                beginValue();
                m_lexical = Lexical::scalar;
                return at;
            case CharacterClass::structural:
                break;
            case CharacterClass::other:
                invalidJSON();
            }
            switch (c) {
            case '"':
                if (m_expect == Expect::key || m_expect == Expect::keyOrClose) {
                    m_inKey = true;
                    m_keyStart = m_rest.size();
                } else {
                    beginValue();
                }
                m_lexical = Lexical::string;
                append(at, at + 1);
                return at + 1;
            case '{':
            case '[':
                beginValue();
                open(c == '[');
                append(at, at + 1);
                break;
            case '}':
            case ']':
                close(c == ']');
                break;
            case ',':
                if (m_expect != Expect::commaOrClose)
                    invalidJSON();
                append(at, at + 1);
                m_expect = m_levels.back().isArray ? Expect::value : Expect::key;
                break;
            case ':':
                if (m_expect != Expect::colon)
                    invalidJSON();
                append(at, at + 1);
                m_expect = Expect::value;
                break;
            }
            ++at;
        }
        return at;
    }

    const char* scanString(const char* at, const char* end)
    {
        const char* start = at;
        while (at != end) {
            const char c = *at++;
            if (m_escaped) {
                m_escaped = false;
            } else if (c == '\\') {
                m_escaped = true;
            } else if (c == '"') {
                append(start, at);
                m_lexical = Lexical::between;
                if (m_inKey)
                    endKey();
                else
                    endValue();
                return at;
            }
        }
        append(start, at);
        return at;
    }

    const char* scanScalar(const char* at, const char* end)
    {
        const char* start = at;
        while (at != end && classOf(*at) == CharacterClass::scalar)
            ++at;
        append(start, at);
        if (at != end) {
            m_lexical = Lexical::between;
            endScalar();
        }
        return at;
    }

    void endScalar()
    {
        m_lexical = Lexical::between;
        endValue();
    }

    void endKey()
    {
        m_inKey = false;
        m_sinceEvent = 0;
        m_expect = Expect::colon;
        if (m_inItem || m_levels.size() > m_keyedDepth)
            return;
        auto quoted = std::string_view(m_rest).substr(m_keyStart);
        auto& key = m_levels.back().key;
        if (quoted.find('\\') == std::string_view::npos) {
            key.assign(quoted.substr(1, quoted.size() - 2));
            return;
        }
        // A key written with escapes names the same member as one written without.
        try {
            JSONDocument document(quoted);
            key.assign(document.value(JSONDocument::root).text);
        } catch (const JSONDocument::SyntaxError&) {
            invalidJSON();
        }
    }

    // A value starts where one is expected; the first value in an item array starts an item.
    void beginValue()
    {
        if (m_expect != Expect::value && m_expect != Expect::valueOrClose)
            invalidJSON();
        if (!m_inItem && !m_levels.empty() && m_levels.back().holdsItems) {
            m_inItem = true;
            m_itemLevel = m_levels.size();
            m_itemValueCount = 0;
            m_item.clear();
        }
        if (m_inItem && ++m_itemValueCount > JSONItemStream::maximumItemValueCount)
            throw ImporterError::invalidFile("an item in it holds more than " + std::to_string(JSONItemStream::maximumItemValueCount) + " values");
    }

    void open(bool isArray)
    {
        m_sinceEvent = 0;
        if (m_levels.size() >= JSONItemStream::maximumDepth)
            throw ImporterError::invalidFile("it nests deeper than " + std::to_string(JSONItemStream::maximumDepth) + " levels");
        const bool holdsItems = isArray && !m_inItem && isItemArrayHere();
        m_levels.push_back({isArray, false, {}});
        m_expect = isArray ? Expect::valueOrClose : Expect::keyOrClose;
        if (holdsItems) {
            m_rest += '[';
            readSoFar();
            m_levels.back().holdsItems = true;
        }
    }

    void close(bool isArray)
    {
        if (m_levels.empty() || m_levels.back().isArray != isArray)
            invalidJSON();
        if (m_expect != Expect::commaOrClose && m_expect != (isArray ? Expect::valueOrClose : Expect::keyOrClose))
            invalidJSON();
        const bool heldItems = m_levels.back().holdsItems;
        m_levels.pop_back();
        if (heldItems)
            m_rest += ']';
        else
            append(isArray ? "]" : "}", (isArray ? "]" : "}") + 1);
        endValue();
    }

    void endValue()
    {
        m_sinceEvent = 0;
        m_expect = m_levels.empty() ? Expect::nothing : Expect::commaOrClose;
        if (m_inItem && m_levels.size() == m_itemLevel) {
            m_inItem = false;
            takeItem();
        }
    }

    void takeItem()
    {
        try {
            const JSONDocument item(m_item);
            if (m_take)
                m_take(item, m_soFar->document());
        } catch (const JSONDocument::SyntaxError&) {
            invalidJSON();
        }
    }

    // The document as read up to an item array that opens now, closed where it stands.
    void readSoFar()
    {
        auto text = m_rest;
        for (auto level = m_levels.rbegin(); level != m_levels.rend(); ++level)
            text += level->isArray ? ']' : '}';
        m_soFar = std::make_unique<const JSONItemStream::Parsed>(std::move(text));
    }

    // Whether an array that opens now is one of the item arrays.
    bool isItemArrayHere() const
    {
        for (const auto& path : m_itemArrays) {
            if (path.size() != m_levels.size())
                continue;
            bool matches = true;
            for (std::size_t i = 0; i < path.size() && matches; ++i) {
                const auto& level = m_levels[i];
                matches = level.isArray ? path[i] == "*" : path[i] == level.key;
            }
            if (matches)
                return true;
        }
        return false;
    }

    const std::vector<JSONItemStream::Path>& m_itemArrays;
    const JSONItemStream::Take& m_take;
    std::size_t m_keyedDepth = 0;

    Lexical m_lexical = Lexical::between;
    Expect m_expect = Expect::value;
    bool m_atStart = true;
    bool m_escaped = false;
    bool m_inKey = false;
    std::size_t m_keyStart = 0;
    std::size_t m_sinceEvent = 0;
    std::vector<Level> m_levels;

    std::string m_rest;
    std::unique_ptr<const JSONItemStream::Parsed> m_soFar;

    bool m_inItem = false;
    std::size_t m_itemLevel = 0;
    std::size_t m_itemValueCount = 0;
    std::string m_item;
};

} // namespace

JSONItemStream::Parsed::Parsed(std::string text)
try : m_text(std::move(text)), m_document(m_text) {
} catch (const JSONDocument::SyntaxError&) {
    invalidJSON();
}

std::unique_ptr<const JSONItemStream::Parsed> JSONItemStream::readFile(const Foundation::URL& fileURL, const std::vector<Path>& itemArrays,
                                                                       const Take& take, const Progress& progress)
{
    std::uint64_t size = 0;
    const auto file = ImportFile::open(fileURL, &size);
    const int descriptor = file.get();
    Scanner scanner(itemArrays, take);
    std::vector<char> block(64 * 1024);
    std::uint64_t read = 0;
    while (true) {
        auto got = Foundation::FileIO::readSome(descriptor, block.data(), block.size());
        if (got < 0)
            throw Foundation::CocoaError::fileError(errno, fileURL.path().utf8(), Foundation::CocoaError::Access::reading);
        read += static_cast<std::uint64_t>(got);
        if (progress && size > 0)
            progress(std::min(1.0, static_cast<double>(read) / static_cast<double>(size)));
        if (got == 0)
            break;
        scanner.feed(std::string_view(block.data(), static_cast<std::size_t>(got)));
    }
    return scanner.finish();
}

std::unique_ptr<const JSONItemStream::Parsed> JSONItemStream::read(std::string_view text, const std::vector<Path>& itemArrays, const Take& take)
{
    Scanner scanner(itemArrays, take);
    scanner.feed(text);
    return scanner.finish();
}

std::unique_ptr<const JSONItemStream::Parsed> JSONItemStream::parse(std::string_view text)
{
    return read(text, {}, nullptr);
}

} // namespace Shared
