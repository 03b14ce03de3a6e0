#include "Platform/Terminal/SceneRenderer.hpp"

#include "Platform/Foundation/NSAttributedString.hpp"
#include "Platform/Terminal/Canvas.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UIActivityIndicatorView.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIButton.Configuration.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFocusItem.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIProgressView.hpp"
#include "Platform/UIKit/UIScrollView.hpp"
#include "Platform/UIKit/UINavigationBar.hpp"
#include "Platform/UIKit/UISegmentedControl.hpp"
#include "Platform/UIKit/UISlider.hpp"
#include "Platform/UIKit/UIStepper.hpp"
#include "Platform/UIKit/UISwitch.hpp"
#include "Platform/UIKit/UITableViewCell.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UITextView.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Platform/UIKit/ViewDrawing.hpp"

#include <algorithm>
#include <cmath>
#include <set>
#include <ranges>

namespace Terminal {
namespace {

using Foundation::String;
using namespace UIKit;

String bullets(std::int64_t count)
{
    String text;
    for (std::int64_t i = 0; i < count; ++i)
        text.append("•");
    return text;
}

// The end of a text that fits the columns: a field shows where typing goes on.
String tail(const String& text, std::int64_t columns)
{
    if (TextGrid::columns(text) <= columns)
        return text;
    auto characters = text.characters();
    String shown;
    std::int64_t used = 0;
    std::vector<Foundation::Character> kept;
    for (auto it = characters.rbegin(); it != characters.rend(); ++it) {
        used += TextGrid::columns(*it);
        if (used > columns)
            break;
        kept.push_back(*it);
    }
    for (auto it = kept.rbegin(); it != kept.rend(); ++it)
        shown.append(it->utf8());
    return shown;
}

std::int64_t aligned(std::int64_t width, std::int64_t columns, NSTextAlignment alignment)
{
    if (alignment == NSTextAlignment::center)
        return std::max<std::int64_t>(0, (columns - width) / 2);
    if (alignment == NSTextAlignment::right)
        return std::max<std::int64_t>(0, columns - width);
    return 0;
}

std::optional<String> buttonTitle(const UIButton& button)
{
    if (auto title = button.currentTitle(); title && !title->isEmpty())
        return title;
    if (const auto& configuration = button.configuration(); configuration && configuration->attributedTitle)
        return configuration->attributedTitle->string();
    return button.accessibilityLabel();
}

// How a view's text colour shows: in colour when it has a hue, dimmed when it is a receding grey.
struct Ink {
    std::optional<CellColor> color;
    CellStyle style = CellStyle::plain;
};

Ink ink(const std::shared_ptr<UIColor>& color, const UIView& view)
{
    if (!color)
        return {};
    const auto traits = view.traitCollection();
    return {CellColor::of(*color, traits), CellColor::recedes(*color, traits) ? CellStyle::dim : CellStyle::plain};
}

std::shared_ptr<UIColor> buttonColor(const UIButton& button)
{
    if (const auto& configuration = button.configuration(); configuration && configuration->baseForegroundColor)
        return configuration->baseForegroundColor;
    return button.tintColor();
}

struct Painter {
    Canvas& canvas;
    const std::shared_ptr<UIView>& focused;
    std::set<const UIView*> framed;

    void text(const CellRect& cells, std::int64_t rowOffset, const String& line, CellStyle style, const CellRect& clip,
              NSTextAlignment alignment = NSTextAlignment::natural, const Ink& ink = {})
    {
        const auto offset = aligned(TextGrid::columns(line), cells.columns, alignment);
        canvas.write(cells.column + offset, cells.row + rowOffset, line, style | ink.style, clip.intersection(cells), ink.color);
    }

    // What the view itself shows, before its subviews draw over it.
    void content(const UIView& view, const CellRect& cells, const CellRect& clip, CellStyle style)
    {
        const bool isFocused = focused.get() == &view;
        if (const auto* label = dynamic_cast<const UILabel*>(&view)) {
            if (!label->text())
                return;
            const auto lines = TextGrid::lines(*label->text(), static_cast<CGFloat>(cells.columns) * TextGrid::columnWidth,
                                               label->lineBreakMode(), label->numberOfLines());
            const auto labelInk = ink(label->textColor(), view);
            for (std::size_t i = 0; i < lines.size(); ++i)
                text(cells, static_cast<std::int64_t>(i), lines[i], style, clip, label->textAlignment(), labelInk);
            return;
        }
        if (const auto* field = dynamic_cast<const UITextField*>(&view)) {
            // Each line of the text (a note's) has a row of its own, as far as the field is tall.
            const auto shown = field->isSecureTextEntry() ? bullets(field->text().count()) : field->text();
            auto lines = shown.components(String("\n"));
            if (lines.empty())
                lines.emplace_back();
            const auto rows = std::clamp<std::int64_t>(static_cast<std::int64_t>(lines.size()), 1, std::max<std::int64_t>(cells.rows, 1));
            // The field's lines are underlined, so that an empty field can be seen and clicked.
            canvas.addStyle(clip.intersection({cells.column, cells.row, cells.columns, rows}), CellStyle::underline);
            const auto fieldStyle = style | CellStyle::underline | (field->isEnabled() ? CellStyle::plain : CellStyle::dim);
            if (field->text().isEmpty()) {
                if (auto placeholder = field->placeholder())
                    text(cells, 0, *placeholder, fieldStyle | CellStyle::dim, clip);
            } else {
                // Being edited, it keeps a cell for the caret after the text.
                const auto room = field->isFirstResponder() ? cells.columns - 1 : cells.columns;
                for (std::int64_t row = 0; row < rows; ++row)
                    text(cells, row, tail(lines[static_cast<std::size_t>(row)], std::max<std::int64_t>(room, 1)), fieldStyle, clip,
                         NSTextAlignment::natural, ink(field->textColor(), view));
            }
            if (field->isFirstResponder()) {
                const auto& last = lines[static_cast<std::size_t>(rows - 1)];
                const auto column = cells.column + std::min(TextGrid::columns(last), std::max<std::int64_t>(cells.columns - 1, 0));
                if (clip.contains(column, cells.row + rows - 1))
                    canvas.setCursor(std::pair {column, cells.row + rows - 1});
            }
            return;
        }
        if (const auto* textView = dynamic_cast<const UITextView*>(&view)) {
            const auto lines = TextGrid::lines(textView->text(), static_cast<CGFloat>(cells.columns) * TextGrid::columnWidth,
                                               NSLineBreakMode::byWordWrapping, 0);
            const auto textInk = ink(textView->textColor(), view);
            for (std::size_t i = 0; i < lines.size(); ++i)
                text(cells, static_cast<std::int64_t>(i), lines[i], style, clip, NSTextAlignment::natural, textInk);
            return;
        }
        if (const auto* toggle = dynamic_cast<const UISwitch*>(&view)) {
            text(cells, 0, String(toggle->isOn() ? "[x]" : "[ ]"), style | (isFocused ? CellStyle::reverse : CellStyle::plain), clip);
            return;
        }
        if (const auto* segmented = dynamic_cast<const UISegmentedControl*>(&view)) {
            const auto count = segmented->numberOfSegments();
            for (std::int64_t i = 0; i < count && cells.columns > 0; ++i) {
                const auto left = cells.column + cells.columns * i / count;
                const auto right = cells.column + cells.columns * (i + 1) / count;
                CellRect segment {left, cells.row, right - left, 1};
                auto segmentStyle = style | (i == segmented->selectedSegmentIndex() ? CellStyle::reverse : CellStyle::plain);
                if (isFocused)
                    segmentStyle = segmentStyle | CellStyle::underline;
                canvas.clear(clip.intersection(segment), segmentStyle);
                text(segment, 0, segmented->titleForSegment(i).value_or(String()), segmentStyle, clip, NSTextAlignment::center);
            }
            return;
        }
        if (const auto* slider = dynamic_cast<const UISlider*>(&view)) {
            const auto span = slider->maximumValue() - slider->minimumValue();
            const double fraction = span > 0 ? (slider->value() - slider->minimumValue()) / span : 0;
            const auto knob = static_cast<std::int64_t>(std::lround(fraction * static_cast<double>(std::max<std::int64_t>(cells.columns - 1, 0))));
            for (std::int64_t i = 0; i < cells.columns; ++i)
                canvas.write(cells.column + i, cells.row, String(i == knob ? "●" : "─"),
                             style | (isFocused && i == knob ? CellStyle::reverse : CellStyle::plain), clip);
            return;
        }
        if (const auto* bar = dynamic_cast<const UIProgressView*>(&view)) {
            const auto filled = static_cast<std::int64_t>(std::lround(bar->progress() * static_cast<double>(cells.columns)));
            for (std::int64_t i = 0; i < cells.columns; ++i)
                canvas.write(cells.column + i, cells.row, String(i < filled ? "█" : "░"), style, clip);
            return;
        }
        if (dynamic_cast<const UIStepper*>(&view)) {
            text(cells, 0, String("[-|+]"), style | (isFocused ? CellStyle::reverse : CellStyle::plain), clip);
            return;
        }
        if (const auto* button = dynamic_cast<const UIButton*>(&view)) {
            auto buttonStyle = style | CellStyle::bold;
            if (!button->isEnabled())
                buttonStyle = style | CellStyle::dim;
            if (isFocused || button->isHighlighted())
                buttonStyle = buttonStyle | CellStyle::reverse;
            if (isFocused || button->isHighlighted())
                canvas.clear(clip.intersection({cells.column, cells.row, cells.columns, 1}), buttonStyle);
            // A title wider than the button ends in "…", as its label would, rather than running into
            // the next button.
            const auto full = buttonTitle(*button).value_or(String("•"));
            const auto fitted = TextGrid::lines(full, static_cast<CGFloat>(std::max<std::int64_t>(cells.columns, 1)) * TextGrid::columnWidth,
                                                NSLineBreakMode::byTruncatingTail, 1);
            const auto title = fitted.empty() ? full : fitted.front();
            // A disabled button shows dimmed, in no colour.
            const auto titleInk = button->isEnabled() ? ink(buttonColor(*button), view) : Ink {};
            text(cells, std::max<std::int64_t>(0, (cells.rows - 1) / 2), title, buttonStyle, clip, NSTextAlignment::center, titleInk);
            return;
        }
        if (const auto* spinner = dynamic_cast<const UIActivityIndicatorView*>(&view)) {
            if (spinner->isAnimating())
                text(cells, 0, String("*"), style, clip);
            return;
        }
        if (dynamic_cast<const UINavigationBar*>(&view) && cells.rows > 1) {
            // The bar's lower edge parts it from the screen under it.
            for (auto column = cells.column; column < cells.right(); ++column)
                canvas.write(column, cells.bottom() - 1, String("─"), CellStyle::dim, clip);
            return;
        }
        if (const auto* cell = dynamic_cast<const UITableViewCell*>(&view)) {
            // A cell that shows no text of its own (the content view empty) shows its label.
            const auto& contentView = cell->contentView();
            const bool empty = !contentView || std::ranges::none_of(contentView->subviews(), [](const auto& subview) { return !subview->isHidden(); });
            if (empty)
                if (auto label = cell->accessibilityLabel())
                    text({cells.column + 2, cells.row, cells.columns - 2, cells.rows}, std::max<std::int64_t>(0, (cells.rows - 1) / 2),
                         *label, style, clip);
        }
    }

    // What the view's own drawing painted. Text in a large font takes a box of its measured cells with
    // the character in the middle, so that large type reads as large on the grid too.
    void drawn(const UIView& view, const std::vector<ViewDrawing::Operation>& operations, const CellRect& clip, CellStyle style)
    {
        auto onScreen = [&view](const CGRect& rect) {
            CGRect screen {view.convertTo(rect.origin, nullptr), rect.size};
            if (auto window = view.window(); window && window.get() != &view) {
                screen.origin.x += window->frame().origin.x;
                screen.origin.y += window->frame().origin.y;
            }
            return CellRect::covering(screen);
        };
        for (const auto& operation : operations) {
            if (const auto* fill = std::get_if<ViewDrawing::Fill>(&operation)) {
                if (fill->color)
                    canvas.clear(clip.intersection(onScreen(fill->rect)), style, CellColor::of(*fill->color, view.traitCollection()));
                continue;
            }
            const auto& text = std::get<ViewDrawing::Text>(operation);
            const auto cells = onScreen(text.rect);
            const auto textInk = ink(text.color, view);
            if (cells.columns >= 3 && cells.rows >= 3) {
                canvas.frame(cells, style | CellStyle::dim, clip);
                const auto column = cells.column + std::max<std::int64_t>(0, (cells.columns - TextGrid::columns(text.string)) / 2);
                canvas.write(column, cells.row + (cells.rows - 1) / 2, text.string, style | CellStyle::bold | textInk.style, clip, textInk.color);
            } else {
                canvas.write(cells.column, cells.row, text.string, style | textInk.style, clip, textInk.color);
            }
        }
    }

    void draw(const std::shared_ptr<UIView>& view, const CellRect& clip, CellStyle style)
    {
        if (view->isHidden() || view->alpha() <= 0)
            return;
        const auto cells = SceneRenderer::cells(*view);
        auto inner = clip;
        // A view with a background hides what lies under it (a banner over a list).
        if (const auto& background = view->backgroundColor(); background && background->alpha() > 0 && !dynamic_cast<const UIWindow*>(view.get()))
            canvas.clear(clip.intersection(cells), style, CellColor::of(*background, view->traitCollection()));
        if (framed.contains(view.get())) {
            // A screen presented over another stands in a box; what lies under it does not show through.
            canvas.clear(clip.intersection(cells));
            canvas.frame({cells.column - 1, cells.row - 1, cells.columns + 2, cells.rows + 2}, CellStyle::plain, clip);
        }
        const auto* cell = dynamic_cast<const UITableViewCell*>(view.get());
        // A focused item (a choice of a list) is marked as a focused row is.
        const bool marked = (cell && (cell->isSelected() || cell->isHighlighted() || focused.get() == cell))
            || (focused == view && dynamic_cast<const UIFocusItem*>(view.get()));
        if (marked) {
            style = style | CellStyle::reverse;
            canvas.clear(clip.intersection(cells), style);
        }
        content(*view, cells, clip, style);
        drawn(*view, view->drawing(), clip.intersection(cells), style);
        // Scrolling content shows only inside its view.
        if (dynamic_cast<const UIScrollView*>(view.get()))
            inner = clip.intersection(cells);
        for (const auto& subview : view->subviews())
            draw(subview, inner, style);
        // The mark goes on last, so that nothing the cell holds covers it, and only on a blank: a row whose
        // text starts at its edge keeps its first letter (reverse video marks it as well).
        auto markRow = cells.row + std::max<std::int64_t>(0, (cells.rows - 1) / 2);
        // An item's mark stands beside its first line of text, wherever in its rows that lies.
        if (marked && !cell)
            for (auto row = cells.row; row < cells.bottom(); ++row) {
                auto shows = [&](std::int64_t column) { return clip.contains(column, row) && canvas.at(column, row).text != " "; };
                if (std::ranges::any_of(std::views::iota(cells.column + 1, cells.right()), shows)) {
                    markRow = row;
                    break;
                }
            }
        if (marked && clip.contains(cells.column, markRow) && canvas.at(cells.column, markRow).text == " ")
            canvas.write(cells.column, markRow, String("›"), style, clip);
    }
};

} // namespace

CellRect SceneRenderer::cells(const UIView& view)
{
    auto window = view.window();
    CGRect rect = view.convertTo(view.bounds(), nullptr);
    if (window && window.get() != &view) {
        rect.origin.x += window->frame().origin.x;
        rect.origin.y += window->frame().origin.y;
    } else if (const auto* asWindow = dynamic_cast<const UIWindow*>(&view)) {
        rect = asWindow->frame();
    }
    return CellRect::covering(rect);
}

std::vector<std::shared_ptr<UIWindow>> SceneRenderer::shownWindows(const UIWindowScene& scene)
{
    std::vector<std::shared_ptr<UIWindow>> windows;
    for (const auto& window : UIApplication::shared()->windowsFrontToBack()) {
        if (window->windowScene().get() != &scene || window->isHidden())
            continue;
        windows.push_back(window);
        // Nothing shows behind the key window.
        if (window->isKeyWindow())
            break;
    }
    std::ranges::reverse(windows);
    return windows;
}

void SceneRenderer::render(const UIWindowScene& scene, Canvas& canvas, const std::shared_ptr<UIView>& focused)
{
    canvas.setCursor(std::nullopt);
    Painter painter {canvas, focused, {}};
    const auto windows = shownWindows(scene);
    for (const auto& window : windows) {
        const auto area = cells(*window).intersection(canvas.bounds());
        // The key window starts the picture; a window in front of it (a banner's, over the whole screen)
        // hides what lies under it only where it or its views have a background.
        const auto& background = window->backgroundColor();
        if (window == windows.front() || (background && background->alpha() > 0))
            canvas.clear(area);
        const bool fillsScreen = area.columns >= canvas.columns() && area.rows >= canvas.rows() - 1;
        if (!fillsScreen)
            canvas.frame({area.column - 1, area.row - 1, area.columns + 2, area.rows + 2}, CellStyle::plain, canvas.bounds());
        for (const auto& controller : window->presentedViewControllers())
            if (controller->isViewLoaded()) {
                const auto frame = controller->view()->frame();
                const auto bounds = window->bounds();
                if (frame.size.width < bounds.size.width || frame.size.height < bounds.size.height)
                    painter.framed.insert(controller->view().get());
            }
        painter.draw(window, area, CellStyle::plain);
    }
}

} // namespace Terminal
