#include <exception>
#include <new>
#include <string>
#include <vector>

#include "app/run.h"
#include "app/version.h"
#include "core/fatal_error.h"
#include "platform/memory_reuse.h"
#include "platform/real_console.h"
#include "platform/real_file_system.h"
#include "platform/real_web_client.h"

int main(int argc, char** argv) {
  quorva::KeepFreedMemoryForReuse();
  quorva::RealConsole console;
  // Every failure ends with a reported message: exit code 3 always means a fatal error the
  // tool has named, never a crash.
  try {
    quorva::RealFileSystem fs;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    // The web is opened only when --web has an address to ask, so that nothing else needs
    // libcurl.
    const quorva::WebAccess web{quorva::RealWebClientAvailable, [] {
                                  return quorva::OpenRealWebClient(std::string("QUORVA/") +
                                                                   quorva::kFullVersion +
                                                                   " (link check)");
                                }};
    return quorva::RunQuorva(arguments, fs, console, web);
  } catch (const std::bad_alloc&) {
    console.Write("Error: Out of memory.\n");
  } catch (const std::exception& error) {
    console.Write(std::string("Error: ") + error.what() + ".\n");
  } catch (...) {
    console.Write("Error: Unexpected failure.\n");
  }
  return quorva::kExitFatal;
}
