#include "Corvendale/Screens/ImportExport/ExportToFileV.State.hpp"

namespace Corvendale {

std::optional<Shared::ExporterFileFormat> ExportToFileVState::fileFormat() const
{
    return std::visit(
        [](const auto& value) -> std::optional<Shared::ExporterFileFormat> {
            if constexpr (requires { value.fileFormat; })
                return value.fileFormat;
            else if constexpr (requires { value.report; })
                return value.report.fileFormat;
            else
                return std::nullopt;
        },
        m_case);
}

std::optional<Shared::ExporterApp> ExportToFileVState::app() const
{
    if (const auto* selecting = as<SelectFileFormat>())
        return selecting->app;
    if (auto format = fileFormat())
        return Shared::app(*format);
    return std::nullopt;
}

} // namespace Corvendale
