#pragma once

#include "Shared/Model/Setting.hpp"

#include "Platform/Foundation/String.hpp"

#include <vector>

namespace Shared {

enum class ExporterFileFormat;

// The apps the exporter writes for (Exporter::App): this program itself, two other password managers,
// and a text file to read.
enum class ExporterApp { corvendale, bitwarden, keePassXC, textFile };

Foundation::String name(ExporterApp app);
std::vector<ExporterFileFormat> availableFileFormats(ExporterApp app);

template <>
struct Setting<ExporterApp> {
    using T = ExporterApp;
    static constexpr SettingCase<T> cases[] = {
        {T::corvendale, "corvendale", "Corvendale"},
        {T::bitwarden, "bitwarden", "Bitwarden"},
        {T::keePassXC, "keePassXC", "KeePassXC"},
        {T::textFile, "textFile", "Text File"},
    };
};

} // namespace Shared
