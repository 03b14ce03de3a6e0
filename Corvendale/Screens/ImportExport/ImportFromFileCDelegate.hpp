#pragma once

namespace Corvendale {

class ImportFromFileC;

// The presenter of the import page, which dismisses it on Done.
class ImportFromFileCDelegate {
public:
    virtual ~ImportFromFileCDelegate() = default;
    virtual void didSelectDone(ImportFromFileC& importFromFileC) = 0;
};

} // namespace Corvendale
