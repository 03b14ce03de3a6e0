// The large-type layout: chunks, greedy lines, one balancing pass, and shrinking until the lines fit.

#include "Corvendale/Screens/LargeViewer/LargeViewerV.hpp"

#include "Shared/Model/ColorDifferentiation.hpp"
#include "Shared/Model/Settings.LargeViewer.hpp"
#include "Shared/Screens/UIColor.hpp"
#include "Shared/Stores/PreferenceStore.hpp"

#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UITraitEnvironment.hpp"

#include "Platform/Foundation/NSAttributedString.Key.hpp"
#include "Platform/UIKit/NSString.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.hpp"

#include <algorithm>
#include <numeric>
#include <string>

namespace Corvendale {
namespace {

using Foundation::Character;
using Foundation::String;
using UIKit::CGFloat;
using UIKit::CGRect;
using Attributes = Foundation::NSAttributedString::Attributes;
using Key = Foundation::NSAttributedString::Key;

// Measurements are sums of floating-point widths; a line exactly as wide as the room still fits.
constexpr CGFloat tolerance = 1e-6;

bool isBoundary(const Character& character)
{
    return character.isWhitespace() || character.isSymbol() || character.isPunctuation();
}

std::vector<String> chunks(const String& text)
{
    std::vector<String> result;
    String chunk;
    for (const auto& character : text.characters()) {
        chunk.append(character);
        if (isBoundary(character)) {
            result.push_back(std::move(chunk));
            chunk = String();
        }
    }
    if (!chunk.isEmpty())
        result.push_back(std::move(chunk));
    return result;
}

String joined(const std::vector<Character>& characters)
{
    String text;
    for (const auto& character : characters)
        text.append(character);
    return text;
}

struct Input {
    CGRect content;
    CGFloat sideMargin = 0;
    CGFloat topMargin = 0;
    CGFloat bottomMargin = 0;
    std::shared_ptr<UIKit::UIFont> baseFont;
    bool isNumbered = false;
    bool isTOTP = false;
    std::vector<String> chunks;
    std::int64_t colorMode = Shared::ColorDifferentiation::none;
    // At the smallest size the lines are placed whether or not they fit; the view clips them.
    bool mustFit = true;
};

class LineLayout {
public:
    LineLayout(const Input& input, CGFloat& size)
        : m_input(input)
        , m_size(size)
    {
    }

    // One run; whatever it answers, it leaves the size box 10% smaller.
    std::optional<LargeViewerVConfig> run(std::optional<CGFloat> maximumLineWidth)
    {
        struct Shrink {
            CGFloat& size;
            ~Shrink() { size *= 0.9; }
        } shrink {m_size};
        return layOut(maximumLineWidth);
    }

private:
    CGFloat width(const String& text) const { return UIKit::size(text, m_characterAttributes).width; }

    std::optional<LargeViewerVConfig> layOut(std::optional<CGFloat> maximumLineWidth)
    {
        const auto font = m_input.baseFont->withSize(m_size);
        const auto numberFont = Basalwork::monospaced(Basalwork::UIFonts::caption2())->withSize(0.3 * font->pointSize());
        m_characterAttributes = {{Key::foregroundColor(), Shared::UIColors::primaryTint()}, {Key::font(), font}};
        m_numberAttributes = {{Key::foregroundColor(), Shared::UIColors::tertiaryTint()}, {Key::font(), numberFont}};
        m_maximumWidth = maximumLineWidth.value_or(m_input.content.width());
        m_lines.clear();
        m_line.clear();

        breakIntoLines();

        std::vector<CGFloat> widths;
        for (const auto& line : m_lines)
            widths.push_back(width(joined(line)));
        if (!maximumLineWidth && !widths.empty()) {
            const CGFloat threshold = 1.5 * std::accumulate(widths.begin(), widths.end(), CGFloat(0)) / static_cast<CGFloat>(widths.size());
            for (std::size_t i = 0; i < m_lines.size(); ++i)
                if (widths[i] > threshold && std::ranges::any_of(m_lines[i], isBoundary)) {
                    // The balancing run shares this run's size; both runs shrink the box as they end.
                    LineLayout balanced(m_input, m_size);
                    return balanced.run(threshold);
                }
        }

        CGFloat lineHeight = UIKit::size(String(), m_characterAttributes).height;
        if (m_input.isNumbered)
            lineHeight += 4 + UIKit::size(String(), m_numberAttributes).height;
        const CGFloat widest = widths.empty() ? 0 : *std::ranges::max_element(widths);
        const CGFloat blockHeight = lineHeight * static_cast<CGFloat>(m_lines.size());
        const auto& content = m_input.content;
        if (m_input.mustFit && (widest > content.width() + tolerance || blockHeight > content.height() + tolerance))
            return std::nullopt;
        return place(widths, widest, lineHeight);
    }

    void breakIntoLines()
    {
        for (const auto& chunk : m_input.chunks) {
            const CGFloat room = m_maximumWidth - width(joined(m_line));
            const CGFloat chunkWidth = width(chunk);
            if (chunkWidth <= room + tolerance || m_input.isTOTP)
                add(chunk.characters());
            else if (chunkWidth > m_maximumWidth + tolerance)
                cut(chunk.characters());
            else {
                close();
                add(chunk.characters());
            }
        }
        if (!m_line.empty())
            close();
    }

    // A chunk wider than a whole line fills lines by characters.
    void cut(std::vector<Character> remainder)
    {
        while (!remainder.empty()) {
            const CGFloat room = m_maximumWidth - width(joined(m_line));
            if (room + tolerance >= width(joined(remainder))) {
                add(remainder);
                return;
            }
            std::size_t taken = 0;
            CGFloat used = 0;
            while (taken < remainder.size()) {
                const CGFloat next = width(String(remainder[taken]));
                if (used + next > room + tolerance)
                    break;
                used += next;
                ++taken;
            }
            // A character wider than a whole line still gets a line of its own; otherwise the loop would
            // close empty lines forever.
            if (taken == 0 && m_line.empty())
                taken = 1;
            add({remainder.begin(), remainder.begin() + static_cast<std::ptrdiff_t>(taken)});
            close();
            remainder.erase(remainder.begin(), remainder.begin() + static_cast<std::ptrdiff_t>(taken));
        }
    }

    void add(const std::vector<Character>& characters)
    {
        for (const auto& character : characters) {
            if (character.isNewline())
                close();
            else
                m_line.push_back(character);
        }
    }

    void close()
    {
        auto line = std::move(m_line);
        m_line.clear();
        if (!m_input.isNumbered) {
            auto blank = [](const Character& character) { return character.isWhitespace() || character.isNewline(); };
            while (!line.empty() && blank(line.back()))
                line.pop_back();
            const auto first = std::ranges::find_if_not(line, blank);
            line.erase(line.begin(), first);
        }
        m_lines.push_back(std::move(line));
    }

    std::shared_ptr<UIKit::UIColor> color(const Character& character) const
    {
        const bool symbolOrPunctuation = character.isSymbol() || character.isPunctuation();
        switch (m_input.colorMode) {
        case Shared::ColorDifferentiation::numbersSymbolsAndPunctuation:
            if (character.isNumber() || symbolOrPunctuation)
                return Shared::UIColors::secondaryTint();
            break;
        case Shared::ColorDifferentiation::symbolsAndPunctuation:
            if (symbolOrPunctuation)
                return Shared::UIColors::secondaryTint();
            break;
        default:
            break;
        }
        return Shared::UIColors::primaryTint();
    }

    LargeViewerVConfig place(const std::vector<CGFloat>& widths, CGFloat widest, CGFloat lineHeight) const
    {
        const auto& content = m_input.content;
        const CGFloat blockHeight = lineHeight * static_cast<CGFloat>(m_lines.size());
        const CGFloat top = content.minY() + (content.height() - blockHeight) / 2;
        LargeViewerVConfig config;
        std::int64_t position = 0;
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            LargeViewerVConfig::LineConfig lineConfig;
            CGFloat x = content.minX() + (content.width() - widths[i]) / 2;
            const CGFloat y = top + static_cast<CGFloat>(i) * lineHeight;
            for (const auto& character : m_lines[i]) {
                const auto cellSize = UIKit::size(String(character), m_characterAttributes);
                auto attributes = m_characterAttributes;
                attributes[Key::foregroundColor()] = color(character);
                LargeViewerVConfig::CharConfig cell {{{x, y}, cellSize}, character, std::move(attributes), std::nullopt};
                if (m_input.isNumbered) {
                    ++position;
                    const CGFloat numberWidth = UIKit::size(String(std::to_string(position)), m_numberAttributes).width;
                    cell.positionConfig = LargeViewerVConfig::PositionConfig {
                        {{cell.frame.midX() - numberWidth / 2, cell.frame.maxY()}, {numberWidth, numberWidth}}, position, m_numberAttributes};
                }
                x += cellSize.width;
                lineConfig.charConfigs.push_back(std::move(cell));
            }
            config.lineConfigs.push_back(std::move(lineConfig));
        }
        const CGRect block {{content.minX() + (content.width() - widest) / 2, top}, {widest, blockHeight}};
        config.contentContainerFrame = {{block.minX() - m_input.sideMargin, block.minY() - m_input.topMargin},
                                        {block.width() + 2 * m_input.sideMargin, block.height() + m_input.topMargin + m_input.bottomMargin}};
        config.layoutMargins = {m_input.topMargin, m_input.sideMargin, m_input.bottomMargin, m_input.sideMargin};
        return config;
    }

    const Input& m_input;
    CGFloat& m_size;
    Attributes m_characterAttributes;
    Attributes m_numberAttributes;
    CGFloat m_maximumWidth = 0;
    std::vector<std::vector<Character>> m_lines;
    std::vector<Character> m_line;
};

} // namespace

LargeViewerV::Config LargeViewerV::makeConfig() const
{
    const bool compact = isCompact();
    Input input;
    input.sideMargin = compact ? 24 : 27;
    input.topMargin = compact ? 12 : 18;
    input.bottomMargin = compact ? 16 : 24;
    const auto margins = layoutMargins();
    const CGFloat horizontal = std::max(margins.left, margins.right);
    const CGFloat vertical = std::max(margins.top, margins.bottom);
    const auto box = bounds().standardized();
    const CGFloat width = box.size.width - 2 * horizontal - 2 * input.sideMargin;
    const CGFloat height = box.size.height - 2 * vertical - input.topMargin - input.bottomMargin;
    // No room at all: only the dimmed background shows.
    if (!(width > 0 && height > 0))
        return {};
    input.content = {{box.minX() + horizontal + input.sideMargin, box.minY() + vertical + input.topMargin}, {width, height}};

    using Positions = Shared::Settings::LargeViewer::Positions;
    const auto store = Shared::PreferenceStore::shared();
    const auto positions = store ? store->largeViewerPositions() : Positions::passwordsAndPins;
    if (const auto* password = m_content.as<Content::Password>()) {
        input.colorMode = Shared::ColorDifferentiation::mode(password->text);
        input.isNumbered = positions != Positions::never;
    } else if (const auto* pin = m_content.as<Content::PIN>()) {
        input.colorMode = Shared::ColorDifferentiation::mode(pin->text);
        input.isNumbered = positions == Positions::passwordsAndPins;
    }
    input.isTOTP = m_content.as<Content::TOTP>() != nullptr;
    input.baseFont = Basalwork::semibold(Basalwork::monospaced(Basalwork::UIFonts::largeTitle()));
    input.chunks = chunks(m_text);

    CGFloat size = compact ? 80 : 120;
    while (size > minimumPointSize) {
        if (auto config = LineLayout(input, size).run(std::nullopt))
            return *config;
    }
    input.mustFit = false;
    return *LineLayout(input, size).run(std::nullopt);
}

} // namespace Corvendale
