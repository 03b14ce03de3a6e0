#include "Platform/Foundation/URLSessionTransport.hpp"

#include "Platform/Foundation/NSError.hpp"

namespace Foundation {
namespace {

class OfflineTransport : public URLSessionTransport {
public:
    void load(const URLRequest& request, Completion completion) override
    {
        completion(std::nullopt, nullptr,
                   std::make_shared<NSError>(NSURLErrorDomain, NSURLErrorNotConnectedToInternet,
                                             std::map<std::string, std::string> {
                                                 {NSLocalizedDescriptionKey, "The Internet connection appears to be offline."},
                                                 {"NSErrorFailingURLStringKey", request.description()},
                                             }));
    }

protected:
    friend Construct;
    OfflineTransport() = default;
};

} // namespace

std::shared_ptr<URLSessionTransport> URLSessionTransport::offline()
{
    static auto* transport = new std::shared_ptr<URLSessionTransport>(make<OfflineTransport>());
    return *transport;
}

} // namespace Foundation
