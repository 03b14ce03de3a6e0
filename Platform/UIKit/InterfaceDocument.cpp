#include "Platform/UIKit/InterfaceDocument.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/JSONView.hpp"
#include "Platform/Foundation/NSCoder.hpp"
#include "Platform/UIKit/ClassRegistry.hpp"

#include <fstream>
#include <iterator>

namespace UIKit {

using Foundation::JSONView;

// The document's text and its parse, which views it; objects are made from it long after reading.
struct InterfaceDocument::Parsed {
    explicit Parsed(std::string bytes)
        : text(std::move(bytes))
        , document(text)
    {
    }

    const std::string text;
    const Foundation::JSONDocument document;
};

namespace {

// Reads one object's description; writing is not something a document does.
class DescriptionCoder : public Foundation::NSCoder {
public:
    explicit DescriptionCoder(const JSONView& description)
        : m_description(description)
    {
    }

    bool containsValue(std::string_view key) const override { return m_description.contains(key); }
    bool decodeBool(std::string_view key) const override
    {
        auto found = m_description.find(key);
        return found && found->boolean().value_or(false);
    }
    std::int64_t decodeInteger(std::string_view key) const override
    {
        auto found = m_description.find(key);
        return found ? found->int64().value_or(0) : 0;
    }
    double decodeDouble(std::string_view key) const override
    {
        auto found = m_description.find(key);
        return found ? found->number().value_or(0) : 0;
    }
    std::optional<Foundation::String> decodeString(std::string_view key) const override
    {
        auto found = m_description.find(key);
        if (!found || !found->isString())
            return std::nullopt;
        return Foundation::String(*found->string());
    }
    // Documents describe objects by plain values only.
    std::optional<Foundation::Data> decodeData(std::string_view) const override { return std::nullopt; }
    std::optional<Foundation::Date> decodeDate(std::string_view) const override { return std::nullopt; }
    std::shared_ptr<Foundation::NSObject> decodeObject(std::string_view) const override { return nullptr; }

private:
    JSONView m_description;
};

[[noreturn]] void damaged(const std::string& name, const std::string& kind, const std::string& why)
{
    Foundation::fatalError("The " + kind + " '" + name + "' is damaged: " + why);
}

} // namespace

InterfaceDocument InterfaceDocument::read(const Foundation::String& name, const std::shared_ptr<Foundation::Bundle>& bundle,
                                          const std::string& kind)
{
    auto in = bundle ? bundle : Foundation::Bundle::main();
    const std::string text(name.view());
    auto path = in->path(name, Foundation::String(kind + ".json"));
    std::ifstream file(path.value_or(""), std::ios::binary);
    if (!path || !file)
        Foundation::fatalError("Could not find a " + kind + " named '" + text + "' in bundle " + in->bundlePath());
    std::shared_ptr<const Parsed> parsed;
    try {
        parsed = std::make_shared<const Parsed>(std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>()));
    } catch (const Foundation::JSONDocument::SyntaxError&) {
        damaged(text, kind, "it is not a JSON object");
    }
    JSONView document(parsed->document);
    if (!document.isObject())
        damaged(text, kind, "it is not a JSON object");

    InterfaceDocument result;
    result.m_name = text;
    if (auto initial = document.find("initialViewController")) {
        if (!initial->isString())
            damaged(text, kind, "\"initialViewController\" is not text");
        result.m_initialIdentifier = std::string(*initial->string());
    }
    auto objects = document.find("objects");
    if (!objects || !objects->isArray())
        damaged(text, kind, "it has no \"objects\" array");
    for (auto object : objects->elements()) {
        auto className = object.find("class");
        if (!className || !className->isString())
            damaged(text, kind, "an object names no class");
        Object entry {std::string(*className->string()), std::nullopt};
        if (auto identifier = object.find("identifier")) {
            if (!identifier->isString())
                damaged(text, kind, "an identifier is not text");
            entry.identifier = std::string(*identifier->string());
        }
        result.m_objects.push_back(std::move(entry));
    }
    result.m_parsed = std::move(parsed);
    return result;
}

std::shared_ptr<Foundation::NSObject> InterfaceDocument::instantiate(std::size_t index) const
{
    const auto& object = m_objects.at(index);
    auto found = ClassRegistry::classNamed(object.className);
    if (!found)
        Foundation::fatalError("Unknown class " + object.className + " in interface document '" + m_name + "'");
    if (!found->makeWithCoder)
        Foundation::fatalError("Class " + object.className + " in interface document '" + m_name
                               + "' cannot be made from a document");
    auto objects = *JSONView(m_parsed->document).find("objects");
    return found->makeWithCoder(*Foundation::make<DescriptionCoder>(objects[index]));
}

} // namespace UIKit
