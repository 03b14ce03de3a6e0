#include "Platform/Foundation/Bundle.hpp"

#include <filesystem>
#include <fstream>
#include <mutex>

namespace Foundation {
namespace {

struct MainBundle {
    std::mutex mutex;
    std::shared_ptr<Bundle> bundle;
};

MainBundle& mainBundle()
{
    static auto* instance = new MainBundle;
    return *instance;
}

std::optional<Bundle::InfoDictionary> readInfoDictionary(const std::filesystem::path& folder)
{
    std::ifstream file(folder / "Info.json", std::ios::binary);
    if (!file)
        return std::nullopt;
    auto dictionary = Bundle::InfoDictionary::parse(file, nullptr, false);
    if (dictionary.is_discarded() || !dictionary.is_object())
        return std::nullopt;
    return dictionary;
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

std::optional<Bundle::InfoDictionary> Bundle::object(const String& key) const
{
    if (!m_infoDictionary)
        return std::nullopt;
    auto it = m_infoDictionary->find(key.utf8());
    if (it == m_infoDictionary->end())
        return std::nullopt;
    return *it;
}

std::optional<String> Bundle::bundleIdentifier() const
{
    auto value = object("CFBundleIdentifier");
    if (!value || !value->is_string())
        return std::nullopt;
    return String(value->get<std::string>());
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

} // namespace Foundation
