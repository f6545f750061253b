#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "passes/check/finding.h"
#include "passes/check/ignore_list.h"
#include "passes/check/page_digest.h"
#include "passes/check/web_asker.h"
#include "passes/check/web_cache.h"

namespace quorva {

// The check's web links: gathered while the pages are scanned, each distinct address asked
// once, with what earlier runs learned, and a finding at every place that links a web address
// that does not work as it should.
class WebCheck {
 public:
  // `open_web` is called only when an address must be asked, since opening the web may cost
  // more than a run that takes every answer from the cache.
  WebCheck(std::function<std::unique_ptr<WebClient>()> open_web, WebAskLimits limits,
           WebAskContext context);

  // Takes the cache file's text; gives why it was not taken, "" when it was.
  std::string UseCache(std::string_view text);

  // A link of `page`, as it stands there; does nothing for a link that is no web link.
  void AddLink(const std::string& page, const PlacedText& link);

  // Asks what must be asked and adds a finding for each place of an address that is not fine.
  // Addresses on private networks (without asking them) and addresses every place of which an
  // ignore line of kind "web" drops are not asked.
  void Run(const IgnoreList& ignore, std::vector<Finding>& findings);

  const WebSummary& Summary() const { return summary_; }
  // True when an address had to be asked and the web could not be opened: Run found nothing.
  bool Unavailable() const { return unavailable_; }
  // The cache's text as the run leaves it (what it asked, what it took from the cache, and what
  // it kept of addresses no page linked for less than 30 days); nothing when those are the
  // bytes it was read with, which need no write.
  std::optional<std::string> CacheToWrite() const;

 private:
  struct Place {
    std::string page;
    std::size_t offset = 0;
    std::size_t line = 1;
    std::size_t column = 1;
    std::string link;
  };
  struct LinkedAddress {
    std::optional<WebAddress> address;  // nothing for a link that is no valid URL
    std::vector<Place> places;
  };

  bool IsFresh(const WebCacheEntry& entry);
  void AddFindings(const LinkedAddress& linked, const WebVerdict& verdict,
                   std::vector<Finding>& findings) const;

  std::function<std::unique_ptr<WebClient>()> open_web_;
  WebAskLimits limits_;
  WebAskContext context_;
  WebCacheEntries cache_;
  std::string cache_as_read_;  // empty where no cache was taken
  std::vector<LinkedAddress> linked_;
  std::unordered_map<std::string, std::size_t> index_;  // by the address asked
  WebSummary summary_;
  bool unavailable_ = false;
};

}  // namespace quorva
