#include "app/run.h"

#include <new>
#include <optional>
#include <utility>
#include <variant>

#include "app/check_options.h"
#include "app/check_run.h"
#include "app/path_check.h"
#include "app/switches.h"
#include "app/usage.h"
#include "core/fatal_error.h"
#include "core/name_list.h"
#include "core/page_title.h"
#include "core/run_context.h"
#include "core/run_settings.h"
#include "core/toc_page.h"
#include "passes/breadcrumbs/topics_pass.h"
#include "passes/compression/compress_output_folder.h"
#include "passes/index_frame_pages/frameset_format.h"
#include "passes/index_frame_pages/index_frame_pages.h"
#include "passes/menu/menu_pass.h"
#include "platform/dry_run_file_system.h"
#include "platform/temporary_files.h"
#include "text/path.h"

namespace quorva {

namespace {

// The output TOC page and the index page beside it, from the second argument.
struct OutputPaths {
  std::string drive;
  std::string folder;
  std::string toc_page;
  std::string index_page;
};

std::optional<OutputPaths> DeriveOutputPaths(const std::string& output_toc, Console& console) {
  if (!IsPathWithinLimit(output_toc, console)) {
    return std::nullopt;
  }
  PathParts parts = SplitPath(output_toc);
  if (parts.base.empty()) {
    // A folder named with its trailing separator: its TOC page is toc.htm.
    parts.base = "toc";
    parts.extension = ".htm";
  }
  OutputPaths paths{parts.drive, parts.folder,
                    MakePath(parts.drive, parts.folder, parts.base, parts.extension),
                    MakePath(parts.drive, parts.folder, "index", ".htm")};
  if (!IsPathWithinLimit(paths.toc_page, console) ||
      !IsPathWithinLimit(paths.index_page, console)) {
    return std::nullopt;
  }
  return paths;
}

// The frameset template as a format; nothing, its message printed, when it cannot be used.
std::optional<FramesetFormat> ReadFramesetTemplate(const std::string& reference, FileSystem& fs,
                                                   Console& console) {
  if (!fs.IsReadable(reference)) {
    console.Write("Error: (" + reference + ") not found.\n");
    return std::nullopt;
  }
  std::optional<FramesetFormat> format;
  try {
    format = BuildFramesetFormat(fs, reference);
  } catch (const std::bad_alloc&) {
    console.Write("Error: Out of memory.\n");
    return std::nullopt;
  }
  if (!format) {
    console.Write("Error: (" + reference + ") not read.\n");
  }
  return format;
}

// Applies the switches after the two paths in order, long options wherever they stand among
// them; false, its message printed, at the first that ends the run.
bool ApplySwitches(const std::vector<std::string>& arguments, RunSettings& settings,
                   CheckOptions& options, SwitchContext& context) {
  for (std::size_t i = 2; i < arguments.size(); ++i) {
    SwitchResult result = SwitchResult::kIllegal;
    if (!IsLongOption(arguments[i])) {
      result = ApplySwitch(arguments[i], settings, context);
    } else if (ApplyLongOption(arguments[i], options)) {
      result = SwitchResult::kApplied;
    }
    if (result == SwitchResult::kIllegal) {
      context.console.Write(arguments[i] + " is not a legal switch.\n");
    }
    if (result != SwitchResult::kApplied) {
      return false;
    }
  }
  return true;
}

bool IsHelpFlag(const std::string& argument) {
  return argument == "--help" || argument == "-h" || argument == "-?" || argument == "/?";
}

// What the command line and the files it names fix before the first pass.
struct RunSetup {
  OutputPaths paths;
  std::string index_page_title;
  FramesetFormat format;
  RunSettings settings;
  CheckOptions options;
  IgnoreList ignore;
};

// Reads the ignore files; nothing, its message printed, when one is missing.
std::optional<IgnoreList> ReadIgnoreFiles(const std::vector<std::string>& paths, FileSystem& fs,
                                          Console& console) {
  std::string lines;
  for (const std::string& path : paths) {
    std::optional<std::string> text = fs.IsReadable(path) ? ReadTextFile(fs, path) : std::nullopt;
    if (!text) {
      console.Write("Error: Ignore file (" + path + ") not found.\n");
      return std::nullopt;
    }
    lines += *text + "\n";
  }
  return IgnoreList(lines);
}

// The output TOC page must be one the walks can read and that lists a page: a mistyped name
// would otherwise strip every topic of its markers. False, its message printed, when not.
bool CheckOutputTocPage(const std::string& toc_page, FileSystem& fs, Console& console) {
  const std::optional<std::string> text = ReadTocPage(fs, toc_page);
  if (!text) {
    console.Write("\nError: TOC page (" + toc_page + ") not found.\n");
    return false;
  }
  bool lists_page = false;
  ScanTocPageLinks(*text, [&lists_page](const std::string& name) {
    lists_page = lists_page || HasPageExtension(name);
  });
  if (!lists_page) {
    console.Write("\nError: TOC page (" + toc_page + ") lists no page.\n");
  }
  return lists_page;
}

// A report or the web cache goes where its folder takes files, which is known before the
// passes: a missing or read-only folder ends the run before it writes anything. A file or folder
// of the report's name is left to the write at the end.
bool CheckReportFolders(const CheckOptions& options, FileSystem& fs, Console& console) {
  std::vector<std::pair<std::string, std::string>> outputs;
  for (const std::string& report : options.reports) {
    outputs.emplace_back("Report", report);
  }
  if (options.web && !options.web_cache.empty()) {
    outputs.emplace_back("Web cache", options.web_cache);
  }
  for (const auto& [label, path] : outputs) {
    if (!fs.IsReadable(path) &&
        !fs.ProbeWrite(path, "", LinkReach::kAnywhere, WriteKind::kCreateOrReplace).Written()) {
      console.Write("\nError: " + label + " (" + path + ") not written.\n");
      return false;
    }
  }
  return true;
}

// Checks the arguments and reads the index page title, the template and the switches. Gives
// the exit code instead when the run ends here, its message printed.
std::variant<int, RunSetup> SetUpRun(const std::vector<std::string>& arguments, FileSystem& fs,
                                     Console& console, const WebAccess& web) {
  if (arguments.empty()) {
    PrintUsage(console);
    console.WaitForKey();
    return kExitDone;
  }
  const std::string& reference = arguments[0];
  if (!fs.IsReadable(reference)) {
    // Like -ver, the help and version flags count only where no file of their name exists,
    // so a template of any name is still read as one.
    if (IsHelpFlag(reference)) {
      PrintHelp(console);
      return kExitDone;
    }
    if (reference.compare(0, 4, "-ver") == 0 || reference == "--version") {
      PrintVersionBanner(console);
      return kExitDone;
    }
    console.Write("Error: Reference File (" + reference + ") not found.\n");
    return kExitSetupError;
  }
  if (arguments.size() < 2) {
    return kExitDone;
  }
  std::optional<OutputPaths> paths = DeriveOutputPaths(arguments[1], console);
  if (!paths || !IsPathWithinLimit(reference, console)) {
    return kExitSetupError;
  }
  std::optional<std::string> index_title = ReadPageTitle(fs, paths->index_page);
  if (!index_title) {
    console.Write("Error Cannot find <title>: (" + paths->index_page + ").\n");
    return kExitSetupError;
  }
  console.Write("\nIndex page(s) title:'" + *index_title + "'.\n");
  console.Write("\nCreating Index Frame Pages.");

  std::optional<FramesetFormat> format = ReadFramesetTemplate(reference, fs, console);
  if (!format) {
    return kExitSetupError;
  }
  RunSettings settings;
  // Without a title element the pages have no title slot, whatever -ft says later.
  settings.per_topic_titles = format->has_title_slot;
  CheckOptions options;
  SwitchContext switch_context{fs, console, paths->drive, paths->folder};
  if (!ApplySwitches(arguments, settings, options, switch_context)) {
    return kExitSetupError;
  }
  std::optional<IgnoreList> ignore = ReadIgnoreFiles(options.ignore_files, fs, console);
  if (!ignore || !CheckReportFolders(options, fs, console) ||
      !CheckOutputTocPage(paths->toc_page, fs, console)) {
    return kExitSetupError;
  }
  if (options.web && !(web.available && web.available())) {
    console.Write("\nError: --web needs libcurl (Debian and Ubuntu: libcurl4).\n");
    return kExitSetupError;
  }
  return RunSetup{std::move(*paths),   std::move(*index_title), std::move(*format),
                  std::move(settings), std::move(options),      std::move(*ignore)};
}

// The passes, in order; each walks the TOC tree from the output TOC page or lists its folder.
void RunPasses(RunContext& run, const RunSetup& setup) {
  const std::string& toc_page = setup.paths.toc_page;
  if (run.settings.build_menu) {
    BuildMenu(run, toc_page);
  }
  if (run.settings.index_frame_pages) {
    CreateIndexFramePages(run, setup.format, setup.index_page_title, toc_page);
  }
  ModifyTopics(run, toc_page);
  // The menu goes only into topics; the compression pass reads it from its page if at all.
  std::string().swap(run.menu);
  CompressOutputFolder(run, toc_page);
}

int RunSteps(const std::vector<std::string>& arguments, FileSystem& fs, Console& console,
             const WebAccess& web) {
  std::variant<int, RunSetup> setup = SetUpRun(arguments, fs, console, web);
  if (const int* exit_code = std::get_if<int>(&setup)) {
    return *exit_code;
  }
  RunSetup& run_setup = std::get<RunSetup>(setup);
  const CheckOptions& options = run_setup.options;
  // A dry run's passes write into memory over the disk, which they then only read.
  std::optional<DryRunFileSystem> dry_run;
  FileSystem& help = options.dry_run ? dry_run.emplace(fs) : fs;
  // What a killed run left behind goes before this run writes anything.
  RemoveLeftoverTemporaryFiles(help, run_setup.paths.drive + run_setup.paths.folder);
  NameList names;
  names.ClearListedNames();
  RunContext run(help, console, run_setup.settings, names);
  // The check takes the pages the passes write as they go to disk, rather than read them again.
  std::optional<OutputFolderCheck> check;
  if (options.Checks()) {
    const CheckedPaths paths{run_setup.paths.toc_page, run_setup.paths.index_page, arguments[0]};
    run.writes.TellOfWrites(
        check.emplace(run, MakeCheckScope(options, std::move(run_setup.ignore), paths)));
  }
  RunPasses(run, run_setup);
  console.Write("\ncomplete.\n");
  int exit_code = kExitDone;
  if (check) {
    exit_code = CheckAndReport(run, *check, options, fs, web.open);
  }
  if (dry_run) {
    PrintDryRunPlan(*dry_run, options, console);
  }
  return exit_code;
}

}  // namespace

int RunQuorva(const std::vector<std::string>& arguments, FileSystem& fs, Console& console,
              const WebAccess& web) {
  try {
    return RunSteps(arguments, fs, console, web);
  } catch (const FatalError& error) {
    console.Write(error.what());
    return kExitFatal;
  }
}

}  // namespace quorva
