#pragma once

#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

namespace Basalwork {

bool fileExists(const Foundation::FileManager& fileManager, const Foundation::URL& at);
bool fileDoesNotExist(const Foundation::FileManager& fileManager, const Foundation::URL& at);
bool fileDoesNotExist(const Foundation::FileManager& fileManager, const Foundation::String& atPath);
// Creates an empty file when nothing exists at the URL's path; an existing item is left as it is.
// Fails with GeneralError.failedWithMessage when the file cannot be created.
void ensureFileExists(const Foundation::FileManager& fileManager, const Foundation::URL& at);

} // namespace Basalwork
