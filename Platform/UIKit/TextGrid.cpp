#include "Platform/UIKit/TextGrid.hpp"

#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string_view>

namespace UIKit {
namespace {

using Foundation::String;

// One character of a paragraph: where it lies in the paragraph's bytes and how it takes room.
struct Glyph {
    std::size_t begin;
    std::size_t end;
    std::int64_t columns;
    bool isSpace;
};

struct Paragraph {
    std::string text;
    std::vector<Glyph> glyphs;
};

std::int64_t scalarColumns(char32_t scalar)
{
    if (scalar < 0x80)
        return scalar == '\t' || (scalar >= 0x20 && scalar < 0x7F) ? 1 : 0;
    const auto c = static_cast<UChar32>(scalar);
    const auto category = static_cast<UCharCategory>(u_charType(c));
    if (category == U_CONTROL_CHAR || category == U_FORMAT_CHAR || category == U_NON_SPACING_MARK
        || category == U_ENCLOSING_MARK)
        return 0;
    const auto width = static_cast<UEastAsianWidth>(u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH));
    if (width == U_EA_WIDE || width == U_EA_FULLWIDTH || u_hasBinaryProperty(c, UCHAR_EMOJI_PRESENTATION))
        return 2;
    return 1;
}

std::int64_t clusterColumns(std::string_view cluster)
{
    if (cluster.empty())
        return 0;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(cluster.data());
    std::size_t offset = 0;
    UChar32 first;
    U8_NEXT_OR_FFFD(bytes, offset, cluster.size(), first);
    std::int64_t columns = scalarColumns(static_cast<char32_t>(first));
    // A text character made to show as an emoji takes an emoji's room.
    if (columns == 1 && cluster.find("\xEF\xB8\x8F") != std::string_view::npos)
        return 2;
    return columns;
}

// Paragraphs between newline characters; a text that ends in a newline ends in an empty paragraph.
std::vector<Paragraph> paragraphs(const String& text)
{
    std::vector<Paragraph> result(1);
    for (const auto& character : text) {
        if (character.isNewline()) {
            result.emplace_back();
            continue;
        }
        Paragraph& paragraph = result.back();
        const std::string& bytes = character.utf8();
        const std::size_t begin = paragraph.text.size();
        paragraph.text += bytes;
        paragraph.glyphs.push_back({begin, paragraph.text.size(), clusterColumns(bytes), character.isWhitespace()});
    }
    return result;
}

// Where a line may begin: after a run of spaces, and wherever the line-breaking rules of the text's
// script allow (after a hyphen, between ideographs, ...).
std::vector<bool> breakOpportunities(const Paragraph& paragraph)
{
    std::vector<bool> canBreakBefore(paragraph.glyphs.size(), false);
    thread_local const std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        return std::unique_ptr<icu::BreakIterator>(icu::BreakIterator::createLineInstance(icu::Locale::getRoot(), status));
    }();
    if (!iterator) {
        for (std::size_t i = 1; i < paragraph.glyphs.size(); ++i)
            canBreakBefore[i] = paragraph.glyphs[i - 1].isSpace && !paragraph.glyphs[i].isSpace;
        return canBreakBefore;
    }
    UErrorCode status = U_ZERO_ERROR;
    UText utext = UTEXT_INITIALIZER;
    utext_openUTF8(&utext, paragraph.text.data(), static_cast<std::int64_t>(paragraph.text.size()), &status);
    iterator->setText(&utext, status);
    utext_close(&utext);
    std::size_t glyph = 0;
    for (std::int32_t boundary = iterator->first(); boundary != icu::BreakIterator::DONE; boundary = iterator->next()) {
        const auto offset = static_cast<std::size_t>(boundary);
        while (glyph < paragraph.glyphs.size() && paragraph.glyphs[glyph].begin < offset)
            ++glyph;
        if (glyph < paragraph.glyphs.size() && paragraph.glyphs[glyph].begin == offset)
            canBreakBefore[glyph] = true;
    }
    return canBreakBefore;
}

String slice(const Paragraph& paragraph, std::size_t from, std::size_t to)
{
    if (from >= to)
        return {};
    // Spaces at a line's end take no room and show nothing.
    while (to > from && paragraph.glyphs[to - 1].isSpace)
        --to;
    if (from >= to)
        return {};
    return String(std::string_view(paragraph.text).substr(paragraph.glyphs[from].begin,
                                                           paragraph.glyphs[to - 1].end - paragraph.glyphs[from].begin));
}

std::int64_t maximumColumns(CGFloat width)
{
    if (!(width < TextGrid::unlimited))
        return std::numeric_limits<std::int64_t>::max() / 4;
    // At least one character a line, so that wrapping always moves on.
    return std::max<std::int64_t>(1, static_cast<std::int64_t>(std::floor(width / TextGrid::columnWidth + 1e-9)));
}

// A line as glyphs [from, to) of a paragraph.
struct LineRange {
    std::size_t paragraph;
    std::size_t from;
    std::size_t to;
};

void wrap(const Paragraph& paragraph, std::size_t index, std::int64_t limit, bool anywhere, std::vector<LineRange>& lines)
{
    const auto& glyphs = paragraph.glyphs;
    const std::size_t count = glyphs.size();
    if (count == 0) {
        lines.push_back({index, 0, 0});
        return;
    }
    const auto canBreakBefore = anywhere ? std::vector<bool>(count, true) : breakOpportunities(paragraph);
    std::size_t start = 0;
    while (start < count) {
        std::int64_t width = 0;
        std::int64_t visible = 0;
        std::size_t lastFit = start;
        std::size_t i = start;
        for (; i < count; ++i) {
            if (i > start && canBreakBefore[i] && visible <= limit)
                lastFit = i;
            width += glyphs[i].columns;
            if (!glyphs[i].isSpace)
                visible = width;
            if (visible > limit)
                break;
        }
        if (i == count) {
            lines.push_back({index, start, count});
            return;
        }
        std::size_t end = lastFit;
        if (end == start) {
            // No break fits: the word is cut by characters.
            std::int64_t used = 0;
            while (end < count && (end == start || used + glyphs[end].columns <= limit))
                used += glyphs[end++].columns;
        }
        lines.push_back({index, start, end});
        start = end;
        while (start < count && glyphs[start].isSpace)
            ++start;
    }
}

// Cuts a line to `limit` columns, marking the cut with "…" where the mode says.
String fit(const String& line, std::int64_t limit, NSLineBreakMode mode, bool moreFollows)
{
    const bool truncates = mode == NSLineBreakMode::byTruncatingHead || mode == NSLineBreakMode::byTruncatingTail
        || mode == NSLineBreakMode::byTruncatingMiddle;
    std::vector<Foundation::Character> characters = line.characters();
    std::vector<std::int64_t> widths;
    std::int64_t total = 0;
    for (const auto& character : characters) {
        widths.push_back(TextGrid::columns(character));
        total += widths.back();
    }
    if (total <= limit && !(moreFollows && truncates))
        return line;
    if (!truncates) {
        String clipped;
        std::int64_t used = 0;
        for (std::size_t i = 0; i < characters.size() && used + widths[i] <= limit; ++i) {
            used += widths[i];
            clipped.append(characters[i]);
        }
        return clipped;
    }
    const std::int64_t room = std::max<std::int64_t>(limit - 1, 0);
    std::size_t head = 0;
    std::size_t tail = characters.size();
    std::int64_t used = 0;
    auto takeHead = [&] {
        if (head < tail && used + widths[head] <= room) {
            used += widths[head++];
            return true;
        }
        return false;
    };
    auto takeTail = [&] {
        if (tail > head && used + widths[tail - 1] <= room) {
            used += widths[--tail];
            return true;
        }
        return false;
    };
    if (mode == NSLineBreakMode::byTruncatingHead && !moreFollows) {
        while (takeTail()) {
        }
    } else if (mode == NSLineBreakMode::byTruncatingMiddle && !moreFollows) {
        for (bool front = true; front ? takeHead() : takeTail(); front = !front) {
        }
    } else {
        while (takeHead()) {
        }
    }
    String result;
    for (std::size_t i = 0; i < head; ++i)
        result.append(characters[i]);
    result.append(String("…"));
    for (std::size_t i = tail; i < characters.size(); ++i)
        result.append(characters[i]);
    return result;
}

} // namespace

std::int64_t TextGrid::columns(const Foundation::Character& character)
{
    return character.isNewline() ? 0 : clusterColumns(character.utf8());
}

std::int64_t TextGrid::columns(const Foundation::String& text)
{
    if (text.isASCII()) {
        std::int64_t count = 0;
        for (char byte : text.view())
            count += scalarColumns(static_cast<unsigned char>(byte));
        return count;
    }
    std::int64_t count = 0;
    for (const auto& character : text)
        count += columns(character);
    return count;
}

std::vector<Foundation::String> TextGrid::lines(const Foundation::String& text, CGFloat width, NSLineBreakMode mode,
                                                std::int64_t maximumLines)
{
    std::vector<String> result;
    if (text.isEmpty())
        return result;
    const std::int64_t limit = maximumColumns(width);
    const auto paragraphList = paragraphs(text);
    const bool oneUnwrappedLine = maximumLines == 1 && mode != NSLineBreakMode::byWordWrapping
        && mode != NSLineBreakMode::byCharWrapping;
    if (oneUnwrappedLine) {
        const Paragraph& first = paragraphList.front();
        result.push_back(fit(slice(first, 0, first.glyphs.size()), limit, mode, paragraphList.size() > 1));
        return result;
    }
    std::vector<LineRange> ranges;
    for (std::size_t i = 0; i < paragraphList.size(); ++i)
        wrap(paragraphList[i], i, limit, mode == NSLineBreakMode::byCharWrapping, ranges);
    const bool cut = maximumLines > 0 && static_cast<std::int64_t>(ranges.size()) > maximumLines;
    if (cut)
        ranges.resize(static_cast<std::size_t>(maximumLines));
    for (const auto& range : ranges)
        result.push_back(slice(paragraphList[range.paragraph], range.from, range.to));
    const bool truncates = mode == NSLineBreakMode::byTruncatingHead || mode == NSLineBreakMode::byTruncatingTail
        || mode == NSLineBreakMode::byTruncatingMiddle;
    if (cut && truncates) {
        // The last line shows what fits of the rest of its paragraph, and marks what is left out.
        const auto& last = ranges.back();
        const Paragraph& paragraph = paragraphList[last.paragraph];
        result.back() = fit(slice(paragraph, last.from, paragraph.glyphs.size()), limit, NSLineBreakMode::byTruncatingTail,
                            last.paragraph + 1 < paragraphList.size());
    }
    return result;
}

CGSize TextGrid::size(const Foundation::String& text, CGFloat width, NSLineBreakMode mode, std::int64_t maximumLines)
{
    const auto shown = lines(text, width, mode, maximumLines);
    std::int64_t widest = 0;
    for (const auto& line : shown)
        widest = std::max(widest, columns(line));
    return {static_cast<CGFloat>(widest) * columnWidth, static_cast<CGFloat>(shown.size()) * lineHeight};
}

} // namespace UIKit
