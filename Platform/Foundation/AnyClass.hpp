#pragma once

#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Foundation/Selector.hpp"

#include <any>
#include <string>
#include <typeinfo>

namespace Foundation {

// A class as a value: what a bundle names as its principal class. It answers the class methods its
// type registered in the `MethodTable` (class properties are class methods without arguments).
class AnyClass {
public:
    explicit AnyClass(const std::type_info& type)
        : m_type(&type)
    {
    }

    const std::type_info& type() const { return *m_type; }
    // The readable type name.
    std::string name() const;

    bool respondsToSelector(Selector selector) const
    {
        return MethodTable::lookupClassMethod(*m_type, selector) != nullptr;
    }
    // Sends the class message; a class that does not answer it stops the program, as on the platform.
    std::any perform(Selector selector, const MethodTable::Arguments& arguments = {}) const
    {
        return MethodTable::performClassMethod(*m_type, selector, arguments);
    }

    friend bool operator==(const AnyClass& lhs, const AnyClass& rhs) { return *lhs.m_type == *rhs.m_type; }

private:
    const std::type_info* m_type;
};

} // namespace Foundation
