#pragma once

#include <string>

#include "platform/threaded_web_client.h"

namespace quorva {

// Makes the platform's fetchers: libcurl's on POSIX (curl_web_fetch.cpp), WinHTTP's on Windows
// (winhttp_web_fetch.cpp). Empty when the web cannot be used. Call it before any worker thread
// runs: it sets up the library for the whole process.
WebFetcherFactory OpenPlatformWebFetchers(const std::string& user_agent);

// True when the platform's web library is where it would be loaded from; loads nothing.
bool PlatformWebLibraryFound();

}  // namespace quorva
