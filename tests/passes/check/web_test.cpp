#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "fakes/fake_web_client.h"
#include "passes/check/web_address.h"
#include "passes/check/web_asker.h"
#include "passes/check/web_cache.h"
#include "passes/check/web_check.h"
#include "text/utc_time.h"

namespace quorva {
namespace {

using Reply = FakeWebClient::Reply;

std::string AskedAs(const std::string& link) {
  const std::optional<WebAddress> address = MakeWebAddress(link);
  return address ? address->url : "(invalid)";
}

bool IsPrivate(const std::string& link) {
  return MakeWebAddress(link)->is_private;
}

TEST(WebAddressTest, IsAskedInTheFormServersExpect) {
  EXPECT_EQ(AskedAs("HTTP://Example.COM"), "http://example.com/");
  EXPECT_EQ(AskedAs("http://Zz.example/"), "http://zz.example/");
  EXPECT_EQ(AskedAs("  https://example.com:443/a/B?c=D#part \n"), "https://example.com/a/B?c=D");
  EXPECT_EQ(AskedAs("http://example.com:80?q"), "http://example.com/?q");
  EXPECT_EQ(AskedAs("http://example.com:8080"), "http://example.com:8080/");
  EXPECT_EQ(AskedAs("http://example.com/a b/\xC3\xA9/%7Euser"),
            "http://example.com/a%20b/%C3%A9/%7Euser");
  EXPECT_EQ(AskedAs("http://B\xC3\xBC"
                    "cher.example/"),
            "http://xn--bcher-kva.example/");
  EXPECT_EQ(AskedAs("https://m\xC3\xBCnchen.de/x"), "https://xn--mnchen-3ya.de/x");
  // Capitals beyond ASCII too are asked in lower case, as browsers ask them.
  EXPECT_EQ(AskedAs("http://B\xC3\x9C"
                    "CHER.example/"),
            "http://xn--bcher-kva.example/");
  EXPECT_EQ(AskedAs("http://\xD0\x9F\xD0\xA0\xD0\x98\xD0\x9C\xD0\x95\xD0\xA0.ru/"),
            "http://xn--e1afmkfd.ru/");
  EXPECT_EQ(AskedAs("http://[2001:DB8::1]:8080/"), "http://[2001:db8::1]:8080/");
  EXPECT_EQ(AskedAs("http://[2001:db8::]/a\x7F"), "http://[2001:db8::]/a%7F");
  EXPECT_EQ(MakeWebAddress("http://Example.com:8080/x")->host_key, "example.com:8080");
  EXPECT_EQ(MakeWebAddress("https://example.com/x")->host_key, "example.com:443");
}

TEST(WebAddressTest, WhatNoServerCanBeAskedIsNoAddress) {
  for (const char* link :
       {"http://", "http://exa mple.com/", "http://example.com:99999/", "http://example.com:8a/",
        "http://[::1/", "http://[1::2::3]/", "http://ex%41mple.com/", "http://\xFF.com/",
        "http://256.1.1.1/", "http://.example.com/", "http://a..example.com/",
        "http://[1:2:3:4::5:6:7:8]/"}) {
    EXPECT_EQ(AskedAs(link), "(invalid)") << link;
  }
  EXPECT_EQ(AskedAs("http://example.com./"), "http://example.com./");
  EXPECT_EQ(EscapeUnsafeBytes("/a b\x1B[31m\x7F"), "/a%20b%1B[31m%7F");
  EXPECT_TRUE(IsWebLink("HTTPS://x"));
  EXPECT_FALSE(IsWebLink("ftp://example.com/"));
  EXPECT_FALSE(IsWebLink("page.htm"));
  EXPECT_FALSE(IsWebLink("//example.com/"));
}

TEST(WebAddressTest, PrivateHostsAreKnownInEveryForm) {
  for (const char* link :
       {"http://localhost/",   "http://a.localhost/",    "http://printer.local/",
        "http://intranet/",    "http://127.0.0.2:8000/", "http://10.1.2.3/",
        "http://172.16.0.1/",  "http://172.31.9.9/",     "http://192.168.1.1/",
        "http://169.254.1.1/", "http://0.0.0.0/",        "http://[::1]/",
        "http://[fe80::1]/",   "http://[fd00::1]/",      "http://[::ffff:127.0.0.1]/",
        "http://[::]/",        "http://0x7f.1/",         "http://2130706433/",
        "http://127.1/",       "http://017700000001/"}) {
    EXPECT_TRUE(IsPrivate(link)) << link;
  }
  for (const char* link : {"http://example.com/", "http://8.8.8.8/", "http://172.32.0.1/",
                           "http://[2001:db8::1]/", "http://192.169.0.1/"}) {
    EXPECT_FALSE(IsPrivate(link)) << link;
  }
}

TEST(WebAddressTest, RedirectsResolveAsBrowsersResolveThem) {
  const std::string from = "http://a.com/b/c?q";
  auto to = [&](const char* location) {
    const std::optional<WebAddress> next = ResolveRedirect(from, location);
    return next ? next->url : "(none)";
  };
  EXPECT_EQ(to("/x"), "http://a.com/x");
  EXPECT_EQ(to("d"), "http://a.com/b/d");
  EXPECT_EQ(to("../d/./e"), "http://a.com/d/e");
  EXPECT_EQ(to("x/"), "http://a.com/b/x/");
  EXPECT_EQ(to("x/.."), "http://a.com/b/");
  EXPECT_EQ(to("../../.."), "http://a.com/");
  EXPECT_EQ(to("//b.com/y"), "http://b.com/y");
  EXPECT_EQ(to("?z"), "http://a.com/b/c?z");
  EXPECT_EQ(to("HTTPS://C.com"), "https://c.com/");
  EXPECT_EQ(to("mailto:x@y.z"), "(none)");
  // A scheme may hold digits: such a Location leads out of the web, not to a relative path.
  EXPECT_EQ(to("s3://bucket/x"), "(none)");
}

// Asks the addresses with a fake clock, and a random source that always gives `random`.
struct AskRun {
  FakeWebClient web;
  WebAskLimits limits;
  double random = 0.0;

  std::vector<WebVerdict> Ask(const std::vector<std::string>& links) {
    std::vector<WebAddress> addresses;
    for (const std::string& link : links) {
      addresses.push_back(*MakeWebAddress(link));
    }
    WebAskContext context;
    context.random = [this] { return random; };
    context.now_utc = *ParseUtcStamp("2026-12-09T06:30:00Z");
    return AskWebAddresses(addresses, web, limits, context);
  }
  WebVerdict AskOne(const std::string& link) { return Ask({link}).front(); }
};

TEST(WebAskerTest, EachAnswerGivesItsVerdictAndDetail) {
  AskRun run;
  const std::string a = "http://a.example/";
  run.web.On("*", a + "ok", {FakeWebClient::Status(200)});
  run.web.On("*", a + "missing", {FakeWebClient::Status(404)});
  run.web.On("*", a + "gone", {FakeWebClient::Status(410)});
  run.web.On("HEAD", a + "head-405", {FakeWebClient::Status(405)});
  run.web.On("GET", a + "head-405", {FakeWebClient::Status(200)});
  run.web.On("*", a + "forbidden", {FakeWebClient::Status(403)});
  run.web.On("*", a + "login", {FakeWebClient::Status(401)});
  run.web.On("*", a + "robots", {FakeWebClient::Status(999)});
  run.web.On("*", a + "teapot", {FakeWebClient::Status(418)});
  run.web.On("*", a + "moved", {FakeWebClient::Status(301, "/ok")});
  run.web.On("*", a + "found", {FakeWebClient::Status(302, "ok")});
  run.web.On("*", a + "chain", {FakeWebClient::Status(302, "/moved")});
  run.web.On("*", a + "loop", {FakeWebClient::Status(301, "/loop2")});
  run.web.On("*", a + "loop2", {FakeWebClient::Status(308, "/loop")});
  run.web.On("*", a + "nowhere", {FakeWebClient::Status(301, "")});
  run.web.On("*", a + "bad-location", {FakeWebClient::Status(301, "http://exa mple.com/")});
  run.web.On("*", a + "to-private", {FakeWebClient::Status(302, "http://192.168.0.1/admin")});
  run.web.On("*", a + "refused", {FakeWebClient::Failure(WebFailure::kRefused)});
  run.web.On("*", a + "tls", {Reply{{WebFailure::kCertificate, 0, "", "", "self-signed"}, 5}});
  run.web.On("HEAD", a + "closes", {FakeWebClient::Failure(WebFailure::kClosed)});
  run.web.On("GET", a + "closes", {FakeWebClient::Status(200)});
  const std::vector<std::string> paths = {
      "ok",      "missing",      "gone",       "head-405", "forbidden", "login",
      "robots",  "teapot",       "moved",      "found",    "chain",     "loop",
      "nowhere", "bad-location", "to-private", "refused",  "tls",       "closes"};
  std::vector<std::string> links;
  for (const std::string& path : paths) {
    links.push_back(a + path);
  }
  links.push_back("http://unknown.example/");
  const std::vector<WebVerdict> verdicts = run.Ask(links);
  auto line = [&](std::size_t i) {
    return std::string(OutcomeName(verdicts[i].outcome)) + " " +
           std::to_string(verdicts[i].status) + " (" + verdicts[i].detail + ")";
  };
  const std::vector<std::string> expected = {
      "fine 200 ()",
      "broken 404 (404 Not Found)",
      "broken 410 (410 Gone)",
      "fine 200 ()",
      "unverified 403 (403 Forbidden: the site may refuse robots)",
      "unverified 401 (401 Unauthorized: the site asks for a login)",
      "unverified 999 (999: the site may refuse robots)",
      "broken 418 (418)",
      "moved 200 (moved for good to http://a.example/ok)",
      "fine 200 ()",
      "moved 200 (moved for good to http://a.example/ok)",
      "broken 308 (a redirect loop)",
      "unverified 301 (301 Moved Permanently without a Location)",
      "broken 301 (redirects to http://exa%20mple.com/, not a valid address)",
      "unverified 302 (redirects to a private address)",
      "broken 0 (the connection was refused)",
      "broken 0 (the certificate is not trusted: self-signed)",
      "fine 200 ()",
      "broken 0 (the host name is unknown)"};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(line(i), expected[i]) << links[i];
  }
  EXPECT_EQ(verdicts[8].moved_to, a + "ok");
  // HEAD first; GET only where HEAD was refused.
  EXPECT_EQ(run.web.RequestsTo(a + "ok"), 4u);  // itself, and at the end of three redirects
  EXPECT_EQ(run.web.RequestsTo(a + "missing"), 2u);
  EXPECT_EQ(run.web.RequestsTo(a + "head-405"), 2u);
  EXPECT_EQ(run.web.RequestsTo(a + "closes"), 2u);
  EXPECT_EQ(run.web.RequestsTo(a + "refused"), 1u);
  EXPECT_EQ(run.web.RequestsTo("http://192.168.0.1/admin"), 0u);
}

TEST(WebAskerTest, RedirectsEndAfterTenAndPrivateOnesAreFollowedOnlyWhenAllowed) {
  AskRun run;
  for (int i = 0; i < 11; ++i) {
    run.web.On("*", "http://a.example/" + std::to_string(i),
               {FakeWebClient::Status(307, "/" + std::to_string(i + 1))});
  }
  run.web.On("*", "http://a.example/11", {FakeWebClient::Status(200)});
  run.web.On("*", "http://a.example/10x", {FakeWebClient::Status(200)});
  EXPECT_EQ(run.AskOne("http://a.example/0").detail, "more than 10 redirects");
  EXPECT_EQ(run.AskOne("http://a.example/1").outcome, WebOutcome::kFine);  // ten redirects

  run.limits.ask_private = true;
  run.web.On("*", "http://a.example/in", {FakeWebClient::Status(302, "http://10.0.0.1/")});
  run.web.On("*", "http://10.0.0.1/", {FakeWebClient::Status(200)});
  EXPECT_EQ(run.AskOne("http://a.example/in").outcome, WebOutcome::kFine);
}

TEST(WebAskerTest, WhatMayPassIsAskedThreeTimesAtMostWithSpreadWaits) {
  AskRun run;
  run.random = 0.5;  // an eighth more than each base wait
  run.web.On("*", "http://a.example/flaky",
             {FakeWebClient::Status(503), FakeWebClient::Status(200)});
  EXPECT_EQ(run.AskOne("http://a.example/flaky").outcome, WebOutcome::kFine);
  ASSERT_EQ(run.web.starts().size(), 2u);
  EXPECT_EQ((run.web.starts()[1].at - run.web.starts()[0].at).count(), 50 + 1125);

  AskRun down;
  down.web.On("*", "http://a.example/down", {FakeWebClient::Status(503)});
  const WebVerdict verdict = down.AskOne("http://a.example/down");
  EXPECT_EQ(verdict.detail, "503 Service Unavailable");
  EXPECT_EQ(verdict.outcome, WebOutcome::kUnverified);
  ASSERT_EQ(down.web.starts().size(), 3u);  // HEAD each time: 503 is no refusal of HEAD
  EXPECT_EQ((down.web.starts()[1].at - down.web.starts()[0].at).count(), 50 + 1000);
  EXPECT_EQ((down.web.starts()[2].at - down.web.starts()[1].at).count(), 50 + 2000);

  AskRun slow;
  slow.limits.timeout_seconds = 2;
  slow.web.On("*", "http://a.example/slow", {FakeWebClient::Failure(WebFailure::kTimeout, 2000)});
  slow.web.On("*", "http://a.example/reset", {FakeWebClient::Failure(WebFailure::kReset)});
  slow.web.On("*", "http://a.example/throttled", {FakeWebClient::Status(429)});
  const std::vector<WebVerdict> verdicts =
      slow.Ask({"http://a.example/slow", "http://a.example/reset", "http://a.example/throttled"});
  EXPECT_EQ(verdicts[0].detail, "no answer within 2 s");
  EXPECT_EQ(verdicts[1].detail, "the connection was reset");
  EXPECT_EQ(verdicts[2].outcome, WebOutcome::kUnverified);
  EXPECT_EQ(verdicts[2].detail, "429 Too Many Requests");
  EXPECT_EQ(slow.web.RequestsTo("http://a.example/throttled"), 3u);
  EXPECT_EQ(slow.web.RequestsTo("http://a.example/slow"), 3u);
  EXPECT_EQ(slow.web.RequestsTo("http://a.example/reset"), 3u);
  EXPECT_EQ(slow.web.timeouts().front(), 2);
  // Three tries of two seconds and the waits between them end well within the run's bound.
  EXPECT_LE(slow.web.Now().count(), 3 * 2000 + 1250 + 2500);
}

// Tries and waits belong to the address, whatever redirects it takes: a site that never
// answers holds the run up for three tries and about a minute of waits at most.
TEST(WebAskerTest, TriesAndWaitsCountForTheWholeAddress) {
  AskRun run;
  run.web.On("*", "http://a.example/r",
             {FakeWebClient::Status(503), FakeWebClient::Status(301, "/down")});
  run.web.On("*", "http://a.example/down", {FakeWebClient::Status(503)});
  run.web.On("*", "http://b.example/patient",
             {FakeWebClient::Status(429, "", "60"), FakeWebClient::Status(429, "", "60"),
              FakeWebClient::Status(200)});
  const std::vector<WebVerdict> verdicts =
      run.Ask({"http://a.example/r", "http://b.example/patient"});
  EXPECT_EQ(verdicts[0].detail, "503 Service Unavailable");
  EXPECT_EQ(run.web.RequestsTo("http://a.example/down"), 2u);
  EXPECT_EQ(verdicts[1].detail, "429 Too Many Requests: the site asked to wait 60 s");
  EXPECT_EQ(run.web.RequestsTo("http://b.example/patient"), 2u);
  EXPECT_LT(run.web.Now().count(), 63000 + 1000);

  // A Retry-After date counts from when the answer came, not from when the run began.
  AskRun late;
  late.web.On(
      "*", "http://c.example/late",
      {Reply{WebAnswer{WebFailure::kNone, 429, "", "Wed, 09 Dec 2026 06:32:10 GMT", ""}, 100000},
       FakeWebClient::Status(200)});
  EXPECT_EQ(late.AskOne("http://c.example/late").outcome, WebOutcome::kFine);
  EXPECT_EQ(late.web.starts()[1].at.count(), 100000 + 30000);
}

TEST(WebAskerTest, RetryAfterIsWaitedForUpToAMinute) {
  AskRun run;
  run.web.On("*", "http://a.example/busy",
             {FakeWebClient::Status(429, "", "1"), FakeWebClient::Status(200)});
  run.web.On("*", "http://b.example/date",
             {FakeWebClient::Status(503, "", "Wed, 09 Dec 2026 06:30:30 GMT"),
              FakeWebClient::Status(200)});
  run.web.On("*", "http://c.example/long", {FakeWebClient::Status(429, "", "120")});
  const std::vector<WebVerdict> verdicts =
      run.Ask({"http://a.example/busy", "http://b.example/date", "http://c.example/long"});
  EXPECT_EQ(verdicts[0].outcome, WebOutcome::kFine);
  EXPECT_EQ(verdicts[1].outcome, WebOutcome::kFine);
  EXPECT_EQ(verdicts[2].detail, "429 Too Many Requests: the site asked to wait 120 s");
  EXPECT_EQ(run.web.RequestsTo("http://c.example/long"), 1u);
  std::map<std::string, std::vector<long>> starts;
  for (const auto& start : run.web.starts()) {
    starts[start.url].push_back(static_cast<long>(start.at.count()));
  }
  const std::vector<long>& busy = starts["http://a.example/busy"];
  const std::vector<long>& date = starts["http://b.example/date"];
  EXPECT_EQ(busy[1] - busy[0], 50 + 1000);
  EXPECT_EQ(date[1] - date[0], 50 + 30000);
}

TEST(WebAskerTest, NoHostGetsMoreThanTwoAtOnceOrTwoStartsWithin100Ms) {
  AskRun run;
  std::vector<std::string> links;
  for (int host = 0; host < 60; ++host) {
    const int per_host = host < 2 ? 12 : 1;
    for (int i = 0; i < per_host; ++i) {
      const std::string link = "http://h" + std::to_string(host) + ".example/" + std::to_string(i);
      links.push_back(link);
    }
  }
  for (const std::string& link : links) {
    run.web.On("*", link, {Reply{WebAnswer{WebFailure::kNone, 200, "", "", ""}, 300}});
  }
  const std::vector<WebVerdict> verdicts = run.Ask(links);
  for (const WebVerdict& verdict : verdicts) {
    EXPECT_EQ(verdict.outcome, WebOutcome::kFine);
  }
  EXPECT_EQ(run.web.MostOpenToOneHost(), 2u);
  EXPECT_EQ(run.web.MostOpen(), 32u);
  std::map<std::string, std::vector<long>> by_host;
  for (const auto& start : run.web.starts()) {
    by_host[start.url.substr(0, start.url.find(".example"))].push_back(
        static_cast<long>(start.at.count()));
  }
  for (const auto& [host, starts] : by_host) {
    for (std::size_t i = 1; i < starts.size(); ++i) {
      EXPECT_GE(starts[i] - starts[i - 1], 100) << host;
    }
  }
  // Twelve requests of 300 ms two at a time take six rounds; the other hosts fit in beside.
  EXPECT_LE(run.web.Now().count(), 6 * 300 + 300);
}

TEST(WebCacheTest, KeepsEveryFieldAndRefusesWhatIsCut) {
  WebCacheEntries entries;
  entries["https://b.example/"] = {WebOutcome::kMoved, 200, "https://c.example/",
                                   *ParseUtcStamp("2026-12-01T00:00:00Z"),
                                   *ParseUtcStamp("2026-12-09T06:30:00Z")};
  entries["http://a.example/x"] = {WebOutcome::kUnverified, 0, "",
                                   *ParseUtcStamp("2026-11-30T23:59:59Z"),
                                   *ParseUtcStamp("2026-12-09T06:30:00Z")};
  const std::string text = FormatWebCache(entries);
  EXPECT_EQ(text,
            "# QUORVA web cache 1\n"
            "http://a.example/x\tunverified\t-\t-\t2026-11-30T23:59:59Z\t2026-12-09T06:30:00Z\n"
            "https://b.example/\tmoved\t200\thttps://c.example/\t2026-12-01T00:00:00Z\t"
            "2026-12-09T06:30:00Z\n");
  const WebCacheRead read = ParseWebCache(text);
  EXPECT_EQ(read.problem, "");
  ASSERT_EQ(read.entries.size(), 2u);
  EXPECT_EQ(FormatWebCache(read.entries), text);

  EXPECT_EQ(ParseWebCache(text.substr(0, text.size() / 2)).problem,
            "it ends in the middle of a line");
  EXPECT_TRUE(ParseWebCache(text.substr(0, text.size() / 2)).entries.empty());
  EXPECT_EQ(ParseWebCache("").problem, "its first line is not \"# QUORVA web cache 1\"");
  EXPECT_EQ(ParseWebCache("# QUORVA web cache 1\nhttp://a/\tfine\t200\t-\t2026-12-01\t-\n").problem,
            "line 2: a field is not what the cache holds there");
  EXPECT_EQ(ParseWebCache("# QUORVA web cache 1\nhttp://a/\tfine\n").problem,
            "line 2: it has 2 fields, not 6");
  // A checkout on Windows may end the lines in CR LF.
  std::string crlf;
  for (char c : text) {
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  }
  EXPECT_EQ(FormatWebCache(ParseWebCache(crlf).entries), text);
  // What the terminal would show as it is, or what no run writes, is no cache.
  const std::string stamps = "\t2026-12-01T00:00:00Z\t2026-12-01T00:00:00Z\n";
  for (const std::string& line :
       {"http://a/\x1B[31m\tfine\t200\t-" + stamps, "ftp://a/\tfine\t200\t-" + stamps,
        "http://a/\tmoved\t200\t-" + stamps, "http://a/\tfine\t200\thttp://b/" + stamps,
        "http://a/\tmoved\t200\thttp://b/\x07" + stamps}) {
    EXPECT_EQ(ParseWebCache("# QUORVA web cache 1\n" + line).problem,
              "line 2: a field is not what the cache holds there")
        << line;
  }
  EXPECT_EQ(FormatUtcStamp(*ParseUtcStamp("2024-02-29T23:59:59Z")), "2024-02-29T23:59:59Z");
  EXPECT_FALSE(ParseUtcStamp("2025-02-29T00:00:00Z"));
  // Every month's last day is taken, and the day after it is not.
  const int last_days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int month = 1; month <= 12; ++month) {
    char last[32];
    char after[32];
    std::snprintf(last, sizeof last, "2025-%02d-%02dT00:00:00Z", month, last_days[month - 1]);
    std::snprintf(after, sizeof after, "2025-%02d-%02dT00:00:00Z", month, last_days[month - 1] + 1);
    EXPECT_TRUE(ParseUtcStamp(last)) << last;
    EXPECT_FALSE(ParseUtcStamp(after)) << after;
  }
  EXPECT_EQ(*ParseHttpDate("Thu, 01 Jan 1970 00:01:00 GMT"), 60);
}

PlacedText LinkAt(const std::string& text, std::size_t line) {
  PlacedText link;
  link.text = text;
  link.line = line;
  link.column = 10;
  link.offset = line * 100;
  return link;
}

// A web check over the fake web, at a fixed time, with spreads of `random`.
struct WebCheckRun {
  FakeWebClient web;
  WebAskLimits limits;
  double random = 0.5;
  std::int64_t now = *ParseUtcStamp("2026-12-09T06:30:00Z");
  std::vector<Finding> findings;
  std::string cache;
  bool cache_changed = false;

  WebSummary Run(const std::vector<std::pair<std::string, std::string>>& links,
                 const std::string& ignore = "") {
    WebAskContext context;
    context.random = [this] { return random; };
    context.now_utc = now;
    WebCheck check([this] { return web.Open(); }, limits, context);
    EXPECT_EQ(check.UseCache(cache.empty() ? "# QUORVA web cache 1\n" : cache), "");
    std::size_t line = 1;
    for (const auto& [page, link] : links) {
      check.AddLink(page, LinkAt(link, line++));
    }
    findings.clear();
    check.Run(IgnoreList(ignore), findings);
    const std::optional<std::string> written = check.CacheToWrite();
    cache_changed = written.has_value();
    if (written) {
      cache = *written;
    }
    return check.Summary();
  }
};

TEST(WebCheckTest, EveryPlaceOfAnAddressGetsItsFindingAndEachAddressOneRequest) {
  WebCheckRun run;
  run.web.On("*", "http://a.example/missing", {FakeWebClient::Status(404)});
  run.web.On("*", "http://a.example/ok", {FakeWebClient::Status(200)});
  const WebSummary summary = run.Run({{"one.htm", "http://a.example/missing#top"},
                                      {"two.htm", "HTTP://A.EXAMPLE/missing"},
                                      {"two.htm", "http://a.example/ok"},
                                      {"two.htm", "http://exa mple/"},
                                      {"two.htm", "http://localhost:8080/"},
                                      {"two.htm", "mailto:someone@example.com"}});
  EXPECT_EQ(FormatWebSummary(summary),
            "Web: 4 addresses: 1 fine, 2 broken, 0 moved, 0 unverified, 1 not asked; 3 asked, 0 "
            "from the cache.");
  ASSERT_EQ(run.findings.size(), 3u);
  EXPECT_EQ(FormatFindingLine(run.findings[0]),
            "one.htm:1:10: web-broken: http://a.example/missing#top (404 Not Found)");
  EXPECT_EQ(FormatFindingLine(run.findings[1]),
            "two.htm:2:10: web-broken: HTTP://A.EXAMPLE/missing (404 Not Found)");
  EXPECT_EQ(run.findings[1].subject, "http://a.example/missing");
  EXPECT_EQ(run.findings[1].status, 404);
  EXPECT_EQ(FormatFindingLine(run.findings[2]),
            "two.htm:4:10: web-broken: http://exa mple/ (not a valid address)");
  EXPECT_EQ(run.web.RequestsTo("http://a.example/missing"), 2u);  // HEAD, then GET
  EXPECT_EQ(run.web.RequestsTo("http://localhost:8080/"), 0u);
}

TEST(WebCheckTest, WebIgnoreLinesKeepAnAddressFromBeingAskedOnlyWhereTheyMatchEveryPlace) {
  WebCheckRun run;
  run.web.On("*", "https://intranet.example.com/a", {FakeWebClient::Status(404)});
  run.web.On("*", "https://forum.example.com/t", {FakeWebClient::Status(403)});
  run.web.On("*", "https://b.example/", {FakeWebClient::Status(404)});
  const std::string ignore =
      "web help/* https://intranet.example.com/*\n"
      "web-unverified help/* https://forum.example.com/*\n"
      "WEB-BROKEN help/b.htm https://b.example/\n";
  const WebSummary summary = run.Run({{"help/a.htm", "https://intranet.example.com/a"},
                                      {"help/a.htm", "https://forum.example.com/t"},
                                      {"help/a.htm", "https://b.example/"},
                                      {"help/b.htm", "https://b.example/"}},
                                     ignore);
  EXPECT_EQ(run.web.RequestsTo("https://intranet.example.com/a"), 0u);
  EXPECT_EQ(run.web.RequestsTo("https://forum.example.com/t"), 2u);
  EXPECT_EQ(run.web.RequestsTo("https://b.example/"), 2u);
  EXPECT_EQ(summary.not_asked, 1u);
  // The check drops the findings these lines match; here the web check hands all of them on.
  IgnoreList list(ignore);
  std::vector<std::string> kept;
  for (const Finding& finding : run.findings) {
    if (!list.Ignores(finding)) {
      kept.push_back(FormatFindingLine(finding));
    }
  }
  EXPECT_EQ(kept, std::vector<std::string>{
                      "help/a.htm:3:10: web-broken: https://b.example/ (404 Not Found)"});
}

TEST(WebCheckTest, TheCacheSparesWhatWasFineLatelyAndForgetsWhatNoPageLinks) {
  WebCheckRun run;
  run.web.On("*", "http://a.example/ok", {FakeWebClient::Status(200)});
  run.web.On("*", "http://a.example/old", {FakeWebClient::Status(301, "/ok")});
  run.web.On("*", "http://a.example/missing", {FakeWebClient::Status(404)});
  run.web.On("*", "http://a.example/forbidden", {FakeWebClient::Status(403)});
  const std::vector<std::pair<std::string, std::string>> links = {
      {"a.htm", "http://a.example/ok"},
      {"a.htm", "http://a.example/old"},
      {"a.htm", "http://a.example/missing"},
      {"a.htm", "http://a.example/forbidden"}};
  run.Run(links);
  const std::size_t first_requests = run.web.starts().size();

  run.now += 5 * 24 * 3600;  // five days on: fine and moved ones are trusted
  WebSummary summary = run.Run(links);
  EXPECT_EQ(summary.asked, 2u);
  EXPECT_EQ(summary.from_cache, 2u);
  EXPECT_EQ(run.web.starts().size() - first_requests, 4u);  // two HEADs and two GETs
  ASSERT_EQ(run.findings.size(), 3u);
  EXPECT_EQ(FormatFindingLine(run.findings[0]),
            "a.htm:2:10: web-moved: http://a.example/old (moved for good to "
            "http://a.example/ok)");
  EXPECT_TRUE(run.cache_changed);
  // Within a day, a run that only takes answers from the cache leaves its bytes alone.
  const std::string before = run.cache;
  run.now += 23 * 3600;
  run.Run({links[0], links[1]});
  EXPECT_FALSE(run.cache_changed);
  EXPECT_EQ(run.cache, before);
  run.now -= 23 * 3600;

  // Seven days after they were asked, trust ends where the spread puts it: 6 + 2 * random days.
  run.now += 2 * 24 * 3600;
  run.random = 0.6;  // 7.2 days
  EXPECT_EQ(run.Run(links).from_cache, 2u);
  run.random = 0.4;  // 6.8 days
  EXPECT_EQ(run.Run(links).from_cache, 0u);

  // An answer dated after the run began is asked again, and an address a page linked "later"
  // is counted from now, so that it too leaves the cache in time.
  const std::string future = "\t2099-01-01T00:00:00Z\t2099-01-01T00:00:00Z\n";
  run.cache = "# QUORVA web cache 1\nhttp://a.example/ok\tfine\t200\t-" + future +
              "http://z.example/\tfine\t200\t-" + future;
  EXPECT_EQ(run.Run({{"a.htm", "http://a.example/ok"}}).asked, 1u);
  const std::string now = FormatUtcStamp(run.now);
  EXPECT_NE(run.cache.find("http://a.example/ok\tfine\t200\t-\t" + now + "\t" + now + "\n"),
            std::string::npos)
      << run.cache;
  EXPECT_NE(run.cache.find("http://z.example/\tfine\t200\t-\t2099-01-01T00:00:00Z\t" + now),
            std::string::npos)
      << run.cache;

  // An address no page linked for more than 30 days leaves the cache.
  run.now += 30 * 24 * 3600 + 1;
  run.Run({{"a.htm", "http://a.example/ok"}});
  EXPECT_NE(run.cache.find("http://a.example/ok\t"), std::string::npos);
  EXPECT_EQ(run.cache.find("http://a.example/missing"), std::string::npos);
}

}  // namespace
}  // namespace quorva
