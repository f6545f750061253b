#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "e2e/binary_runner.h"
#include "fakes/temp_folder.h"
#include "web/web_test_server.h"

namespace quorva {
namespace {

// A help set of two topics whose pages link `links` (a.htm) and `more_links` (b.htm), each
// link on a line of its own, with a template whose frames have titles, so that only the web's
// findings show.
void WriteHelpSet(const TempFolder& folder, const std::vector<std::string>& links,
                  const std::vector<std::string>& more_links = {}) {
  folder.Write("setup/fsref.htm",
               "<html><head><title></title></head><frameset><frame title=\"c\" src=\"toc.htm\">"
               "<frame title=\"t\" src=\"main.htm\"></frameset></html>");
  folder.Write("index.htm", "<html><head><title>Help</title></head><body></body></html>");
  folder.Write("toc.htm", "<title>T</title><a href=\"a.htm\">A</a><a href=\"b.htm\">B</a>");
  for (const auto& [page, page_links] :
       {std::make_pair("a.htm", links), std::make_pair("b.htm", more_links)}) {
    std::string text = "<title>" + std::string(page) + "</title>\n";
    for (const std::string& link : page_links) {
      text += "<a href=\"" + link + "\">x</a>\n";
    }
    folder.Write(page, text);
  }
}

// The lines of the run's output that report web findings, and the web summary line.
std::vector<std::string> WebLines(const std::string& output) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < output.size()) {
    const std::size_t end = output.find('\n', start);
    const std::string line = output.substr(start, end - start);
    if (line.find(": web-") != std::string::npos || line.compare(0, 4, "Web:") == 0) {
      lines.push_back(line);
    }
    start = end == std::string::npos ? output.size() : end + 1;
  }
  return lines;
}

// How many requests the server had for each path, and the most it had open to one host.
struct ServerRecord {
  std::map<std::string, int> requests;
  int most_open = 0;
};

ServerRecord ReadRecord(const WebTestServer& server) {
  ServerRecord record;
  const nlohmann::json stats = nlohmann::json::parse(server.Stats());
  for (const auto& request : stats["requests"]) {
    ++record.requests[request["method"].get<std::string>() + " " +
                      request["path"].get<std::string>()];
  }
  for (const auto& [host, open] : stats["max_open"].items()) {
    record.most_open = std::max(record.most_open, open.get<int>());
  }
  return record;
}

class WebCheckTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ClearProxyVariables(); }
  void SetUp() override { ASSERT_NE(server.port(), 0) << server.error(); }

  BinaryRun Run(std::vector<std::string> options) {
    std::vector<std::string> arguments = {"setup/fsref.htm", "toc.htm"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return RunQuorvaBinary(arguments, help.Path());
  }

  WebTestServer server;
  TempFolder help;
};

// Every answer of the server gives its address its finding, at every place that links it,
// with one request for each address however many pages link it, never more than two open to
// one host, and the same findings in the JSON and SARIF reports.
TEST_F(WebCheckTest, EachAnswerGivesItsFindingAtEveryPlace) {
  const int refused = FreeLoopbackPort();
  const std::string refused_url = "http://127.0.0.1:" + std::to_string(refused) + "/";
  const std::vector<std::string> paths = {"/ok",    "/missing", "/gone",          "/moved",
                                          "/found", "/loop",    "/head-405",      "/forbidden",
                                          "/busy",  "/flaky",   "/huge?head=405", "/retry-long"};
  std::vector<std::string> links;
  for (const std::string& path : paths) {
    links.push_back(server.Url(path));
  }
  links.push_back(refused_url);
  WriteHelpSet(help, links, {server.Url("/missing#part"), server.Url("/ok")});
  const BinaryRun run =
      Run({"--web", "--web-private", "--report=r.json", "--report=r.sarif", "--strict"});
  EXPECT_EQ(run.exit_code, 4) << run.output;
  const std::string ok = server.Url("/ok");
  std::vector<std::string> expected = {
      "a.htm:3:10: web-broken: " + server.Url("/missing") + " (404 Not Found)",
      "a.htm:4:10: web-broken: " + server.Url("/gone") + " (410 Gone)",
      "a.htm:5:10: web-moved: " + server.Url("/moved") + " (moved for good to " + ok + ")",
      "a.htm:7:10: web-broken: " + server.Url("/loop") + " (a redirect loop)",
      "a.htm:9:10: web-unverified: " + server.Url("/forbidden") +
          " (403 Forbidden: the site may refuse robots)",
      "a.htm:13:10: web-unverified: " + server.Url("/retry-long") +
          " (429 Too Many Requests: the site asked to wait 120 s)",
      "a.htm:14:10: web-broken: " + refused_url + " (the connection was refused)",
      "b.htm:2:10: web-broken: " + server.Url("/missing#part") + " (404 Not Found)",
      "Web: 13 addresses: 6 fine, 4 broken, 1 moved, 2 unverified, 0 not asked; 13 asked, 0 "
      "from the cache."};
  const std::vector<std::string> lines = WebLines(run.output);
  ASSERT_EQ(lines.size(), expected.size()) << run.output;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].compare(0, expected[i].size(), expected[i]), 0)
        << lines[i] << "\nexpected: " << expected[i];
  }

  ServerRecord record = ReadRecord(server);
  EXPECT_LE(record.most_open, 2);
  EXPECT_EQ(record.requests["HEAD /ok"], 3);  // itself, and at the end of /moved and /found
  EXPECT_EQ(record.requests["HEAD /missing"], 1);
  EXPECT_EQ(record.requests["GET /missing"], 1);
  EXPECT_EQ(record.requests["HEAD /head-405"] + record.requests["GET /head-405"], 2);
  EXPECT_EQ(record.requests["HEAD /busy"], 2);   // 429, then after its Retry-After, 200
  EXPECT_EQ(record.requests["HEAD /flaky"], 2);  // 503, then 200
  EXPECT_EQ(record.requests["HEAD /retry-long"], 1);
  EXPECT_EQ(record.requests["GET /huge?head=405"], 1);
  const nlohmann::json stats = nlohmann::json::parse(server.Stats());
  EXPECT_LT(stats["bytes_sent"]["/huge"].get<long long>(), 20LL * 1024 * 1024);
  const std::string user_agent = stats["requests"][0]["user_agent"];
  EXPECT_EQ(user_agent.compare(0, 7, "QUORVA/"), 0) << user_agent;
  EXPECT_EQ(user_agent.substr(user_agent.size() - 13), " (link check)");

  const nlohmann::json json = nlohmann::json::parse(help.Read("r.json"));
  EXPECT_EQ(json["counts"]["web"]["broken"], 4);
  EXPECT_EQ(json["counts"]["web"]["asked"], 13);
  std::map<std::string, nlohmann::json> by_target;
  for (const auto& finding : json["findings"]) {
    by_target[finding["target"].get<std::string>()] = finding;
  }
  EXPECT_EQ(by_target[server.Url("/missing")]["status"], 404);
  EXPECT_EQ(by_target[server.Url("/missing")]["level"], "error");
  EXPECT_EQ(by_target[server.Url("/moved")]["url"], ok);
  EXPECT_EQ(by_target[server.Url("/moved")]["level"], "warning");
  EXPECT_TRUE(by_target[refused_url]["status"].is_null());
  const nlohmann::json sarif = nlohmann::json::parse(help.Read("r.sarif"));
  std::map<std::string, std::string> levels;
  for (const auto& result : sarif["runs"][0]["results"]) {
    levels[result["ruleId"].get<std::string>()] = result["level"].get<std::string>();
  }
  EXPECT_EQ(levels["web-broken"], "error");
  EXPECT_EQ(levels["web-moved"], "warning");
  EXPECT_EQ(levels["web-unverified"], "warning");
}

// Under Wine, WinHTTP reports a certificate it does not trust as a failure of the secure channel
// in general, which says no more than that: this is Linux's alone.
#ifndef _WIN32
TEST_F(WebCheckTest, AnAddressWhoseCertificateIsNotTrustedIsBroken) {
  WebTestServer tls({"127.0.0.2", true});
  ASSERT_NE(tls.port(), 0) << tls.error();
  WriteHelpSet(help, {tls.Url("/ok")});
  const BinaryRun run = Run({"--web", "--web-private", "--strict"});
  EXPECT_EQ(run.exit_code, 4);
  const std::vector<std::string> lines = WebLines(run.output);
  ASSERT_EQ(lines.size(), 2u) << run.output;
  const std::string expected =
      "a.htm:2:10: web-broken: " + tls.Url("/ok") + " (the certificate is not trusted: ";
  EXPECT_EQ(lines[0].compare(0, expected.size(), expected), 0) << lines[0];
}
#endif

// A second run with the cache asks only what was not fine; a cache cut in half is reported and
// made whole again.
TEST_F(WebCheckTest, TheCacheSparesASecondRunWhatWasFine) {
  WriteHelpSet(help, {server.Url("/ok"), server.Url("/missing"), server.Url("/moved")});
  const std::vector<std::string> options = {"--web", "--web-private", "--web-cache=web.txt"};
  EXPECT_EQ(Run(options).exit_code, 0);
  const std::string cache = help.Read("web.txt");
  EXPECT_EQ(cache.compare(0, 21, "# QUORVA web cache 1\n"), 0) << cache;
  const BinaryRun again = Run(options);
  EXPECT_NE(again.output.find("\nWeb: 3 addresses: 1 fine, 1 broken, 1 moved, 0 unverified, 0 not "
                              "asked; 1 asked, 2 from the cache.\n"),
            std::string::npos)
      << again.output;
  // The moved one's finding comes from the cache too.
  EXPECT_NE(again.output.find(": web-moved: " + server.Url("/moved")), std::string::npos);
  ServerRecord record = ReadRecord(server);
  EXPECT_EQ(record.requests["HEAD /missing"], 2);
  EXPECT_EQ(record.requests["HEAD /ok"], 2);  // the first run asked it twice: itself, and moved

  help.Write("web.txt", cache.substr(0, cache.size() / 2));
  const BinaryRun cut = Run(options);
  EXPECT_NE(cut.output.find("Warning: Web cache (web.txt) not read: it ends in the middle of a "
                            "line.\n"),
            std::string::npos)
      << cut.output;
  EXPECT_NE(cut.output.find("; 3 asked, 0 from the cache.\n"), std::string::npos);
  EXPECT_EQ(help.Read("web.txt").size(), cache.size());
}

// Loopback addresses are asked only with --web-private; a "web" ignore line keeps its address
// from being asked and a "web-broken" line only drops the findings; --strict fails only on a
// broken address.
TEST_F(WebCheckTest, WhoIsAskedAndWhatFailsTheRun) {
  WriteHelpSet(help, {server.Url("/missing"), server.Url("/forbidden"), server.Url("/gone")});
  BinaryRun run = Run({"--web", "--strict"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_NE(run.output.find("\nWeb: 3 addresses: 0 fine, 0 broken, 0 moved, 0 unverified, 3 not "
                            "asked; 0 asked, 0 from the cache.\n"),
            std::string::npos)
      << run.output;
  EXPECT_TRUE(ReadRecord(server).requests.empty());

  help.Write("accepted.txt",
             "web * " + server.Url("/missing") + "\nweb-broken * " + server.Url("/gone") + "\n");
  run = Run({"--web", "--web-private", "--strict", "--ignore=accepted.txt"});
  EXPECT_EQ(run.exit_code, 0) << run.output;
  EXPECT_EQ(WebLines(run.output),
            (std::vector<std::string>{
                "a.htm:3:10: web-unverified: " + server.Url("/forbidden") +
                    " (403 Forbidden: the site may refuse robots)",
                "Web: 3 addresses: 0 fine, 1 broken, 0 moved, 1 unverified, 1 not asked; 2 "
                "asked, 0 from the cache."}));
  ServerRecord record = ReadRecord(server);
  EXPECT_EQ(record.requests.count("HEAD /missing"), 0u);
  EXPECT_EQ(record.requests["HEAD /gone"], 1);
  EXPECT_EQ(Run({"--web", "--web-private", "--strict"}).exit_code, 4);
}

// A site that never answers holds a run up for three tries of --web-timeout and the waits
// between them, no longer.
TEST_F(WebCheckTest, ASiteThatNeverAnswersEndsAtItsTimeouts) {
  WriteHelpSet(help, {server.Url("/slow?s=60")});
  const auto start = std::chrono::steady_clock::now();
  const BinaryRun run = Run({"--web", "--web-private", "--web-timeout=2"});
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_NE(
      run.output.find(": web-unverified: " + server.Url("/slow?s=60") + " (no answer within 2 s)"),
      std::string::npos)
      << run.output;
  // Three tries of 2 s (4 s each where the client's own guard must end them, as under Wine),
  // waits of at most 1.25 s and 2.5 s, and the run's own work on a busy machine.
  EXPECT_LT(seconds, 3 * 4 + 1.25 + 2.5 + 6);
  EXPECT_EQ(ReadRecord(server).requests["HEAD /slow?s=60"], 3);
}

}  // namespace
}  // namespace quorva
