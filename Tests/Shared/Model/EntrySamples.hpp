#pragma once

#include "Shared/Model/Entry.hpp"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace SharedTests {

// A value unlike the default, told apart by the property it is for, with what CSV and JSON must escape.
// A property of a new type needs a sample here before the tests that go through every property build, so it cannot go untested.
inline void setSample(Foundation::String& value, const std::string& key)
{
    // An identifier names files and folders: it stays plain.
    value = key == "id" ? Foundation::String("SAMPLE-ID") : Foundation::String(key + ", \"quoted\" / Zürich\nsecond line");
}
inline void setSample(Shared::EntryCategory& value, const std::string&)
{
    value = Shared::EntryCategory::secureNote;
}
inline void setSample(bool& value, const std::string&)
{
    value = true;
}
inline void setSample(Foundation::Date& value, const std::string& key)
{
    value = Foundation::Date(700'000'000.125 + static_cast<double>(key.size()));
}
inline void setSample(Shared::EntryPreviousValue& value, const std::string& key)
{
    value = {Foundation::String("ID-" + key), Foundation::String("earlier " + key), Foundation::Date(600'000'000.5)};
}
inline void setSample(Shared::EntryServiceIdentifier& value, const std::string& key)
{
    value = {Foundation::String(key + ".example.com"), Foundation::Date(650'000'000)};
}
inline void setSample(Shared::EntryField& value, const std::string& key)
{
    value.title = Foundation::String("Field of " + key);
    value.text = "1234";
    value.category = Shared::EntryFieldCategory::pin;
    value.history = {{"H1", "0000", Foundation::Date(1)}};
}
inline void setSample(Shared::EntrySection& value, const std::string& key)
{
    value.title = Foundation::String("Section of " + key);
    value.fields.resize(2);
    setSample(value.fields[0], key);
}
inline void setSample(std::optional<Shared::EntrySubtitleSource>& value, const std::string&)
{
    value = Shared::EntrySubtitleSource::customField({0, 1});
}
inline void setSample(std::optional<Foundation::Date>& value, const std::string& key)
{
    setSample(value.emplace(), key);
}
template <class T>
inline void setSample(std::vector<T>& values, const std::string& key)
{
    values.resize(2);
    setSample(values[0], key);
    setSample(values[1], key + " again");
}
template <class T>
inline void setSample(std::map<std::string, T>& values, const std::string& key)
{
    setSample(values["title"], key);
}

} // namespace SharedTests
