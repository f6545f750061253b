#include <windows.h>

#include "e2e/binary_runner.h"
#include "text/path.h"

namespace quorva {

namespace {

// quorva.exe is built beside the test program. Only the configured file name is used: in a
// cross build the configured path is the build host's, which Windows cannot open.
std::string QuorvaProgramPath() {
  char own_path[MAX_PATH];
  DWORD length = ::GetModuleFileNameA(nullptr, own_path, sizeof own_path);
  return PathBeside(std::string(own_path, length), FileNameOf(QUORVA_BINARY));
}

// Quotes one argument so that the C runtime's command-line parser gives it back unchanged.
std::string QuoteArgument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) {
    return argument;
  }
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  quoted += '"';
  return quoted;
}

// The console output differs from the POSIX build's in two ways only: CR LF line ends and the
// corner as byte 192. Both are mapped so every test compares against the same text; a line end
// without its CR is marked, so that it fails the comparison.
std::string MapConsoleOutput(const std::string& bytes) {
  std::string mapped;
  mapped.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      mapped += '\n';
      ++i;
    } else if (bytes[i] == '\n') {
      mapped += "[LF without CR]";
    } else if (bytes[i] == '\xC0') {
      mapped += "\xE2\x94\x94";
    } else {
      mapped += bytes[i];
    }
  }
  return mapped;
}

}  // namespace

bool RunsUnderWine() {
  return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

BinaryRun RunQuorvaBinary(const std::vector<std::string>& arguments,
                          const std::string& working_folder) {
  BinaryRun run;
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  if (!::CreatePipe(&read_end, &write_end, &inheritable, 0)) {
    return run;
  }
  ::SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  // Input from NUL, as a script would give it: the tool must not take it for a console.
  HANDLE nul = ::CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                             OPEN_EXISTING, 0, nullptr);

  std::string program = QuorvaProgramPath();
  std::string command_line = QuoteArgument(program);
  for (const std::string& argument : arguments) {
    command_line += ' ' + QuoteArgument(argument);
  }
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nul;
  startup.hStdOutput = write_end;
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process = {};
  BOOL started =
      ::CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, TRUE,
                       CREATE_NO_WINDOW, nullptr, working_folder.c_str(), &startup, &process);
  ::CloseHandle(write_end);
  ::CloseHandle(nul);
  if (!started) {
    ::CloseHandle(read_end);
    return run;
  }

  std::string raw;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    raw.append(buffer, got);
  }
  ::CloseHandle(read_end);
  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exit_code = 0;
  if (::GetExitCodeProcess(process.hProcess, &exit_code)) {
    run.exit_code = static_cast<int>(exit_code);
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  run.output = MapConsoleOutput(raw);
  return run;
}

}  // namespace quorva
