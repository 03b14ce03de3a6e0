#pragma once

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <optional>

namespace Foundation {
class Character;
}

namespace Shared {

// Gathers the letters a person types in quick succession, for type-to-select: each letter typed within
// `resetInterval` of the last one extends the text, a letter after a pause starts it afresh.
class LetterPressCollector : public Foundation::NSObject {
public:
    static constexpr double resetInterval = 1.0;
    // Longer texts are a key held down, not a name being typed.
    static constexpr std::int64_t maximumLength = 64;

    // Adds the letter and answers the text gathered so far.
    const Foundation::String& collect(const Foundation::Character& character);
    const Foundation::String& text() const { return m_text; }
    void reset();

protected:
    friend Foundation::Construct;
    LetterPressCollector() = default;

private:
    Foundation::String m_text;
    std::optional<Foundation::Date> m_lastPress;
};

} // namespace Shared
