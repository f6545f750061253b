#include "app/run.h"

#include <new>
#include <optional>

#include "app/path_check.h"
#include "app/switches.h"
#include "app/usage.h"
#include "core/fatal_error.h"
#include "core/name_list.h"
#include "core/page_title.h"
#include "core/run_context.h"
#include "core/run_settings.h"
#include "passes/breadcrumbs/breadcrumb_walk.h"
#include "passes/breadcrumbs/other_topics.h"
#include "passes/compression/compress_output_folder.h"
#include "passes/index_frame_pages/frameset_format.h"
#include "passes/index_frame_pages/index_frame_pages.h"
#include "passes/menu/menu_pass.h"
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

int RunSteps(const std::vector<std::string>& arguments, FileSystem& fs, Console& console) {
  if (arguments.empty()) {
    PrintUsage(console);
    console.WaitForKey();
    return kExitDone;
  }
  const std::string& reference = arguments[0];
  if (!fs.IsReadable(reference)) {
    if (reference.compare(0, 4, "-ver") == 0) {
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

  if (!fs.IsReadable(reference)) {
    console.Write("Error: (" + reference + ") not found.\n");
    return kExitSetupError;
  }
  std::optional<FramesetFormat> format;
  try {
    format = BuildFramesetFormat(fs, reference);
  } catch (const std::bad_alloc&) {
    console.Write("Error: Out of memory.\n");
    return kExitSetupError;
  }
  if (!format) {
    console.Write("Error: (" + reference + ") not read.\n");
    return kExitSetupError;
  }
  RunSettings settings;
  // Without a title element the pages have no title slot, whatever -ft says later.
  settings.per_topic_titles = format->has_title_slot;
  SwitchContext switch_context{fs, console, paths->drive, paths->folder};
  for (std::size_t i = 2; i < arguments.size(); ++i) {
    SwitchResult result = ApplySwitch(arguments[i], settings, switch_context);
    if (result == SwitchResult::kIllegal) {
      console.Write(arguments[i] + " is not a legal switch.\n");
    }
    if (result != SwitchResult::kApplied) {
      return kExitSetupError;
    }
  }

  // What a killed run left behind goes before this run writes anything.
  RemoveLeftoverTemporaryFiles(fs, paths->drive + paths->folder);
  NameList names;
  names.ClearListedNames();
  RunContext run(fs, console, settings, names);

  if (settings.build_menu) {
    BuildMenu(run, paths->toc_page);
  }

  if (settings.index_frame_pages) {
    names.ReleaseListedNames();
    console.Write("\n\n\nCreating indexfiles.\n");
    names.AddNavigationPageNames();
    IndexFrameWalk walk{run, *format, *index_title};
    ParseThisToc(walk, paths->toc_page, 0);
  }

  console.Write(settings.breadcrumbs ? "\n\n\nCreating Breadcrumbs and modifying topics.\n"
                                     : "\n\n\nModifying topics.\n");
  names.ReleaseListedNames();
  names.AddNavigationPageNames();
  ParseThisBreadToc(run, paths->toc_page, "", 0);
  // The other topics are the pages the breadcrumb walk left unclaimed.
  ModifyOtherTopics(run, paths->toc_page);
  names.ReleaseListedNames();

  CompressOutputFolder(run, paths->toc_page);
  console.Write("\ncomplete.\n");
  return kExitDone;
}

}  // namespace

int RunQuorva(const std::vector<std::string>& arguments, FileSystem& fs, Console& console) {
  try {
    return RunSteps(arguments, fs, console);
  } catch (const FatalError& error) {
    console.Write(error.what());
    return kExitFatal;
  }
}

}  // namespace quorva
