#pragma once

#include "Basalwork/Base/SemanticVersion.hpp"

#include "Platform/Foundation/Bundle.hpp"

#include <optional>

namespace Basalwork {

// The application's version texts. Each reads the main bundle's information dictionary, whichever bundle
// it is asked on: every caller asks the main bundle, and an extension reports the application's version.
std::optional<Foundation::String> version(const Foundation::Bundle& bundle);
std::optional<Foundation::String> build(const Foundation::Bundle& bundle);
std::optional<SemanticVersion> semanticVersion(const Foundation::Bundle& bundle);
// "v3.2 (118)"
std::optional<Foundation::String> versionAndBuildCompact(const Foundation::Bundle& bundle);
// "Version 3.2 (build 118)"
std::optional<Foundation::String> versionAndBuildFull(const Foundation::Bundle& bundle);

} // namespace Basalwork
