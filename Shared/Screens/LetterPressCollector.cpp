#include "Shared/Screens/LetterPressCollector.hpp"

#include "Platform/Foundation/Character.hpp"

namespace Shared {

const Foundation::String& LetterPressCollector::collect(const Foundation::Character& character)
{
    auto now = Foundation::Date::now();
    // A clock set back counts as a pause too.
    if (!m_lastPress || now.timeIntervalSince(*m_lastPress) > resetInterval || now < *m_lastPress || m_text.count() >= maximumLength)
        m_text = Foundation::String();
    m_text.append(character);
    m_lastPress = now;
    return m_text;
}

void LetterPressCollector::reset()
{
    m_text = Foundation::String();
    m_lastPress.reset();
}

} // namespace Shared
