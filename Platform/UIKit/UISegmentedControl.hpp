#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIControl.hpp"

#include <cstdint>
#include <vector>

namespace UIKit {

// A row of segments of equal width, one selected at a time: a tap on a segment selects it and reports a
// value change (a momentary control selects nothing lasting).
class UISegmentedControl : public UIControl {
public:
    static constexpr std::int64_t noSegment = -1;

    std::int64_t numberOfSegments() const { return static_cast<std::int64_t>(m_titles.size()); }
    std::optional<Foundation::String> titleForSegment(std::int64_t at) const;
    void setTitle(std::optional<Foundation::String> title, std::int64_t forSegmentAt);
    void insertSegment(Foundation::String withTitle, std::int64_t at, bool animated);
    void removeSegment(std::int64_t at, bool animated);
    void removeAllSegments();
    // `noSegment` for none; an index out of range selects nothing.
    std::int64_t selectedSegmentIndex() const { return m_selectedSegmentIndex; }
    void setSelectedSegmentIndex(std::int64_t index);
    bool isMomentary() const { return m_isMomentary; }
    void setIsMomentary(bool momentary) { m_isMomentary = momentary; }

    std::optional<Foundation::String> accessibilityValue() const override;

protected:
    friend Foundation::Construct;
    UISegmentedControl() = default;
    // init(items:) with titles.
    explicit UISegmentedControl(std::vector<Foundation::String> items)
        : m_titles(items.begin(), items.end())
    {
    }
    void endTracking(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event) override;

private:
    std::vector<std::optional<Foundation::String>> m_titles;
    std::int64_t m_selectedSegmentIndex = noSegment;
    bool m_isMomentary = false;
};

} // namespace UIKit
