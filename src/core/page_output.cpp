#include "core/page_output.h"

#include "core/compression_groups.h"
#include "text/modest_growth.h"
#include "text/path.h"
#include "text/text_mode.h"
#include "text/wildcard.h"

namespace quorva {

bool IsCompressedAtLastRewrite(const RunSettings& settings, std::string_view file_name) {
  if (!settings.compression) {
    return false;
  }
  // A name in two groups is compressed twice by the pass; such files are left to it.
  const CompressionGroup* match = nullptr;
  int groups = 0;
  for (const CompressionGroup& group : kCompressionGroups) {
    if (MatchesWildcard(file_name, group.pattern)) {
      match = &group;
      ++groups;
    }
  }
  return groups == 1 && match->compress == CompressMarkupText;
}

bool CompressAtLastRewrite(const RunSettings& settings, std::string_view file_name,
                           std::string& text) {
  if (!IsCompressedAtLastRewrite(settings, file_name)) {
    return false;
  }
  CompressMarkupInPlace(text);
  return true;
}

namespace {

// Whether a later pass reads a page, finished or not, that Settle would leave final.
CheckedWrites::Reading ReadingAfter(bool finished, bool read_again) {
  return finished || !read_again ? CheckedWrites::Reading::kLetGo
                                 : CheckedWrites::Reading::kReadAgain;
}

}  // namespace

bool PageOutput::MakeFinalForm(const std::string& path, std::string& text,
                               bool last_rewrite) const {
  if (last_rewrite && CompressAtLastRewrite(settings_, FileNameOf(path), text)) {
    return true;
  }
  text = EncodeTextMode(text);
  return false;
}

bool PageOutput::WriteNewPage(const std::string& path, std::string text, bool last_rewrite,
                              LinkReach reach) {
  const bool finished = MakeFinalForm(path, text, last_rewrite);
  // The topics pass reads every page it does not know as finished.
  return Settle(path, text, finished, true,
                writes_.Write(path, text, reach, ReadingAfter(finished, true)));
}

bool PageOutput::ReplacePage(const std::string& path, const std::string& old_bytes,
                             std::string text) {
  const bool finished = MakeFinalForm(path, text, true);
  // This is the last rewrite: only the compression pass may read the page again.
  const bool read_again = settings_.compression;
  return Settle(path, text, finished, read_again,
                writes_.ReplaceChanged(path, old_bytes, text, ReadingAfter(finished, read_again)));
}

void PageOutput::LeaveFinal(const std::string& path, std::string_view bytes) {
  if (writes_.ForgetWrittenBytes(path)) {
    titles_.Learn(path, bytes);
  }
}

bool PageOutput::DropsCarriageReturns(const std::string& path) const {
  return IsCompressedAtLastRewrite(settings_, FileNameOf(path));
}

bool PageOutput::IsFinished(const std::string& path) const {
  const std::uint32_t number = paths_.Find(path);
  return number < finished_.size() && finished_[number];
}

bool PageOutput::Settle(const std::string& path, std::string_view bytes, bool finished,
                        bool read_again, bool on_disk) {
  if (finished && on_disk) {
    const std::uint32_t number = paths_.Add(path);
    GrowToHold(finished_, number);
    finished_[number] = true;
  }
  if (on_disk && ReadingAfter(finished, read_again) == CheckedWrites::Reading::kLetGo) {
    LeaveFinal(path, bytes);
  }
  return on_disk;
}

}  // namespace quorva
