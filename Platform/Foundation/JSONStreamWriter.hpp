#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Foundation {

// Writes JSON text value by value, in the layout of the files the system keeps on disk (archives,
// defaults, change batches, tokens): compact, or indented by two spaces with ": " between key and value;
// "/" left as it is; a real always reads as one ("1.0", "1e+100"), in the fewest digits that read back.
// Members come out in the order written. Text that is not UTF-8 is written with U+FFFD in its place.
class JSONStreamWriter {
public:
    enum class Layout { compact, indented };

    explicit JSONStreamWriter(Layout layout = Layout::compact)
        : m_layout(layout)
    {
    }

    JSONStreamWriter& beginObject();
    JSONStreamWriter& endObject();
    JSONStreamWriter& beginArray();
    JSONStreamWriter& endArray();
    // The next member's key, inside an object; its value follows.
    JSONStreamWriter& key(std::string_view key);

    JSONStreamWriter& null();
    JSONStreamWriter& boolean(bool value);
    JSONStreamWriter& integer(std::int64_t value);
    // A number that is not finite has no JSON form: it is written as null.
    JSONStreamWriter& real(double value);
    JSONStreamWriter& string(std::string_view value);

    const std::string& text() const { return m_text; }
    std::string take() { return std::move(m_text); }

    // A real as `real` writes it.
    static void appendReal(std::string& out, double value);

private:
    void beforeValue();
    void appendText(std::string_view text);
    void open(char bracket);
    void close(char bracket);
    void newLine(std::size_t depth);

    struct Level {
        std::size_t count = 0;
    };

    Layout m_layout;
    std::string m_text;
    std::vector<Level> m_levels;
    bool m_afterKey = false;
};

} // namespace Foundation
