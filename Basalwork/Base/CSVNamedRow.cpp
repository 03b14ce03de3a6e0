#include "Basalwork/Base/CSVNamedRow.hpp"

#include "Platform/Foundation/FatalError.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include <sys/mman.h>

namespace Basalwork {
namespace {

constexpr std::size_t hugePageSize = std::size_t {2} << 20;
constexpr std::size_t smallestBlock = std::size_t {4} << 10;
constexpr std::size_t largestBlock = std::size_t {32} << 20;

constexpr std::size_t roundedUp(std::size_t size, std::size_t multiple) { return (size + multiple - 1) / multiple * multiple; }

} // namespace

// Blocks from a few kilobytes, each twice the last, up to tens of megabytes: a row or two cost little, and a
// large file's values take few blocks. Blocks of whole huge pages ask to be backed by them, which spares
// the system a page fault every few kilobytes as they fill.
struct CSVNamedRows::Storage {
    explicit Storage(std::shared_ptr<const CSVNamedRow::Header> header)
        : header(std::move(header))
    {
    }
    Storage(const Storage&) = delete;
    Storage& operator=(const Storage&) = delete;
    ~Storage()
    {
        for (void* block : blocks)
            std::free(block);
    }

    // Room for `size` bytes, aligned to `alignment` (at most a machine word's).
    char* allocate(std::size_t size, std::size_t alignment)
    {
        auto at = roundedUp(static_cast<std::size_t>(next - blockStart), alignment);
        if (blockStart == nullptr || at + size > static_cast<std::size_t>(limit - blockStart)) {
            addBlock(size);
            at = 0;
        }
        next = blockStart + at + size;
        return blockStart + at;
    }

    void addBlock(std::size_t bytes)
    {
        std::size_t size = std::max(nextBlockSize, roundedUp(bytes, smallestBlock));
        nextBlockSize = std::min(nextBlockSize * 2, largestBlock);
        blocks.reserve(blocks.size() + 1);
        void* block = nullptr;
        if (size >= hugePageSize) {
            size = roundedUp(size, hugePageSize);
            block = std::aligned_alloc(hugePageSize, size);
            if (block)
                ::madvise(block, size, MADV_HUGEPAGE);
        } else {
            block = std::malloc(size);
        }
        if (!block)
            throw std::bad_alloc();
        blocks.push_back(block);
        blockStart = static_cast<char*>(block);
        next = blockStart;
        limit = blockStart + size;
    }

    std::shared_ptr<const CSVNamedRow::Header> header;
    std::vector<void*> blocks;
    char* blockStart = nullptr;
    char* next = nullptr;
    char* limit = nullptr;
    std::size_t nextBlockSize = smallestBlock;
};

CSVNamedRows::CSVNamedRows(std::shared_ptr<const CSVNamedRow::Header> header)
    : m_storage(std::make_shared<Storage>(std::move(header)))
    , m_rowHeader(m_storage, m_storage->header.get())
{
}

CSVNamedRows::~CSVNamedRows() = default;

namespace {

template <class Number>
void putNumbers(char* at, std::span<const std::optional<std::string_view>> values)
{
    std::size_t end = 0;
    for (const auto& value : values) {
        end += value ? value->size() : 0;
        const auto number = static_cast<Number>(end << 1 | (value ? 1 : 0));
        std::memcpy(at, &number, sizeof number);
        at += sizeof number;
    }
}

} // namespace

CSVNamedRow CSVNamedRows::make(std::span<const std::optional<std::string_view>> values)
{
    Foundation::precondition(values.size() == m_storage->header->labels().size(), "a named row has a value per label");
    std::size_t bytes = 0;
    for (const auto& value : values)
        bytes += value ? value->size() : 0;
    // See CSVNamedRow::valueBytes.
    const std::size_t width = bytes < (std::size_t {1} << 15) ? 2 : bytes < (std::size_t {1} << 31) ? 4 : 8;
    char* text = m_storage->allocate(width * (values.size() + 1) + bytes, width);
    text[0] = static_cast<char>(width);
    if (width == 2)
        putNumbers<std::uint16_t>(text + width, values);
    else if (width == 4)
        putNumbers<std::uint32_t>(text + width, values);
    else
        putNumbers<std::uint64_t>(text + width, values);
    char* out = text + width * (values.size() + 1);
    for (const auto& value : values) {
        if (value && !value->empty()) {
            std::memcpy(out, value->data(), value->size());
            out += value->size();
        }
    }
    return CSVNamedRow(m_rowHeader, text);
}

CSVNamedRow::Header::Header(Labels labels)
    : m_labels(std::move(labels))
{
    for (std::size_t i = 0; i < m_labels.size(); ++i) {
        if (m_labels[i])
            m_firstIndex.try_emplace(*m_labels[i], i);
    }
}

std::optional<std::size_t> CSVNamedRow::Header::firstIndex(const Foundation::String& label) const
{
    auto found = m_firstIndex.find(label);
    return found == m_firstIndex.end() ? std::nullopt : std::optional(found->second);
}

namespace {

std::optional<std::string_view> bytesOf(const std::optional<Foundation::String>& value)
{
    return value ? std::optional(value->view()) : std::nullopt;
}

} // namespace

CSVNamedRow::CSVNamedRow(std::initializer_list<CSVNamedValue> pairs)
{
    Labels labels;
    labels.reserve(pairs.size());
    std::vector<std::optional<std::string_view>> values;
    values.reserve(pairs.size());
    for (const auto& pair : pairs) {
        labels.push_back(pair.columnLabel);
        values.push_back(bytesOf(pair.value));
    }
    *this = CSVNamedRows(std::make_shared<const Header>(std::move(labels))).make(values);
}

CSVNamedRow::CSVNamedRow(std::shared_ptr<const Header> header, const CSVRow& values)
{
    std::vector<std::optional<std::string_view>> bytes;
    bytes.reserve(values.size());
    for (const auto& value : values)
        bytes.push_back(bytesOf(value));
    *this = CSVNamedRows(std::move(header)).make(bytes);
}

bool operator==(const CSVNamedRow& lhs, const CSVNamedRow& rhs)
{
    if (lhs.size() != rhs.size())
        return false;
    for (std::size_t i = 0; i < lhs.size(); ++i) {
        if (lhs.columnLabel(i) != rhs.columnLabel(i))
            return false;
        // The same bytes are the same text; other bytes may still be canonically equivalent.
        auto left = lhs.valueBytes(i);
        auto right = rhs.valueBytes(i);
        if (left != right && (!left || !right || lhs.value(i) != rhs.value(i)))
            return false;
    }
    return true;
}

} // namespace Basalwork
