#pragma once

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Foundation {

class Progress;

// What a drag carries: the kinds of content it can hand over, each made only when a drop asks for it.
// A file one of its loaders made stays for as long as the provider lives and goes with it, so that a
// receiver keeps the file exactly as long as it keeps the provider.
class NSItemProvider : public NSObject {
public:
    using FileCompletion = std::function<void(const std::optional<URL>& url, const ErrorPtr& error)>;
    // Makes the file and hands it to the completion (on any queue); answers the work's progress.
    using FileLoadHandler = std::function<std::shared_ptr<Progress>(FileCompletion completion)>;
    // How a loaded file goes once the provider does.
    using FileRemover = std::function<void(const URL& url)>;

    ~NSItemProvider() override;

    const std::optional<String>& suggestedName() const { return m_suggestedName; }
    void setSuggestedName(std::optional<String> name) { m_suggestedName = std::move(name); }

    // registerFileRepresentation(forTypeIdentifier:fileOptions:visibility:loadHandler:); without a
    // remover the file alone is removed.
    void registerFileRepresentation(const String& typeIdentifier, FileLoadHandler loadHandler, FileRemover remover = {});
    // The kinds registered, in the order they were.
    std::vector<String> registeredTypeIdentifiers() const;
    bool hasItemConformingToTypeIdentifier(const String& typeIdentifier) const;

    // loadFileRepresentation(forTypeIdentifier:completionHandler:): the completion runs on the main
    // queue, once; a kind that was not registered fails at once (on a later turn of the main queue). The
    // load does not keep the provider: one gone before its file came fails, and the file goes.
    std::shared_ptr<Progress> loadFileRepresentation(const String& typeIdentifier, FileCompletion completionHandler);

protected:
    friend Construct;
    NSItemProvider() = default;

private:
    struct Representation {
        String typeIdentifier;
        FileLoadHandler loadHandler;
        FileRemover remover;
    };
    struct LoadedFile {
        URL url;
        FileRemover remover;
        void remove() const;
    };

    std::optional<String> m_suggestedName;
    std::vector<Representation> m_representations;
    std::vector<LoadedFile> m_loadedFiles;
};

} // namespace Foundation
