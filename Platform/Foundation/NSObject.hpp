#pragma once

#include <memory>
#include <new>
#include <string>
#include <utility>

namespace Foundation {

class Selector;

// Root of every reference type. Objects are always made through `make<T>(...)`, which constructs the
// object and then runs `initialize()`: set-up that needs the object's own shared pointer (observer
// registration with a weak self) or overridable calls happens there, never in a constructor.
class NSObject : public std::enable_shared_from_this<NSObject> {
public:
    virtual ~NSObject() = default;
    NSObject(const NSObject&) = delete;
    NSObject& operator=(const NSObject&) = delete;

    // The dynamic type's readable name, used in descriptions and logs.
    virtual std::string className() const;
    virtual std::string description() const;
    // Whether the object's class, or one of its superclasses, registered a method for the selector in the
    // `MethodTable`.
    bool respondsToSelector(const Selector& selector) const;

    template <class Self>
    std::shared_ptr<Self> sharedSelf(Self* self)
    {
        return std::static_pointer_cast<Self>(self->shared_from_this());
    }
    template <class Self>
    std::weak_ptr<Self> weakSelf(Self* self)
    {
        return sharedSelf(self);
    }

protected:
    // Only `make` constructs: an object made any other way would miss `initialize()`, so the constructor
    // stops the program when it is not running inside `make`.
    NSObject();
    // Second construction step; subclasses that override it call their superclass's first.
    virtual void initialize() {}

    template <class T, class... Args>
    friend std::shared_ptr<T> make(Args&&... args);
};

// Grants `make`, and nothing else, access to protected constructors: a class declares
// `friend Foundation::Construct;`.
class Construct {
    template <class T, class... Args>
    static T* create(Args&&... args);

    template <class T, class... Args>
    friend std::shared_ptr<T> make(Args&&... args);

public:
    // Whether `make<T>(args...)` compiles, seen with the access a class grants `Construct`: registries
    // that offer `init()` and `init(coder:)` ask it which of the two a class has.
    template <class T, class... Args>
    static constexpr bool canCreate = requires(Args&&... args) { new T(std::forward<Args>(args)...); };
};

namespace Detail {

// The storage `make` is constructing an object in, on this thread; NSObject's constructor checks that it
// lies inside. Nested `make`s (a constructor making its parts) stack.
struct Construction {
    const void* begin;
    const void* end;
    const Construction* outer;
};
const Construction*& currentConstruction();

} // namespace Detail

template <class T, class... Args>
T* Construct::create(Args&&... args)
{
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "Over-aligned objects need their own allocation");
    void* storage = ::operator new(sizeof(T));
    auto*& current = Detail::currentConstruction();
    Detail::Construction construction {storage, static_cast<char*>(storage) + sizeof(T), current};
    current = &construction;
    try {
        T* object = ::new (storage) T(std::forward<Args>(args)...);
        current = construction.outer;
        return object;
    } catch (...) {
        current = construction.outer;
        ::operator delete(storage);
        throw;
    }
}

template <class T, class... Args>
std::shared_ptr<T> make(Args&&... args)
{
    std::shared_ptr<T> object(Construct::create<T>(std::forward<Args>(args)...));
    static_cast<NSObject*>(object.get())->initialize();
    return object;
}

// Readable class name of a C++ type. Unqualified, every name in it drops its enclosing namespaces and
// classes, template arguments included: `Holder<int>::Cell` is "Cell", `A::Box<B::Item>` is "Box<Item>".
std::string demangledTypeName(const char* mangled, bool qualified = false);

} // namespace Foundation
