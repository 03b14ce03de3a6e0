#pragma once

#include "Shared/Crypto/PasswordGenerator.hpp"

#include "Platform/UIKit/UIView.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <variant>

namespace UIKit {
class UIButton;
class UILabel;
class UISegmentedControl;
class UIStepper;
class UISwitch;
} // namespace UIKit

namespace Shared {

// The generator's options under the password or PIN field being typed into
// (EntryDetailsTVC::InlineGeneratorV). Its controls never take the keyboard, so the field keeps it.
class EntryDetailsTVCInlineGeneratorV : public UIKit::UIView {
public:
    struct Regenerate { };
    // The kind chosen: the settings as a whole, with the new kind.
    struct Settings {
        PasswordGenerator settings;
    };
    struct Length {
        std::int64_t length;
    };
    // Of words, or of a PIN's digits.
    struct Count {
        std::int64_t count;
    };
    struct IncludesNumbers {
        bool includesNumbers;
    };
    struct IncludesSymbols {
        bool includesSymbols;
    };
    struct Separator {
        Foundation::String separator;
    };
    using Change = std::variant<Regenerate, Settings, Length, Count, IncludesNumbers, IncludesSymbols, Separator>;

    // The separators offered, in order.
    static const std::vector<Foundation::String>& separators();

    std::function<void(const Change&)> onChange;

    // A PIN field offers only the number of digits.
    void show(const PasswordGenerator& settings, bool isPIN);

    const std::shared_ptr<UIKit::UISegmentedControl>& kindControl() const { return m_kindControl; }
    const std::shared_ptr<UIKit::UIStepper>& stepper() const { return m_stepper; }
    const std::shared_ptr<UIKit::UILabel>& countLabel() const { return m_countLabel; }

protected:
    friend Foundation::Construct;
    EntryDetailsTVCInlineGeneratorV() = default;
    void initialize() override;

private:
    void report(const Change& change) const;
    PasswordGenerator::Kind shownKind() const;

    PasswordGenerator m_settings;
    bool m_isPIN = false;
    std::shared_ptr<UIKit::UISegmentedControl> m_kindControl;
    std::shared_ptr<UIKit::UIButton> m_regenerateButton;
    std::shared_ptr<UIKit::UILabel> m_countLabel;
    std::shared_ptr<UIKit::UIStepper> m_stepper;
    std::shared_ptr<UIKit::UILabel> m_numbersLabel;
    std::shared_ptr<UIKit::UISwitch> m_numbersSwitch;
    std::shared_ptr<UIKit::UILabel> m_symbolsLabel;
    std::shared_ptr<UIKit::UISwitch> m_symbolsSwitch;
    std::shared_ptr<UIKit::UISegmentedControl> m_separatorControl;
};

} // namespace Shared
