// The web through WinHTTP, which is part of Windows: quorva.exe stays one file.
#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/platform_web_fetch.h"

namespace quorva {

namespace {

std::wstring Widen(const std::string& text) {
  if (text.empty()) {
    return std::wstring();
  }
  int length =
      ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) {
    return std::string();
  }
  int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &narrow[0], length,
                        nullptr, nullptr);
  return narrow;
}

struct HandleCloser {
  void operator()(void* handle) const { ::WinHttpCloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

WebFailure FailureOf(DWORD error) {
  switch (error) {
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
      return WebFailure::kUnknownHost;
    // Wine's WinHTTP passes some socket errors on as they are.
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case WSAECONNREFUSED:
      return WebFailure::kRefused;
    case ERROR_WINHTTP_TIMEOUT:
    case WSAETIMEDOUT:
      return WebFailure::kTimeout;
    case ERROR_WINHTTP_CONNECTION_ERROR:
    case WSAECONNRESET:
    case WSAECONNABORTED:
      return WebFailure::kReset;
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
      return WebFailure::kClosed;
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
      return WebFailure::kCertificate;
    default:
      return WebFailure::kOther;
  }
}

// WinHTTP's own words for an error, with its number.
std::string DescribeError(DWORD error) {
  char* text = nullptr;
  DWORD length = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE |
                                      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  ::GetModuleHandleA("winhttp.dll"), error, 0,
                                  reinterpret_cast<char*>(&text), 0, nullptr);
  std::string description(text != nullptr ? text : "", length);
  if (text != nullptr) {
    ::LocalFree(text);
  }
  while (!description.empty() && (description.back() == '\n' || description.back() == '\r' ||
                                  description.back() == ' ' || description.back() == '.')) {
    description.pop_back();
  }
  std::string number = "WinHTTP error " + std::to_string(error);
  return description.empty() ? number : description + " (" + number + ")";
}

WebAnswer Failed() {
  DWORD error = ::GetLastError();
  WebAnswer answer;
  answer.failure = FailureOf(error);
  answer.detail = DescribeError(error);
  return answer;
}

// A header of the answer as sent, or "" when it has none.
std::string QueryHeader(HINTERNET request, DWORD header) {
  DWORD size = 0;
  ::WinHttpQueryHeaders(request, header, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER,
                        &size, WINHTTP_NO_HEADER_INDEX);
  if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) {
    return "";
  }
  std::vector<wchar_t> value(size / sizeof(wchar_t) + 1, L'\0');
  if (!::WinHttpQueryHeaders(request, header, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &size,
                             WINHTTP_NO_HEADER_INDEX)) {
    return "";
  }
  return Narrow(std::wstring(value.data(), size / sizeof(wchar_t)));
}

// The fetchers share one session, which WinHTTP lets threads share; it pools the connections.
class WinHttpFetcher : public WebFetcher {
 public:
  explicit WinHttpFetcher(std::shared_ptr<void> session) : session_(std::move(session)) {}

  WebAnswer Fetch(const WebRequest& request, const std::atomic<bool>&) override {
    std::wstring url = Widen(request.url);
    URL_COMPONENTS parts = {};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!::WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) {
      return Failed();
    }
    std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring target = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                          std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (target.empty()) {
      target = L"/";
    }
    Handle connection(::WinHttpConnect(session_.get(), host.c_str(), parts.nPort, 0));
    if (!connection) {
      return Failed();
    }
    Handle handle(
        ::WinHttpOpenRequest(connection.get(), request.head ? L"HEAD" : L"GET", target.c_str(),
                             nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                             parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
    if (!handle) {
      return Failed();
    }
    // The check follows redirects itself.
    DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    ::WinHttpSetOption(handle.get(), WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never);
    DWORD no_redirects = WINHTTP_DISABLE_REDIRECTS;
    ::WinHttpSetOption(handle.get(), WINHTTP_OPTION_DISABLE_FEATURE, &no_redirects,
                       sizeof no_redirects);
    int timeout = std::max(1, request.timeout_seconds) * 1000;
    int connect_timeout =
        std::max(1, std::min(request.connect_timeout_seconds, request.timeout_seconds)) * 1000;
    ::WinHttpSetTimeouts(handle.get(), timeout, connect_timeout, timeout, timeout);
    if (!::WinHttpSendRequest(handle.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                              WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !::WinHttpReceiveResponse(handle.get(), nullptr)) {
      return Failed();
    }
    WebAnswer answer;
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!::WinHttpQueryHeaders(handle.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                               WINHTTP_HEADER_NAME_BY_INDEX, &status, &size,
                               WINHTTP_NO_HEADER_INDEX)) {
      return Failed();
    }
    answer.status = static_cast<int>(status);
    answer.location = QueryHeader(handle.get(), WINHTTP_QUERY_LOCATION);
    answer.retry_after = QueryHeader(handle.get(), WINHTTP_QUERY_RETRY_AFTER);
    if (!request.head) {
      // At most max_body bytes; closing the request then drops the rest with the connection.
      std::vector<char> buffer(16 * 1024);
      std::size_t read = 0;
      while (read < request.max_body) {
        DWORD want = static_cast<DWORD>(std::min(buffer.size(), request.max_body - read));
        DWORD got = 0;
        if (!::WinHttpReadData(handle.get(), buffer.data(), want, &got) || got == 0) {
          break;
        }
        read += got;
      }
    }
    return answer;
  }

 private:
  std::shared_ptr<void> session_;
};

// The user's proxy as Internet Options set it; else WinHTTP's own default (netsh winhttp).
HINTERNET OpenSession(const std::wstring& user_agent) {
  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG settings = {};
  HINTERNET session = nullptr;
  if (::WinHttpGetIEProxyConfigForCurrentUser(&settings)) {
    if (settings.lpszProxy != nullptr && settings.lpszProxy[0] != L'\0') {
      session = ::WinHttpOpen(
          user_agent.c_str(), WINHTTP_ACCESS_TYPE_NAMED_PROXY, settings.lpszProxy,
          settings.lpszProxyBypass != nullptr ? settings.lpszProxyBypass : WINHTTP_NO_PROXY_BYPASS,
          0);
    }
    for (LPWSTR text : {settings.lpszAutoConfigUrl, settings.lpszProxy, settings.lpszProxyBypass}) {
      if (text != nullptr) {
        ::GlobalFree(text);
      }
    }
  }
  if (session == nullptr) {
    session = ::WinHttpOpen(user_agent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                            WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
  }
  return session;
}

}  // namespace

// WinHTTP is part of Windows.
bool PlatformWebLibraryFound() {
  return true;
}

WebFetcherFactory OpenPlatformWebFetchers(const std::string& user_agent) {
  HINTERNET opened = OpenSession(Widen(user_agent));
  if (opened == nullptr) {
    return nullptr;
  }
  std::shared_ptr<void> session(opened, HandleCloser());
  DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
  ::WinHttpSetOption(opened, WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never);
  return [session]() -> std::unique_ptr<WebFetcher> {
    return std::make_unique<WinHttpFetcher>(session);
  };
}

}  // namespace quorva
