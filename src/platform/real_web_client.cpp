#include "platform/real_web_client.h"

#include "platform/platform_web_fetch.h"
#include "platform/threaded_web_client.h"

namespace quorva {

std::unique_ptr<WebClient> OpenRealWebClient(const std::string& user_agent) {
  WebFetcherFactory factory = OpenPlatformWebFetchers(user_agent);
  if (!factory) {
    return nullptr;
  }
  return std::make_unique<ThreadedWebClient>(std::move(factory));
}

bool RealWebClientAvailable() {
  return PlatformWebLibraryFound();
}

}  // namespace quorva
