#include "Platform/UIKit/ClassRegistry.hpp"

#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIImageView.hpp"
#include "Platform/UIKit/UIScrollView.hpp"
#include "Platform/UIKit/UISplitViewController.hpp"
#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/UITabBarController.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITextView.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Platform/UIKit/UIVisualEffectView.hpp"
#include "Platform/UIKit/UIWindow.hpp"

#include <mutex>
#include <typeindex>
#include <unordered_map>

namespace UIKit {
namespace {

struct Registry {
    std::mutex mutex;
    std::unordered_map<std::string, ClassRegistry::Class> classes;
    std::unordered_map<std::type_index, std::string> names;

    void add(ClassRegistry::Class entry)
    {
        if (entry.type)
            names[std::type_index(*entry.type)] = entry.name;
        auto name = entry.name;
        classes.insert_or_assign(std::move(name), std::move(entry));
    }
};

// UIKit's own classes are there before anyone can look.
Registry& registry()
{
    static auto* instance = [] {
        auto* made = new Registry;
        made->add(ClassRegistry::describe<UIView>("UIView"));
        made->add(ClassRegistry::describe<UIControl>("UIControl"));
        made->add(ClassRegistry::describe<UIButton>("UIButton"));
        made->add(ClassRegistry::describe<UIImageView>("UIImageView"));
        made->add(ClassRegistry::describe<UIStackView>("UIStackView"));
        made->add(ClassRegistry::describe<UIVisualEffectView>("UIVisualEffectView"));
        made->add(ClassRegistry::describe<UIScrollView>("UIScrollView"));
        made->add(ClassRegistry::describe<UITableView>("UITableView"));
        made->add(ClassRegistry::describe<UITextView>("UITextView"));
        made->add(ClassRegistry::describe<UIWindow>("UIWindow"));
        made->add(ClassRegistry::describe<UIViewController>("UIViewController"));
        made->add(ClassRegistry::describe<UITabBarController>("UITabBarController"));
        made->add(ClassRegistry::describe<UISplitViewController>("UISplitViewController"));
        return made;
    }();
    return *instance;
}

} // namespace

void ClassRegistry::registerClass(Class entry)
{
    auto& classes = registry();
    std::lock_guard lock(classes.mutex);
    classes.add(std::move(entry));
}

std::optional<ClassRegistry::Class> ClassRegistry::classNamed(const std::string& name)
{
    auto& classes = registry();
    std::lock_guard lock(classes.mutex);
    auto found = classes.classes.find(name);
    if (found == classes.classes.end())
        return std::nullopt;
    return found->second;
}

std::optional<std::string> ClassRegistry::name(const std::type_info& type)
{
    auto& classes = registry();
    std::lock_guard lock(classes.mutex);
    auto found = classes.names.find(std::type_index(type));
    if (found == classes.names.end())
        return std::nullopt;
    return found->second;
}

} // namespace UIKit
