#include "Platform/Foundation/Bundle.hpp"

#include "Platform/Foundation/JSONView.hpp"
#include "Platform/Foundation/Logger.hpp"

#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>

namespace Foundation {
namespace {

struct MainBundle {
    std::mutex mutex;
    std::shared_ptr<Bundle> bundle;
};

const Logger& log()
{
    static const Logger logger("Foundation", "Bundle");
    return logger;
}

MainBundle& mainBundle()
{
    static auto* instance = new MainBundle;
    return *instance;
}

std::optional<PropertyListValue> propertyList(const JSONView& json)
{
    switch (json.kind()) {
    case JSONView::Kind::boolean: return PropertyListValue(*json.boolean());
    case JSONView::Kind::integer:
    case JSONView::Kind::unsignedInteger:
    case JSONView::Kind::real:
        if (auto value = json.int64())
            return PropertyListValue(*value);
        return PropertyListValue(*json.number());
    case JSONView::Kind::string: return PropertyListValue(String(*json.string()));
    case JSONView::Kind::array: {
        PropertyListValue::Array array;
        for (auto element : json.elements())
            if (auto value = propertyList(element))
                array.push_back(std::move(*value));
        return PropertyListValue(std::move(array));
    }
    case JSONView::Kind::object: {
        PropertyListValue::Dictionary dictionary;
        for (auto [key, element] : json.members())
            if (auto value = propertyList(element))
                dictionary.insert_or_assign(String(key), std::move(*value));
        return PropertyListValue(std::move(dictionary));
    }
    case JSONView::Kind::null: return std::nullopt;
    }
    return std::nullopt;
}

std::optional<Bundle::InfoDictionary> readInfoDictionary(const std::filesystem::path& folder)
{
    std::ifstream file(folder / "Info.json", std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto document = JSONDocument::tryParse(text);
    if (!document || !JSONView(*document).isObject())
        return std::nullopt;
    return propertyList(JSONView(*document))->as<Bundle::InfoDictionary>();
}

} // namespace

std::shared_ptr<Bundle> Bundle::main()
{
    auto& main = mainBundle();
    std::lock_guard lock(main.mutex);
    if (!main.bundle) {
        std::error_code error;
        auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
        auto folder = error ? std::filesystem::current_path() : executable.parent_path();
        main.bundle = make<Bundle>(folder.string(), readInfoDictionary(folder));
    }
    return main.bundle;
}

void Bundle::setMain(std::shared_ptr<Bundle> bundle)
{
    auto& main = mainBundle();
    std::lock_guard lock(main.mutex);
    main.bundle = std::move(bundle);
}

std::shared_ptr<Bundle> Bundle::atPath(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_directory(path, error))
        return nullptr;
    return make<Bundle>(path, readInfoDictionary(path));
}

std::shared_ptr<Bundle> Bundle::withInfoDictionary(std::optional<InfoDictionary> infoDictionary, std::string path)
{
    return make<Bundle>(std::move(path), std::move(infoDictionary));
}

std::optional<PropertyListValue> Bundle::object(const String& key) const
{
    if (!m_infoDictionary)
        return std::nullopt;
    auto it = m_infoDictionary->find(key);
    if (it == m_infoDictionary->end())
        return std::nullopt;
    return it->second;
}

std::optional<String> Bundle::bundleIdentifier() const
{
    auto value = object("CFBundleIdentifier");
    return value ? value->as<String>() : std::nullopt;
}

std::optional<std::string> Bundle::path(const String& forResource, const std::optional<String>& ofType) const
{
    std::string name(forResource.view());
    if (ofType && !ofType->isEmpty())
        name += "." + std::string(ofType->view());
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos
        || name.find('\0') != std::string::npos)
        return std::nullopt;
    auto path = std::filesystem::path(m_path) / name;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    return path.string();
}

URL Bundle::builtInPlugInsURL() const
{
    return URL::fileURLWithPath(String(builtInPlugInsPath()), true);
}

bool Bundle::isLoaded() const
{
    std::lock_guard lock(m_loadMutex);
    return m_handle != nullptr;
}

bool Bundle::load()
{
    std::lock_guard lock(m_loadMutex);
    if (m_handle)
        return true;
    auto executable = object("CFBundleExecutable");
    auto name = executable ? executable->as<String>() : std::nullopt;
    if (!name || name->isEmpty()) {
        log().debug("%{public}s names no executable", m_path);
        return false;
    }
    auto path = (std::filesystem::path(m_path) / std::string(name->view())).lexically_normal();
    auto relative = path.lexically_relative(std::filesystem::path(m_path).lexically_normal());
    if (relative.empty() || *relative.begin() == "..") {
        log().debug("%{public}s names an executable outside its folder", m_path);
        return false;
    }
    // Local binding: two plug-ins may export the same entry point.
    m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char* error = dlerror();
        log().debug("%{public}s did not load: %{public}s", m_path, std::string(error ? error : "unknown error"));
        return false;
    }
    return true;
}

std::optional<AnyClass> Bundle::principalClass()
{
    if (!load())
        return std::nullopt;
    auto principal = object("NSPrincipalClass");
    auto name = principal ? principal->as<String>() : std::nullopt;
    if (!name || name->isEmpty())
        return std::nullopt;
    void* symbol = nullptr;
    {
        std::lock_guard lock(m_loadMutex);
        symbol = dlsym(m_handle, principalClassEntryPointName);
    }
    if (!symbol) {
        log().debug("%{public}s exports no principal class", m_path);
        return std::nullopt;
    }
    auto entryPoint = reinterpret_cast<PrincipalClassEntryPoint>(symbol);
    const std::type_info* type = entryPoint(name->utf8().c_str());
    if (!type)
        return std::nullopt;
    return AnyClass(*type);
}

} // namespace Foundation
