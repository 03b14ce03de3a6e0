#include "Shared/Transfer/JSONItemStream.hpp"

#include "Shared/Transfer/ImportFile.hpp"
#include "Shared/Transfer/ImporterError.hpp"

#include "Platform/Foundation/CocoaError.hpp"

#include <cerrno>
#include <iterator>
#include <optional>
#include <nlohmann/json.hpp>
#include <unistd.h>

namespace Shared {

namespace {

using Json = nlohmann::json;

const std::string& tokenTooLong()
{
    static const auto& text = *new std::string("a value in it is longer than " + std::to_string(JSONItemStream::maximumTokenByteCount / (1024 * 1024)) + " MB");
    return text;
}

// The bytes of a file or a text, handed to the parser one at a time, counting how many went by since
// the parser's last event.
class ByteSource {
public:
    explicit ByteSource(std::string_view text)
        : m_cursor(text.data())
        , m_end(text.data() + text.size())
    {
    }
    ByteSource(int descriptor, std::string path, std::uint64_t size, const JSONItemStream::Progress& progress)
        : m_descriptor(descriptor)
        , m_path(std::move(path))
        , m_size(size)
        , m_progress(progress)
        , m_buffer(64 * 1024)
    {
    }

    bool hasByte()
    {
        return m_cursor != m_end || refill();
    }
    char byte() const { return *m_cursor; }
    void advance()
    {
        ++m_cursor;
        ++m_total;
        if (++m_count > JSONItemStream::maximumTokenByteCount)
            throw ImporterError::invalidFile(tokenTooLong());
    }
    // The parser made something of the bytes so far.
    void mark() { m_count = 0; }
    std::uint64_t total() const { return m_total; }

private:
    bool refill()
    {
        if (m_descriptor < 0)
            return false;
        ssize_t got = 0;
        do
            got = ::read(m_descriptor, m_buffer.data(), m_buffer.size());
        while (got < 0 && errno == EINTR);
        if (got < 0)
            throw Foundation::CocoaError::fileError(errno, m_path, Foundation::CocoaError::Access::reading);
        m_cursor = m_buffer.data();
        m_end = m_cursor + got;
        m_read += static_cast<std::uint64_t>(got);
        if (m_progress && m_size > 0)
            m_progress(std::min(1.0, static_cast<double>(m_read) / static_cast<double>(m_size)));
        return got > 0;
    }

    int m_descriptor = -1;
    std::string m_path;
    std::uint64_t m_size = 0;
    std::uint64_t m_read = 0;
    JSONItemStream::Progress m_progress;
    std::vector<char> m_buffer;
    const char* m_cursor = nullptr;
    const char* m_end = nullptr;
    std::size_t m_count = 0;
    std::uint64_t m_total = 0;
};

class ByteIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = char;

    ByteIterator() = default;
    explicit ByteIterator(ByteSource& source)
        : m_source(&source)
    {
    }
    char operator*() const { return m_source->byte(); }
    ByteIterator& operator++()
    {
        m_source->advance();
        return *this;
    }
    ByteIterator operator++(int)
    {
        auto copy = *this;
        ++*this;
        return copy;
    }
    friend bool operator==(const ByteIterator& lhs, const ByteIterator& rhs) { return lhs.atEnd() == rhs.atEnd(); }
    friend bool operator!=(const ByteIterator& lhs, const ByteIterator& rhs) { return !(lhs == rhs); }

private:
    bool atEnd() const { return !m_source || !m_source->hasByte(); }
    ByteSource* m_source = nullptr;
};

// Builds the document as the parser reports it, without recursion, handing over each element of an
// item array as soon as it is complete.
class Builder {
public:
    Builder(ByteSource& source, const std::vector<JSONItemStream::Path>& itemArrays, const JSONItemStream::Take& take)
        : m_source(source)
        , m_itemArrays(itemArrays)
        , m_take(take)
    {
    }

    bool null() { return place(nullptr); }
    bool boolean(bool value) { return place(value); }
    bool number_integer(Json::number_integer_t value) { return place(value); }
    bool number_unsigned(Json::number_unsigned_t value) { return place(value); }
    bool number_float(Json::number_float_t value, const std::string&) { return place(value); }
    bool string(std::string& value) { return place(std::move(value)); }
    bool binary(Json::binary_t& value) { return place(std::move(value)); }
    bool start_object(std::size_t) { return open(Json::object()); }
    bool start_array(std::size_t) { return open(Json::array()); }
    bool key(std::string& value)
    {
        m_source.mark();
        m_levels.back().key = std::move(value);
        return true;
    }
    bool end_object() { return close(); }
    bool end_array() { return close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&)
    {
        throw ImporterError::invalidFile("it is not valid JSON");
    }

    Json document;

private:
    struct Level {
        Json* value;
        std::string key;
        bool holdsItems;
    };

    Json* insert(Json&& value)
    {
        countInItem();
        if (m_levels.empty()) {
            document = std::move(value);
            return &document;
        }
        auto& parent = *m_levels.back().value;
        if (parent.is_array()) {
            parent.push_back(std::move(value));
            return &parent.back();
        }
        auto& slot = parent[m_levels.back().key];
        slot = std::move(value);
        return &slot;
    }

    bool place(Json&& value)
    {
        m_source.mark();
        insert(std::move(value));
        completed();
        return true;
    }

    bool open(Json&& container)
    {
        m_source.mark();
        if (m_levels.size() >= JSONItemStream::maximumDepth)
            throw ImporterError::invalidFile("it nests deeper than " + std::to_string(JSONItemStream::maximumDepth) + " levels");
        bool holdsItems = container.is_array() && isItemArrayHere();
        auto* slot = insert(std::move(container));
        m_levels.push_back({slot, {}, holdsItems});
        return true;
    }

    bool close()
    {
        m_source.mark();
        m_levels.pop_back();
        completed();
        return true;
    }

    // An item is held until it is complete: it has a budget of values and bytes.
    void countInItem()
    {
        if (!m_itemStart) {
            if (m_levels.empty() || !m_levels.back().holdsItems)
                return;
            m_itemStart = m_source.total();
            m_itemValueCount = 0;
        }
        if (++m_itemValueCount > JSONItemStream::maximumItemValueCount)
            throw ImporterError::invalidFile("an item in it holds more than " + std::to_string(JSONItemStream::maximumItemValueCount) + " values");
        if (m_source.total() - *m_itemStart > JSONItemStream::maximumItemByteCount)
            throw ImporterError::invalidFile("an item in it is larger than " + std::to_string(JSONItemStream::maximumItemByteCount / (1024 * 1024)) + " MB");
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
                matches = level.value->is_array() ? path[i] == "*" : path[i] == level.key;
            }
            if (matches)
                return true;
        }
        return false;
    }

    void completed()
    {
        if (m_levels.empty() || !m_levels.back().holdsItems)
            return;
        m_itemStart.reset();
        auto& items = m_levels.back().value->get_ref<Json::array_t&>();
        if (m_take) {
            std::vector<const Json*> enclosing;
            enclosing.reserve(m_levels.size());
            for (const auto& level : m_levels)
                enclosing.push_back(level.value);
            m_take(items.back(), enclosing);
        }
        items.pop_back();
    }

    ByteSource& m_source;
    const std::vector<JSONItemStream::Path>& m_itemArrays;
    const JSONItemStream::Take& m_take;
    std::vector<Level> m_levels;
    std::optional<std::uint64_t> m_itemStart;
    std::size_t m_itemValueCount = 0;
};

Json run(ByteSource& source, const std::vector<JSONItemStream::Path>& itemArrays, const JSONItemStream::Take& take)
{
    Builder builder(source, itemArrays, take);
    Json::sax_parse(ByteIterator(source), ByteIterator(), &builder);
    return std::move(builder.document);
}

} // namespace

Json JSONItemStream::readFile(const Foundation::URL& fileURL, const std::vector<Path>& itemArrays, const Take& take, const Progress& progress)
{
    std::uint64_t size = 0;
    const auto file = ImportFile::open(fileURL, &size);
    const int descriptor = file.get();
    ByteSource source(descriptor, fileURL.path().utf8(), size, progress);
    return run(source, itemArrays, take);
}

Json JSONItemStream::read(std::string_view text, const std::vector<Path>& itemArrays, const Take& take)
{
    ByteSource source(text);
    return run(source, itemArrays, take);
}

Json JSONItemStream::parse(std::string_view text)
{
    return read(text, {}, nullptr);
}

} // namespace Shared
