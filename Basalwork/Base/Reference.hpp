#pragma once

#include "Basalwork/Base/TextualForm.hpp"
#include "Basalwork/Base/ZeroParamInitializable.hpp"

#include "Platform/Foundation/NSObject.hpp"

#include <concepts>
#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace Basalwork {

// A value in a box, so that everyone holding the box shares one copy of it. Boxes compare and hash by
// the value they hold, not by identity.
template <class T>
class Reference : public Foundation::NSObject {
public:
    const T& value() const { return m_value; }
    // For changes in place.
    T& value() { return m_value; }
    void setValue(T value) { m_value = std::move(value); }

    std::string description() const override { return textualForm(m_value); }

    friend bool operator==(const Reference& a, const Reference& b)
        requires std::equality_comparable<T>
    {
        return a.m_value == b.m_value;
    }

protected:
    friend Foundation::Construct;
    explicit Reference(T value)
        : m_value(std::move(value))
    {
    }
    Reference()
        requires ZeroParamInitializable<T>
        : m_value(makeZeroParam<T>())
    {
    }

private:
    T m_value;
};

// A new box holds its type's empty value.
template <ZeroParamInitializable T>
struct ZeroParamInitialization<std::shared_ptr<Reference<T>>> {
    static std::shared_ptr<Reference<T>> make() { return Foundation::make<Reference<T>>(); }
};

} // namespace Basalwork

// A box hashes exactly like its value.
template <class T>
    requires requires(const T& value) { std::hash<T> {}(value); }
struct std::hash<Basalwork::Reference<T>> {
    std::size_t operator()(const Basalwork::Reference<T>& reference) const { return std::hash<T> {}(reference.value()); }
};
