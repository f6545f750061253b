// The web through libcurl, loaded with dlopen when --web asks for it: the binary links no
// libcurl, so it runs where libcurl is not installed. The curl headers give types and
// constants only; every call goes through a pointer that dlsym found.
#include <curl/curl.h>
#include <dlfcn.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/platform_web_fetch.h"

namespace quorva {

namespace {

#ifdef __APPLE__
constexpr const char* kCurlLibrary = "libcurl.4.dylib";
#else
constexpr const char* kCurlLibrary = "libcurl.so.4";
#endif

struct CurlApi {
  CURLcode (*global_init)(long flags) = nullptr;
  CURL* (*easy_init)() = nullptr;
  CURLcode (*easy_setopt)(CURL* handle, CURLoption option, ...) = nullptr;
  CURLcode (*easy_perform)(CURL* handle) = nullptr;
  CURLcode (*easy_getinfo)(CURL* handle, CURLINFO info, ...) = nullptr;
  void (*easy_reset)(CURL* handle) = nullptr;
  void (*easy_cleanup)(CURL* handle) = nullptr;
  const char* (*easy_strerror)(CURLcode code) = nullptr;
};

template <typename Function>
bool Find(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(::dlsym(library, name));
  return function != nullptr;
}

// Loads libcurl and runs curl_global_init, once for the process (before any worker thread);
// null when either fails. The library stays loaded until the process ends.
const CurlApi* LoadCurl() {
  static std::once_flag once;
  static CurlApi api;
  static bool loaded = false;
  std::call_once(once, [] {
    void* library = ::dlopen(kCurlLibrary, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
      return;
    }
    if (!Find(library, "curl_global_init", api.global_init) ||
        !Find(library, "curl_easy_init", api.easy_init) ||
        !Find(library, "curl_easy_setopt", api.easy_setopt) ||
        !Find(library, "curl_easy_perform", api.easy_perform) ||
        !Find(library, "curl_easy_getinfo", api.easy_getinfo) ||
        !Find(library, "curl_easy_reset", api.easy_reset) ||
        !Find(library, "curl_easy_cleanup", api.easy_cleanup) ||
        !Find(library, "curl_easy_strerror", api.easy_strerror)) {
      return;
    }
    loaded = api.global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  });
  return loaded ? &api : nullptr;
}

// What the callbacks gather from one transfer.
struct Transfer {
  const std::atomic<bool>* cancel = nullptr;
  std::size_t max_body = 0;
  std::size_t body = 0;
  bool body_complete = false;  // max_body bytes came: the transfer was ended on purpose
  std::string location;
  std::string retry_after;
};

bool StartsWithNoCase(const char* text, std::size_t length, const char* prefix) {
  std::size_t prefix_length = std::strlen(prefix);
  if (length < prefix_length) {
    return false;
  }
  for (std::size_t i = 0; i < prefix_length; ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
    if (c != prefix[i]) {
      return false;
    }
  }
  return true;
}

std::string HeaderValue(const char* line, std::size_t length, std::size_t name_length) {
  std::size_t begin = name_length;
  while (begin < length && (line[begin] == ' ' || line[begin] == '\t')) {
    ++begin;
  }
  std::size_t end = length;
  while (end > begin && (line[end - 1] == '\r' || line[end - 1] == '\n' || line[end - 1] == ' ' ||
                         line[end - 1] == '\t')) {
    --end;
  }
  return std::string(line + begin, end - begin);
}

std::size_t OnHeader(char* line, std::size_t size, std::size_t count, void* data) {
  Transfer& transfer = *static_cast<Transfer*>(data);
  std::size_t length = size * count;
  // A status line starts a response: only the last one's headers count, not those of a
  // 100 Continue or a proxy's answer to CONNECT.
  if (StartsWithNoCase(line, length, "http/")) {
    transfer.location.clear();
    transfer.retry_after.clear();
  } else if (StartsWithNoCase(line, length, "location:")) {
    transfer.location = HeaderValue(line, length, 9);
  } else if (StartsWithNoCase(line, length, "retry-after:")) {
    transfer.retry_after = HeaderValue(line, length, 12);
  }
  return length;
}

std::size_t OnBody(char*, std::size_t size, std::size_t count, void* data) {
  Transfer& transfer = *static_cast<Transfer*>(data);
  std::size_t length = size * count;
  transfer.body += length;
  if (transfer.body >= transfer.max_body) {
    transfer.body_complete = true;
    return 0;  // ends the transfer with CURLE_WRITE_ERROR
  }
  return length;
}

int OnProgress(void* data, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const Transfer& transfer = *static_cast<const Transfer*>(data);
  return *transfer.cancel ? 1 : 0;
}

WebFailure FailureOf(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
      return WebFailure::kUnknownHost;
    case CURLE_COULDNT_CONNECT:
      return WebFailure::kRefused;
    case CURLE_OPERATION_TIMEDOUT:
      return WebFailure::kTimeout;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
      return WebFailure::kReset;
    case CURLE_GOT_NOTHING:
      return WebFailure::kClosed;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_INVALIDCERTSTATUS:
      return WebFailure::kCertificate;
    default:
      return WebFailure::kOther;
  }
}

// One easy handle for the worker thread's requests, so that a connection to a host stays open
// from one request to the next.
class CurlFetcher : public WebFetcher {
 public:
  CurlFetcher(const CurlApi& api, std::string user_agent)
      : api_(api), user_agent_(std::move(user_agent)), handle_(api.easy_init()) {}
  ~CurlFetcher() override {
    if (handle_ != nullptr) {
      api_.easy_cleanup(handle_);
    }
  }
  CurlFetcher(const CurlFetcher&) = delete;
  CurlFetcher& operator=(const CurlFetcher&) = delete;

  WebAnswer Fetch(const WebRequest& request, const std::atomic<bool>& cancel) override {
    WebAnswer answer;
    if (handle_ == nullptr) {
      answer.failure = WebFailure::kOther;
      answer.detail = "curl_easy_init failed";
      return answer;
    }
    Transfer transfer;
    transfer.cancel = &cancel;
    transfer.max_body = request.max_body;
    char error[CURL_ERROR_SIZE] = {};
    long timeout = std::max(1, request.timeout_seconds);
    long connect_timeout =
        std::max(1, std::min(request.connect_timeout_seconds, request.timeout_seconds));
    // A reset keeps the handle's open connections and caches.
    api_.easy_reset(handle_);
    api_.easy_setopt(handle_, CURLOPT_URL, request.url.c_str());
    api_.easy_setopt(handle_, CURLOPT_NOSIGNAL, 1L);
    api_.easy_setopt(handle_, CURLOPT_FOLLOWLOCATION, 0L);
    api_.easy_setopt(handle_, CURLOPT_TIMEOUT, timeout);
    api_.easy_setopt(handle_, CURLOPT_CONNECTTIMEOUT, connect_timeout);
    api_.easy_setopt(handle_, CURLOPT_USERAGENT, user_agent_.c_str());
    api_.easy_setopt(handle_, CURLOPT_ERRORBUFFER, error);
    api_.easy_setopt(handle_, CURLOPT_HEADERFUNCTION, &OnHeader);
    api_.easy_setopt(handle_, CURLOPT_HEADERDATA, &transfer);
    api_.easy_setopt(handle_, CURLOPT_WRITEFUNCTION, &OnBody);
    api_.easy_setopt(handle_, CURLOPT_WRITEDATA, &transfer);
    api_.easy_setopt(handle_, CURLOPT_NOPROGRESS, 0L);
    api_.easy_setopt(handle_, CURLOPT_XFERINFOFUNCTION, &OnProgress);
    api_.easy_setopt(handle_, CURLOPT_XFERINFODATA, &transfer);
    if (request.head) {
      api_.easy_setopt(handle_, CURLOPT_NOBODY, 1L);
    } else {
      api_.easy_setopt(handle_, CURLOPT_HTTPGET, 1L);
    }
    CURLcode code = api_.easy_perform(handle_);
    if (code == CURLE_OK || (code == CURLE_WRITE_ERROR && transfer.body_complete)) {
      long status = 0;
      api_.easy_getinfo(handle_, CURLINFO_RESPONSE_CODE, &status);
      answer.status = static_cast<int>(status);
      answer.location = transfer.location;
      answer.retry_after = transfer.retry_after;
    } else {
      answer.failure = FailureOf(code);
      answer.detail = error[0] != '\0' ? error : api_.easy_strerror(code);
    }
    // The error buffer lives on this stack frame only.
    api_.easy_setopt(handle_, CURLOPT_ERRORBUFFER, static_cast<char*>(nullptr));
    return answer;
  }

 private:
  const CurlApi& api_;
  std::string user_agent_;
  CURL* handle_;
};

}  // namespace

// Where the loader looks: the folders of LD_LIBRARY_PATH, the names its cache lists, and the
// usual folders. Loading libcurl and the libraries it needs takes several milliseconds, which a
// run that asks nothing of the web should not pay.
bool PlatformWebLibraryFound() {
  const std::string name = kCurlLibrary;
  auto exists = [&name](const std::string& folder) {
    return !folder.empty() && ::access((folder + "/" + name).c_str(), R_OK) == 0;
  };
  if (const char* paths = std::getenv("LD_LIBRARY_PATH")) {
    std::string list = paths;
    for (std::size_t start = 0; start <= list.size();) {
      const std::size_t end = std::min(list.find(':', start), list.size());
      if (exists(list.substr(start, end - start))) {
        return true;
      }
      start = end + 1;
    }
  }
  if (std::FILE* cache = std::fopen("/etc/ld.so.cache", "rb")) {
    std::string bytes;
    char buffer[1 << 16];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, cache)) != 0;) {
      bytes.append(buffer, got);
    }
    std::fclose(cache);
    if (bytes.find(name + '\0') != std::string::npos) {
      return true;
    }
  }
  for (const char* folder : {"/lib/x86_64-linux-gnu", "/usr/lib/x86_64-linux-gnu",
                             "/lib/aarch64-linux-gnu", "/usr/lib/aarch64-linux-gnu", "/lib64",
                             "/usr/lib64", "/lib", "/usr/lib", "/usr/local/lib"}) {
    if (exists(folder)) {
      return true;
    }
  }
  return false;
}

WebFetcherFactory OpenPlatformWebFetchers(const std::string& user_agent) {
  const CurlApi* api = LoadCurl();
  if (api == nullptr) {
    return nullptr;
  }
  return [api, user_agent]() -> std::unique_ptr<WebFetcher> {
    return std::make_unique<CurlFetcher>(*api, user_agent);
  };
}

}  // namespace quorva
