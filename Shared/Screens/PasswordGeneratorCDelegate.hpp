#pragma once

#include "Shared/Screens/Menu.Source.hpp"

#include "Platform/Foundation/String.hpp"

namespace Shared {

class PasswordGeneratorC;

class PasswordGeneratorCDelegate {
public:
    virtual ~PasswordGeneratorCDelegate() = default;
    // Cancel (or Escape): nothing is taken.
    virtual void didSelectCancel(PasswordGeneratorC& passwordGeneratorC) = 0;
    // Done: the value shown goes into the field the generator was opened for; the settings that made it
    // are the generator's `generatorSettings()`.
    virtual void didSelectDone(const Foundation::String& password, const MenuSource& menuSource, PasswordGeneratorC& passwordGeneratorC) = 0;
};

} // namespace Shared
