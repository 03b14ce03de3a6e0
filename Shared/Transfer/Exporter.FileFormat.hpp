#pragma once

#include "Shared/Model/Setting.hpp"
#include "Shared/Transfer/Exporter.App.hpp"

#include "Platform/Foundation/String.hpp"

namespace Shared {

// What the exporter writes (Exporter::FileFormat): formats 0 and 1 belong to app 0, 2 to app 1, 3 to
// app 2 and 4 to app 3. This program's own formats carry every field and a folder of attachments.
enum class ExporterFileFormat { corvendaleJSON, corvendaleCSV, bitwardenCSV, keePassXCCSV, plainText };

ExporterApp app(ExporterFileFormat format);
Foundation::String titleText(ExporterFileFormat format);
Foundation::String associatedAppName(ExporterFileFormat format);
// "json", "csv" or "txt".
Foundation::String pathExtension(ExporterFileFormat format);
bool includesAttachments(ExporterFileFormat format);

template <>
struct Setting<ExporterFileFormat> {
    using T = ExporterFileFormat;
    static constexpr SettingCase<T> cases[] = {
        {T::corvendaleJSON, "corvendaleJSON", "JSON (.json)"},
        {T::corvendaleCSV, "corvendaleCSV", "CSV (.csv)"},
        {T::bitwardenCSV, "bitwardenCSV", "Bitwarden CSV (.csv)"},
        {T::keePassXCCSV, "keePassXCCSV", "KeePassXC CSV (.csv)"},
        {T::plainText, "plainText", "Text File (.txt)"},
    };
};

} // namespace Shared
