#pragma once

#include <memory>
#include <string>

#include "platform/web_client.h"

namespace quorva {

// The web as the platform reaches it: libcurl (libcurl.so.4, loaded when this is called) on
// Linux, WinHTTP on Windows, each request on a worker thread of its own, sending `user_agent`.
// Null when the web cannot be used: on Linux when libcurl.so.4 cannot be loaded or lacks a
// function it needs.
std::unique_ptr<WebClient> OpenRealWebClient(const std::string& user_agent);

// True when OpenRealWebClient can be expected to give a client: on Linux, libcurl.so.4 is where
// the loader would find it. Cheap: it loads nothing.
bool RealWebClientAvailable();

}  // namespace quorva
