#include "Platform/UIKit/InterfaceDocument.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/NSCoder.hpp"
#include "Platform/UIKit/ClassRegistry.hpp"

#include <nlohmann/json.hpp>

#include <fstream>
#include <limits>

namespace UIKit {
namespace {

// Reads one object's description; writing is not something a document does.
class DescriptionCoder : public Foundation::NSCoder {
public:
    explicit DescriptionCoder(const nlohmann::ordered_json& description)
        : m_description(description)
    {
    }

    bool containsValue(std::string_view key) const override { return value(key) != nullptr; }
    bool decodeBool(std::string_view key) const override
    {
        const auto* found = value(key);
        return found && found->is_boolean() && found->get<bool>();
    }
    std::int64_t decodeInteger(std::string_view key) const override
    {
        const auto* found = value(key);
        if (!found || !found->is_number_integer())
            return 0;
        if (found->is_number_unsigned()
            && found->get<std::uint64_t>() > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            return 0;
        return found->get<std::int64_t>();
    }
    double decodeDouble(std::string_view key) const override
    {
        const auto* found = value(key);
        return found && found->is_number() ? found->get<double>() : 0;
    }
    std::optional<Foundation::String> decodeString(std::string_view key) const override
    {
        const auto* found = value(key);
        if (!found || !found->is_string())
            return std::nullopt;
        return Foundation::String(found->get_ref<const std::string&>());
    }
    // Documents describe objects by plain values only.
    std::optional<Foundation::Data> decodeData(std::string_view) const override { return std::nullopt; }
    std::optional<Foundation::Date> decodeDate(std::string_view) const override { return std::nullopt; }
    std::shared_ptr<Foundation::NSObject> decodeObject(std::string_view) const override { return nullptr; }

private:
    const nlohmann::ordered_json* value(std::string_view key) const
    {
        auto found = m_description.find(std::string(key));
        return found == m_description.end() ? nullptr : &*found;
    }

    const nlohmann::ordered_json& m_description;
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
    auto document = nlohmann::ordered_json::parse(file, nullptr, false);
    if (document.is_discarded() || !document.is_object())
        damaged(text, kind, "it is not a JSON object");

    InterfaceDocument result;
    result.m_name = text;
    auto initial = document.find("initialViewController");
    if (initial != document.end()) {
        if (!initial->is_string())
            damaged(text, kind, "\"initialViewController\" is not text");
        result.m_initialIdentifier = initial->get<std::string>();
    }
    auto objects = document.find("objects");
    if (objects == document.end() || !objects->is_array())
        damaged(text, kind, "it has no \"objects\" array");
    for (const auto& object : *objects) {
        if (!object.is_object() || !object.contains("class") || !object["class"].is_string())
            damaged(text, kind, "an object names no class");
        Object entry {object["class"].get<std::string>(), std::nullopt};
        if (object.contains("identifier")) {
            if (!object["identifier"].is_string())
                damaged(text, kind, "an identifier is not text");
            entry.identifier = object["identifier"].get<std::string>();
        }
        result.m_objects.push_back(std::move(entry));
    }
    result.m_document = std::make_shared<const nlohmann::ordered_json>(std::move(document));
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
    return found->makeWithCoder(*Foundation::make<DescriptionCoder>(m_document->at("objects").at(index)));
}

} // namespace UIKit
