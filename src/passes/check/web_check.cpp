#include "passes/check/web_check.h"

#include <algorithm>
#include <utility>

#include "passes/check/page_scan.h"

namespace quorva {

namespace {

constexpr std::int64_t kDay = 24 * 60 * 60;
// A fine or moved address is trusted for six to eight days, spread so that a cache made in one
// run does not expire all on one day.
constexpr std::int64_t kLeastTrust = 6 * kDay;
constexpr std::int64_t kTrustSpread = 2 * kDay;
// An address no page linked for this long leaves the cache.
constexpr std::int64_t kForgetAfter = 30 * kDay;
// When a page last linked an address is kept to the day, so that a run that learns nothing new
// leaves the cache's bytes alone (it may be kept under version control).
constexpr std::int64_t kLinkedStep = kDay;

FindingKind KindOf(WebOutcome outcome) {
  switch (outcome) {
    case WebOutcome::kBroken:
      return FindingKind::kWebBroken;
    case WebOutcome::kMoved:
      return FindingKind::kWebMoved;
    default:
      return FindingKind::kWebUnverified;
  }
}

WebVerdict VerdictOf(const WebCacheEntry& entry) {
  WebVerdict verdict;
  verdict.outcome = entry.outcome;
  verdict.status = entry.status;
  verdict.moved_to = entry.moved_to;
  if (entry.outcome == WebOutcome::kMoved) {
    verdict.detail = "moved for good to " + entry.moved_to;
  }
  return verdict;
}

}  // namespace

WebCheck::WebCheck(std::function<std::unique_ptr<WebClient>()> open_web, WebAskLimits limits,
                   WebAskContext context)
    : open_web_(std::move(open_web)), limits_(limits), context_(std::move(context)) {}

std::optional<std::string> WebCheck::CacheToWrite() const {
  std::string text = FormatWebCache(cache_);
  if (text == cache_as_read_) {
    return std::nullopt;
  }
  return text;
}

std::string WebCheck::UseCache(std::string_view text) {
  WebCacheRead read = ParseWebCache(text);
  cache_ = std::move(read.entries);
  if (read.problem.empty()) {
    cache_as_read_ = text;
  }
  return read.problem;
}

void WebCheck::AddLink(const std::string& page, const PlacedText& link) {
  // Most links name pages of the help: those never start with "h", or with a character
  // reference that might stand for it, and are passed over without a copy.
  const std::size_t first = link.text.find_first_not_of(" \t\n\r\f");
  if (first == std::string::npos ||
      (link.text[first] != 'h' && link.text[first] != 'H' && link.text[first] != '&')) {
    return;
  }
  const std::string decoded = DecodeCharacterReferences(link.text);
  std::optional<WebAddress> address = MakeWebAddress(decoded);
  if (!address && !IsWebLink(decoded)) {
    return;
  }
  // Links that are no valid URL are one address each, as written.
  const std::string key = address ? address->url : "\n" + decoded;
  auto found = index_.emplace(key, linked_.size());
  if (found.second) {
    linked_.push_back(LinkedAddress{std::move(address), {}});
  }
  linked_[found.first->second].places.push_back(
      Place{page, link.offset, link.line, link.column, link.text});
}

bool WebCheck::IsFresh(const WebCacheEntry& entry) {
  if (entry.outcome != WebOutcome::kFine && entry.outcome != WebOutcome::kMoved) {
    return false;
  }
  const auto trust = kLeastTrust + static_cast<std::int64_t>(kTrustSpread * context_.random());
  // An answer dated after this run's start (a clock set wrong, a file edited) is not trusted.
  const std::int64_t age = context_.now_utc - entry.asked;
  return age >= 0 && age < trust;
}

void WebCheck::Run(const IgnoreList& ignore, std::vector<Finding>& findings) {
  summary_ = WebSummary{};
  summary_.addresses = linked_.size();
  std::vector<std::optional<WebVerdict>> verdicts(linked_.size());
  std::vector<WebAddress> to_ask;
  std::vector<std::size_t> asked_for;  // the linked address of each of to_ask
  for (std::size_t i = 0; i < linked_.size(); ++i) {
    const LinkedAddress& linked = linked_[i];
    if (!linked.address) {
      // Judged in this run, without a request.
      verdicts[i] = BrokenAddress("not a valid address");
      ++summary_.asked;
      continue;
    }
    bool kept_away = true;
    for (const Place& place : linked.places) {
      kept_away = kept_away && ignore.KeepsFromTheWeb(place.page, place.link);
    }
    auto cached = cache_.find(linked.address->url);
    const std::int64_t since_linked =
        cached == cache_.end() ? 0 : context_.now_utc - cached->second.linked;
    if (since_linked >= kLinkedStep || since_linked < 0) {
      cached->second.linked = context_.now_utc;
    }
    if (kept_away || (linked.address->is_private && !limits_.ask_private)) {
      ++summary_.not_asked;
    } else if (cached != cache_.end() && IsFresh(cached->second)) {
      verdicts[i] = VerdictOf(cached->second);
      ++summary_.from_cache;
    } else {
      to_ask.push_back(*linked.address);
      asked_for.push_back(i);
    }
  }
  summary_.asked += to_ask.size();
  std::vector<WebVerdict> answers;
  if (!to_ask.empty()) {
    std::unique_ptr<WebClient> client = open_web_();
    if (!client) {
      unavailable_ = true;
      return;
    }
    answers = AskWebAddresses(to_ask, *client, limits_, context_);
  }
  for (std::size_t k = 0; k < answers.size(); ++k) {
    WebCacheEntry& entry = cache_[to_ask[k].url];
    entry.outcome = answers[k].outcome;
    entry.status = answers[k].status;
    entry.moved_to = answers[k].moved_to;
    entry.asked = context_.now_utc;
    entry.linked = context_.now_utc;
    verdicts[asked_for[k]] = std::move(answers[k]);
  }
  for (auto entry = cache_.begin(); entry != cache_.end();) {
    // One linked after this run's start counts from now, so that it too is forgotten in time.
    entry->second.linked = std::min(entry->second.linked, context_.now_utc);
    entry = context_.now_utc - entry->second.linked > kForgetAfter ? cache_.erase(entry)
                                                                   : std::next(entry);
  }
  for (std::size_t i = 0; i < linked_.size(); ++i) {
    if (!verdicts[i]) {
      continue;
    }
    switch (verdicts[i]->outcome) {
      case WebOutcome::kFine:
        ++summary_.fine;
        continue;
      case WebOutcome::kBroken:
        ++summary_.broken;
        break;
      case WebOutcome::kMoved:
        ++summary_.moved;
        break;
      case WebOutcome::kUnverified:
        ++summary_.unverified;
        break;
    }
    AddFindings(linked_[i], *verdicts[i], findings);
  }
}

void WebCheck::AddFindings(const LinkedAddress& linked, const WebVerdict& verdict,
                           std::vector<Finding>& findings) const {
  for (const Place& place : linked.places) {
    Finding& finding = findings.emplace_back();
    finding.kind = KindOf(verdict.outcome);
    finding.level = DefaultLevel(finding.kind);
    finding.page = place.page;
    finding.offset = place.offset;
    finding.line = place.line;
    finding.column = place.column;
    finding.target = place.link;
    finding.reason = verdict.detail;
    finding.subject = linked.address ? linked.address->url : place.link;
    finding.status = verdict.status;
    finding.moved_to = verdict.moved_to;
  }
}

}  // namespace quorva
