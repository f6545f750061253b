#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/checked_writes.h"
#include "core/page_title_cache.h"
#include "core/run_settings.h"
#include "text/string_table.h"

namespace quorva {

// Where a page a pass writes gets its final form for the run. A page at its last rewrite that
// the compression pass would compress with the markup rules alone is written compressed at once
// and remembered as finished, so that neither topic rewriting nor the compression pass reads it
// again; any other page is written in text mode (LF as CR LF). Every write is crash-safe, and a
// failed one ends the run (see CheckedWrites).
class PageOutput {
 public:
  // `paths`: the run's table of page paths, where the finished pages are numbered.
  PageOutput(CheckedWrites& writes, const RunSettings& settings, PageTitleCache& titles,
             StringTable& paths)
      : writes_(writes), settings_(settings), titles_(titles), paths_(paths) {}
  PageOutput(const PageOutput&) = delete;
  PageOutput& operator=(const PageOutput&) = delete;

  // Writes a page the run makes. `last_rewrite`: nothing but the compression pass would change
  // the page after this. `reach`: whether an existing file of that name was found in the output
  // folder or named by the user. False when the file was refused, which the caller skips.
  bool WriteNewPage(const std::string& path, std::string text, bool last_rewrite, LinkReach reach);

  // Replaces a topic read as `old_bytes` with its rewritten text, at the topic's last rewrite.
  // False when the system refused the file, which keeps its old bytes.
  bool ReplacePage(const std::string& path, const std::string& old_bytes, std::string text);

  // The page's bytes on disk are its last of the run: no pass reads them again. A dry run lets go
  // of them, keeping only the page's title, which a later trail may name.
  void LeaveFinal(const std::string& path, std::string_view bytes);

  // True when the page, at its last rewrite, is written compressed, which drops every carriage
  // return: its text may keep them until then.
  bool DropsCarriageReturns(const std::string& path) const;

  // True when the page's final bytes for this run are on disk.
  bool IsFinished(const std::string& path) const;

 private:
  // Turns a page's text into its bytes on disk; true when they are its final, compressed form.
  bool MakeFinalForm(const std::string& path, std::string& text, bool last_rewrite) const;
  // Remembers a page in final form once its bytes are on disk; gives back whether they are.
  // `read_again`: a later pass reads the page unless it is finished.
  bool Settle(const std::string& path, std::string_view bytes, bool finished, bool read_again,
              bool on_disk);

  CheckedWrites& writes_;
  const RunSettings& settings_;
  PageTitleCache& titles_;
  StringTable& paths_;
  std::vector<bool> finished_;  // by the path's number in paths_
};

// Compresses a page's rewritten text at once when compression is on and the compression pass
// would apply the markup rules, and only them, to a file of that name. The text may still have
// LF line ends: compressing drops every carriage return, so the compressed text is the same
// bytes that compressing the page as written in text mode gives.
bool CompressAtLastRewrite(const RunSettings& settings, std::string_view file_name,
                           std::string& text);
// Whether CompressAtLastRewrite compresses a page of that name.
bool IsCompressedAtLastRewrite(const RunSettings& settings, std::string_view file_name);

}  // namespace quorva
