#include "Platform/Foundation/MethodTable.hpp"

#include "Platform/Foundation/FatalError.hpp"

#include <cxxabi.h>
#include <map>
#include <mutex>
#include <shared_mutex>
#include <typeindex>
#include <unordered_map>

namespace Foundation {
namespace {

template <class M>
struct Table {
    std::map<std::type_index, std::unordered_map<Selector, std::shared_ptr<const M>>> byClass;
    // What lookups found along the chains, emptied whenever a method is added.
    std::map<std::pair<std::type_index, Selector>, std::shared_ptr<const M>> found;
};

struct Tables {
    std::shared_mutex mutex;
    Table<MethodTable::Method> instanceMethods;
    Table<MethodTable::ClassMethod> classMethods;
    std::map<std::type_index, std::vector<const std::type_info*>> chains;
};

Tables& tables()
{
    static auto* instance = new Tables; // never destroyed: plug-ins may send messages while the process exits
    return *instance;
}

// The class and its public bases, depth first and left to right: the order a lookup tries them in.
void appendChain(const std::type_info& type, std::vector<const std::type_info*>& chain)
{
    for (const auto* seen : chain)
        if (*seen == type)
            return;
    chain.push_back(&type);
    if (const auto* single = dynamic_cast<const abi::__si_class_type_info*>(&type)) {
        appendChain(*single->__base_type, chain);
    } else if (const auto* multiple = dynamic_cast<const abi::__vmi_class_type_info*>(&type)) {
        for (unsigned int i = 0; i < multiple->__base_count; ++i)
            if (multiple->__base_info[i].__is_public_p())
                appendChain(*multiple->__base_info[i].__base_type, chain);
    }
}

const std::vector<const std::type_info*>& chainLocked(Tables& t, const std::type_info& type)
{
    auto found = t.chains.find(type);
    if (found == t.chains.end()) {
        std::vector<const std::type_info*> chain;
        appendChain(type, chain);
        found = t.chains.emplace(type, std::move(chain)).first;
    }
    return found->second;
}

template <class M>
std::shared_ptr<const M> find(Table<M> Tables::*member, const std::type_info& type, Selector selector)
{
    auto& t = tables();
    auto& table = t.*member;
    const std::pair<std::type_index, Selector> key {type, selector};
    {
        std::shared_lock lock(t.mutex);
        if (auto known = table.found.find(key); known != table.found.end())
            return known->second;
    }
    std::unique_lock lock(t.mutex);
    std::shared_ptr<const M> result;
    for (const auto* candidate : chainLocked(t, type)) {
        auto methods = table.byClass.find(*candidate);
        if (methods == table.byClass.end())
            continue;
        if (auto method = methods->second.find(selector); method != methods->second.end()) {
            result = method->second;
            break;
        }
    }
    table.found.emplace(key, result);
    return result;
}

template <class M>
void insert(Table<M> Tables::*member, const std::type_info& type, Selector selector, M method)
{
    precondition(static_cast<bool>(selector) && static_cast<bool>(method), "A method needs a selector and a body");
    auto& t = tables();
    std::unique_lock lock(t.mutex);
    auto& table = t.*member;
    table.byClass[type].insert_or_assign(selector, std::make_shared<const M>(std::move(method)));
    table.found.clear();
}

} // namespace

void MethodTable::add(const std::type_info& forClass, Selector selector, Method method)
{
    insert(&Tables::instanceMethods, forClass, selector, std::move(method));
}

void MethodTable::addClassMethod(const std::type_info& forClass, Selector selector, ClassMethod method)
{
    insert(&Tables::classMethods, forClass, selector, std::move(method));
}

std::shared_ptr<const MethodTable::Method> MethodTable::lookup(const std::type_info& forClass, Selector selector)
{
    return find(&Tables::instanceMethods, forClass, selector);
}

std::shared_ptr<const MethodTable::ClassMethod> MethodTable::lookupClassMethod(const std::type_info& forClass,
                                                                              Selector selector)
{
    return find(&Tables::classMethods, forClass, selector);
}

std::any MethodTable::perform(NSObject& receiver, Selector selector, const Arguments& arguments)
{
    auto method = lookup(typeid(receiver), selector);
    if (!method)
        fatalError("-[" + receiver.className() + " " + selector.name() + "]: unrecognized selector sent to instance");
    return (*method)(receiver, arguments);
}

std::any MethodTable::performClassMethod(const std::type_info& forClass, Selector selector, const Arguments& arguments)
{
    auto method = lookupClassMethod(forClass, selector);
    if (!method)
        fatalError("+[" + demangledTypeName(forClass.name()) + " " + selector.name() + "]: unrecognized selector sent to class");
    return (*method)(arguments);
}

void MethodTable::mismatch(Selector selector, const char* problem)
{
    fatalError("Message " + selector.name() + " was sent with " + problem);
}

bool NSObject::respondsToSelector(const Selector& selector) const
{
    return MethodTable::lookup(typeid(*this), selector) != nullptr;
}

} // namespace Foundation
