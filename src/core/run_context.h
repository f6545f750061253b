#pragma once

#include <string>

#include "core/checked_writes.h"
#include "core/name_list.h"
#include "core/page_output.h"
#include "core/page_title_cache.h"
#include "core/run_settings.h"
#include "core/toc_tree_record.h"
#include "platform/console.h"
#include "platform/file_system.h"

namespace quorva {

// The state a pass works with, owned by the run and handed to each pass explicitly.
struct RunContext {
  RunContext(FileSystem& file_system, Console& run_console, const RunSettings& run_settings,
             NameList& name_list)
      : fs(file_system),
        console(run_console),
        settings(run_settings),
        names(name_list),
        titles(file_system, page_paths),
        writes(file_system, run_console),
        pages(writes, run_settings, titles, page_paths),
        toc_tree(page_paths) {}
  RunContext(const RunContext&) = delete;
  RunContext& operator=(const RunContext&) = delete;

  FileSystem& fs;
  Console& console;
  const RunSettings& settings;
  NameList& names;
  // Every page path the run keeps something of, each kept once and numbered, for the tables
  // below: the same paths are the topics' titles, the finished pages and the TOC tree.
  StringTable page_paths;
  // Page titles, read once per run and again only for a file that has changed.
  PageTitleCache titles;
  // The drop-down menu's markup, built by the menu pass before any topic is rewritten.
  std::string menu;
  // Every write of the run, checked: a failed one ends the run.
  CheckedWrites writes;
  // Every page a pass writes goes out here, which remembers the pages already in final form.
  PageOutput pages;
  // The TOC tree as the topics pass walked it.
  TocTreeRecord toc_tree;
};

}  // namespace quorva
