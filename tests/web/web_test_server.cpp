#include "web/web_test_server.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
// After winsock2.h, which must come first.
#include <windows.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace quorva {

namespace {

#ifdef _WIN32
using Socket = SOCKET;
const Socket kNoSocket = INVALID_SOCKET;
void CloseSocket(Socket socket) {
  ::closesocket(socket);
}
// Winsock is set up once for the test program and left so until it ends.
void StartSockets() {
  static bool started = [] {
    WSADATA data;
    return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  (void)started;
}
#else
using Socket = int;
const Socket kNoSocket = -1;
void CloseSocket(Socket socket) {
  ::close(socket);
}
void StartSockets() {}
#endif

// A TCP socket that no child process inherits.
Socket OpenSocket() {
  StartSockets();
  Socket socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
#ifdef _WIN32
  if (socket != kNoSocket) {
    ::SetHandleInformation(reinterpret_cast<HANDLE>(socket), HANDLE_FLAG_INHERIT, 0);
  }
#else
  if (socket != kNoSocket) {
    ::fcntl(socket, F_SETFD, FD_CLOEXEC);
  }
#endif
  return socket;
}

sockaddr_in Address(const std::string& host, int port) {
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<unsigned short>(port));
  address.sin_addr.s_addr = ::inet_addr(host.c_str());
  return address;
}

int PortOf(Socket socket) {
  sockaddr_in address = {};
  socklen_t length = sizeof address;
  if (::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return 0;
  }
  return ntohs(address.sin_port);
}

// Waits up to `milliseconds` for `socket` to be readable.
bool WaitReadable(Socket socket, int milliseconds) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(socket, &readable);
  timeval wait = {milliseconds / 1000, (milliseconds % 1000) * 1000};
  return ::select(static_cast<int>(socket) + 1, &readable, nullptr, nullptr, &wait) > 0;
}

#ifdef _WIN32
bool ChildHasEnded(long long) {
  // A Unix program that Wine starts has no handle that tells when it ends.
  return false;
}
#else
bool ChildHasEnded(long long process) {
  int status = 0;
  return ::waitpid(static_cast<pid_t>(process), &status, WNOHANG) != 0;
}
#endif

long long StartServerProcess(const std::vector<std::string>& arguments, std::string& error) {
#ifdef _WIN32
  // Wine runs a Unix program that CreateProcess names by its Unix path. The paths have no
  // spaces or quotes.
  std::string command_line;
  for (const std::string& argument : arguments) {
    command_line += (command_line.empty() ? "\"" : " \"") + argument + "\"";
  }
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &process)) {
    error = "CreateProcess failed for " + command_line;
    return -1;
  }
  ::CloseHandle(process.hThread);
  return reinterpret_cast<long long>(process.hProcess);
#else
  std::vector<char*> argv;
  std::vector<std::string> copies = arguments;
  for (std::string& argument : copies) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  pid_t child = ::fork();
  if (child == 0) {
    int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, STDIN_FILENO);
    ::dup2(null, STDOUT_FILENO);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  if (child < 0) {
    error = "fork failed";
    return -1;
  }
  return child;
#endif
}

void EndServerProcess(long long process) {
#ifdef _WIN32
  // The server ends when its lifeline closes.
  ::CloseHandle(reinterpret_cast<HANDLE>(process));
#else
  pid_t child = static_cast<pid_t>(process);
  for (int tries = 0; tries < 100; ++tries) {
    int status = 0;
    if (::waitpid(child, &status, WNOHANG) != 0) {
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
#endif
}

}  // namespace

WebTestServer::WebTestServer() : WebTestServer(Options()) {}

WebTestServer::WebTestServer(const Options& options) : options_(options) {
  Socket listener = OpenSocket();
  sockaddr_in loopback = Address("127.0.0.1", 0);
  if (listener == kNoSocket ||
      ::bind(listener, reinterpret_cast<sockaddr*>(&loopback), sizeof loopback) != 0 ||
      ::listen(listener, 1) != 0) {
    error_ = "no socket for the server's lifeline";
    if (listener != kNoSocket) {
      CloseSocket(listener);
    }
    return;
  }
  std::vector<std::string> arguments = {
      QUORVA_PYTHON, QUORVA_WEB_TEST_SERVER,          "--host", options_.host, "--port", "0",
      "--lifeline",  std::to_string(PortOf(listener))};
  if (options_.tls) {
    arguments.push_back("--tls-self-signed");
  }
  process_ = StartServerProcess(arguments, error_);
  if (process_ == -1) {
    CloseSocket(listener);
    return;
  }
  // The server connects back once it listens, and writes "PORT <n>".
  auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  Socket lifeline = kNoSocket;
  while (lifeline == kNoSocket && std::chrono::steady_clock::now() < give_up &&
         !ChildHasEnded(process_)) {
    if (WaitReadable(listener, 200)) {
      lifeline = ::accept(listener, nullptr, nullptr);
    }
  }
  CloseSocket(listener);
  if (lifeline == kNoSocket) {
    error_ = "the web test server did not start";
    return;
  }
  lifeline_ = static_cast<long long>(lifeline);
  std::string line;
  char c = 0;
  // A TLS server makes its certificate first, which takes a while on a busy machine.
  while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < give_up &&
         WaitReadable(lifeline, 30000) && ::recv(lifeline, &c, 1, 0) == 1) {
    line += c;
  }
  if (line.compare(0, 5, "PORT ") == 0) {
    port_ = std::atoi(line.c_str() + 5);
  }
  if (port_ == 0) {
    error_ = "the web test server reported no port: " + line;
  }
}

WebTestServer::~WebTestServer() {
  if (lifeline_ != -1) {
    CloseSocket(static_cast<Socket>(lifeline_));
  }
  if (process_ != -1) {
    EndServerProcess(process_);
  }
}

std::string WebTestServer::Url(const std::string& path) const {
  return (options_.tls ? "https://" : "http://") + options_.host + ":" + std::to_string(port_) +
         path;
}

std::string WebTestServer::Stats() const {
  Socket socket = OpenSocket();
  sockaddr_in address = Address(options_.host, port_);
  if (socket == kNoSocket ||
      ::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    if (socket != kNoSocket) {
      CloseSocket(socket);
    }
    return "";
  }
  std::string request = "GET /_stats HTTP/1.1\r\nHost: " + options_.host + ":" +
                        std::to_string(port_) + "\r\nConnection: close\r\n\r\n";
  ::send(socket, request.data(), static_cast<int>(request.size()), 0);
  std::string response;
  char buffer[4096];
  while (WaitReadable(socket, 10000)) {
    int got = static_cast<int>(::recv(socket, buffer, sizeof buffer, 0));
    if (got <= 0) {
      break;
    }
    response.append(buffer, static_cast<std::size_t>(got));
  }
  CloseSocket(socket);
  std::size_t body = response.find("\r\n\r\n");
  return body == std::string::npos ? "" : response.substr(body + 4);
}

int FreeLoopbackPort() {
  Socket socket = OpenSocket();
  sockaddr_in address = Address("127.0.0.1", 0);
  int port = 0;
  if (socket != kNoSocket &&
      ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    port = PortOf(socket);
  }
  if (socket != kNoSocket) {
    CloseSocket(socket);
  }
  return port;
}

void ClearProxyVariables() {
  for (const char* name : {"http_proxy", "https_proxy", "all_proxy", "no_proxy", "HTTP_PROXY",
                           "HTTPS_PROXY", "ALL_PROXY", "NO_PROXY"}) {
#ifdef _WIN32
    ::_putenv_s(name, "");
#else
    ::unsetenv(name);
#endif
  }
}

}  // namespace quorva
