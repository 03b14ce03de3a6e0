#pragma once

#include "Corvendale/Services/Dependencies.hpp"

namespace Corvendale {

// How coordinators and screens reach the services.
class DependenciesAccessing {
public:
    virtual ~DependenciesAccessing() = default;
    virtual const Dependencies& dependencies() const { return Corvendale::dependencies(); }
};

} // namespace Corvendale
