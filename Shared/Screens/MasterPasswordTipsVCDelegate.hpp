#pragma once

namespace Shared {

class MasterPasswordTipsVC;

class MasterPasswordTipsVCDelegate {
public:
    virtual ~MasterPasswordTipsVCDelegate() = default;
    // The person is done reading (Done, or Escape).
    virtual void didFinish(MasterPasswordTipsVC& masterPasswordTipsVC) = 0;
};

} // namespace Shared
