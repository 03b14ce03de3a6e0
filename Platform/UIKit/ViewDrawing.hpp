#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/CGRect.hpp"

#include <memory>
#include <variant>
#include <vector>

namespace UIKit {

class UIColor;

// What a view's own `draw(_:)` painted, in the view's coordinates, in order: filled paths and drawn text.
// The display paints it after the view's background and before its subviews. While a view draws, its
// drawing is the current one; paths and text drawn outside any view's drawing go nowhere.
class ViewDrawing {
public:
    struct Fill {
        CGRect rect;
        CGFloat cornerRadius = 0;
        std::shared_ptr<UIColor> color;
    };
    struct Text {
        Foundation::String string;
        // Where it starts and the room it measured.
        CGRect rect;
        std::shared_ptr<UIColor> color;
    };
    using Operation = std::variant<Fill, Text>;

    ViewDrawing();
    ViewDrawing(const ViewDrawing&) = delete;
    ViewDrawing& operator=(const ViewDrawing&) = delete;
    ~ViewDrawing();

    static ViewDrawing* current();

    void setFillColor(std::shared_ptr<UIColor> color) { m_fillColor = std::move(color); }
    void fill(const CGRect& rect, CGFloat cornerRadius) { m_operations.emplace_back(Fill {rect, cornerRadius, m_fillColor}); }
    void text(Foundation::String string, const CGRect& rect, std::shared_ptr<UIColor> color)
    {
        m_operations.emplace_back(Text {std::move(string), rect, std::move(color)});
    }

    const std::vector<Operation>& operations() const { return m_operations; }
    std::vector<Operation> takeOperations() { return std::move(m_operations); }

private:
    std::vector<Operation> m_operations;
    std::shared_ptr<UIColor> m_fillColor;
    ViewDrawing* m_previous;
};

} // namespace UIKit
