#pragma once

namespace Corvendale {

class ExportToFileC;

// The presenter of the export page, which dismisses it on Done.
class ExportToFileCDelegate {
public:
    virtual ~ExportToFileCDelegate() = default;
    virtual void didSelectDone(ExportToFileC& exportToFileC) = 0;
};

} // namespace Corvendale
