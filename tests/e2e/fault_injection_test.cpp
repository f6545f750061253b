// Runs on POSIX only: it kills runs with SIGKILL and makes symbolic links.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <thread>

#include "e2e/binary_runner.h"
#include "fakes/temp_folder.h"
#include "help_set/help_set_generator.h"
#include "text/wildcard.h"

namespace quorva {
namespace {

namespace stdfs = std::filesystem;

// Every file below a folder, by its path relative to the folder, with its bytes.
using Snapshot = std::map<std::string, std::string>;

Snapshot TakeSnapshot(const TempFolder& dir, const std::string& below = "") {
  Snapshot files;
  stdfs::path root = stdfs::path(dir.Path()) / below;
  for (const auto& entry : stdfs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) {
      std::string name = stdfs::relative(entry.path(), dir.Path()).string();
      files[name] = dir.Read(name);
    }
  }
  return files;
}

bool EndsWith(const std::string& text, const std::string& ending) {
  return text.size() >= ending.size() &&
         text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

bool IsTemporaryFile(const std::string& path) {
  return MatchesWildcard(stdfs::path(path).filename().string(), ".quorva-*.tmp");
}

const std::vector<std::string> kEveryPass = {
    "fsref.htm", "help/toc.htm",  "-mm", "-c",
    "-nf",       "-p1panel1.txt", "-bi", "-mwhelp/toc-menu.htm"};

void CopyFolder(const std::string& from, const std::string& to) {
  stdfs::copy(from, to, stdfs::copy_options::recursive);
}

// Starts the tool in `folder` with standard input and output closed to it, and returns its
// process, so that it can be killed mid-run.
pid_t StartQuorvaBinary(const std::vector<std::string>& arguments, const std::string& folder) {
  pid_t child = ::fork();
  if (child == 0) {
    int null_device = ::open("/dev/null", O_RDWR);
    ::dup2(null_device, STDIN_FILENO);
    ::dup2(null_device, STDOUT_FILENO);
    if (::chdir(folder.c_str()) != 0) {
      ::_exit(126);
    }
    std::vector<std::string> copies = arguments;
    std::string program = QUORVA_BINARY;
    std::vector<char*> argv = {program.data()};
    for (std::string& argument : copies) {
      argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  return child;
}

// A help set as it was, and as runs with every pass, with and without compression, leave it.
struct RunReferences {
  Snapshot original;
  Snapshot finished;
  Snapshot uncompressed;
  std::chrono::steady_clock::duration run_time;
};

RunReferences MakeReferences(const TempFolder& dir, int topics) {
  RunReferences references;
  GenerateHelpSet(dir / "original", topics, 11);
  references.original = TakeSnapshot(dir, "original");
  CopyFolder(dir / "original", dir / "finished");
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(RunQuorvaBinary(kEveryPass, dir / "finished").exit_code, 0);
  references.run_time = std::chrono::steady_clock::now() - start;
  references.finished = TakeSnapshot(dir, "finished");
  // A file the run makes may be stopped between its making and its compression.
  CopyFolder(dir / "original", dir / "uncompressed");
  std::vector<std::string> uncompressed_run = kEveryPass;
  uncompressed_run.erase(std::find(uncompressed_run.begin(), uncompressed_run.end(), "-c"));
  EXPECT_EQ(RunQuorvaBinary(uncompressed_run, dir / "uncompressed").exit_code, 0);
  references.uncompressed = TakeSnapshot(dir, "uncompressed");
  return references;
}

// Expects every file of `files`, a snapshot of a copy of the original set at `folder`, to be as
// it was or as a run leaves it; returns how many temporary files stand among them.
int ExpectEveryFileOldOrNew(const RunReferences& references, const Snapshot& files,
                            const std::string& folder) {
  int temporary_files = 0;
  for (const auto& [path, bytes] : files) {
    if (IsTemporaryFile(path)) {
      ++temporary_files;
      continue;
    }
    const std::string relative = path.substr(folder.size());
    auto is_in = [&, &bytes = bytes](const Snapshot& reference, const std::string& name) {
      auto found = reference.find(name + relative);
      return found != reference.end() && found->second == bytes;
    };
    const bool made_by_the_run = !references.original.count("original" + relative);
    EXPECT_TRUE(is_in(references.original, "original") || is_in(references.finished, "finished") ||
                (made_by_the_run && is_in(references.uncompressed, "uncompressed")))
        << path;
  }
  return temporary_files;
}

TEST(FaultInjection, KilledRunsLeaveEveryFileOldOrNewAndTheNextRunCleansUp) {
  TempFolder dir;
  const RunReferences references = MakeReferences(dir, 2000);
  std::mt19937 random(2026);
  for (int kill = 0; kill < 20; ++kill) {
    const std::string folder = "killed" + std::to_string(kill);
    CopyFolder(dir / "original", dir / folder);
    // Most of a run is topic rewriting and compression: a moment in its middle stops either.
    auto delay =
        references.run_time * (0.15 + 0.8 * std::uniform_real_distribution<>(0, 1)(random));
    pid_t child = StartQuorvaBinary(kEveryPass, dir / folder);
    std::this_thread::sleep_for(delay);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);

    EXPECT_LE(ExpectEveryFileOldOrNew(references, TakeSnapshot(dir, folder), folder), 1)
        << "one file at a time is being replaced, kill " << kill;

    EXPECT_EQ(RunQuorvaBinary(kEveryPass, dir / folder).exit_code, 0);
    for (const auto& [path, bytes] : TakeSnapshot(dir, folder)) {
      EXPECT_FALSE(IsTemporaryFile(path)) << path << " left after a clean run";
    }
    stdfs::remove_all(dir / folder);
  }
}

// Lowers the largest file this process and the runs it starts may write, so that writes past it
// fail with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    old_handler_ = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit lowered = old_;
    lowered.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    ::signal(SIGXFSZ, old_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  struct rlimit old_;
  void (*old_handler_)(int);
};

// A small memory file system mounted at a folder, where the system lets this user mount one.
class SmallFileSystem {
 public:
  SmallFileSystem(const std::string& folder, const char* size) : folder_(folder) {
    stdfs::create_directories(folder);
    mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, size) == 0;
  }
  ~SmallFileSystem() {
    if (mounted_) {
      ::umount(folder_.c_str());
    }
  }
  SmallFileSystem(const SmallFileSystem&) = delete;
  SmallFileSystem& operator=(const SmallFileSystem&) = delete;
  bool Mounted() const { return mounted_; }
  // Fills the file system but for `room` bytes.
  void FillBut(std::uintmax_t room) const {
    std::uintmax_t free = stdfs::space(folder_).available;
    std::ofstream filler(folder_ + "/filler.bin", std::ios::binary);
    filler << std::string(free > room ? free - room : 0, 'f');
  }

 private:
  std::string folder_;
  bool mounted_ = false;
};

// A write that fails for any reason but a refusal ends the run at once with exit code 3 and the
// file's name; nothing says "complete.", and every file is old or finished, none half written.
TEST(FaultInjection, FailedWritesEndTheRunAndLeaveEveryFileOldOrNew) {
  TempFolder dir;
  const RunReferences references = MakeReferences(dir, 200);

  CopyFolder(dir / "original", dir / "too-large");
  BinaryRun too_large;
  {
    // The menu page, the first file written, is larger than this.
    FileSizeLimit limit(4096);
    too_large = RunQuorvaBinary(kEveryPass, dir / "too-large");
  }
  EXPECT_EQ(too_large.exit_code, 3);
  EXPECT_TRUE(
      EndsWith(too_large.output, ")\nError: (help/toc-menu.htm) not written: File too large.\n"))
      << too_large.output;
  EXPECT_EQ(too_large.output.find("complete."), std::string::npos);
  EXPECT_EQ(ExpectEveryFileOldOrNew(references, TakeSnapshot(dir, "too-large"), "too-large"), 0);

  SmallFileSystem full(dir / "full", "size=4m");
  if (!full.Mounted()) {
    GTEST_SKIP() << "a file system cannot be mounted here; the full-disk run needs root";
  }
  CopyFolder(dir / "original", dir / "full/set");
  full.FillBut(64 * 1024);
  BinaryRun no_space = RunQuorvaBinary(kEveryPass, dir / "full/set");
  EXPECT_EQ(no_space.exit_code, 3);
  EXPECT_TRUE(EndsWith(no_space.output, ") not written: No space left on device.\n"))
      << no_space.output;
  EXPECT_EQ(no_space.output.find("complete."), std::string::npos);
  Snapshot files = TakeSnapshot(dir, "full/set");
  EXPECT_EQ(ExpectEveryFileOldOrNew(references, files, "full/set"), 0);
}

class BadInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("fsref.htm", "<title></title><frame src=\"toc.htm\"><frame src=\"main.htm\">");
    dir.Write("help/index.htm", "<title>Help</title>");
  }
  BinaryRun Run(std::vector<std::string> switches) {
    std::vector<std::string> arguments = {"fsref.htm", "help/toc.htm"};
    arguments.insert(arguments.end(), switches.begin(), switches.end());
    return RunQuorvaBinary(arguments, dir.Path());
  }
  static std::string Links(const std::vector<std::string>& names) {
    std::string page = "<html><body>\n";
    for (const std::string& name : names) {
      page += "<a href=\"" + name + "\">" + name + "</a>\n";
    }
    return page + "</body></html>\n";
  }

  TempFolder dir;
};

std::string Junk(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    c = static_cast<char>(random());
  }
  return bytes;
}

TEST_F(BadInputTest, OddFilesAreLeftAloneOrRewrittenAndTheRunCompletes) {
  dir.Write("help/toc.htm", Links({"toc4.htm", "a.htm", "ro.htm", "x.htm", "link.htm", "toc2.htm",
                                   "junk.htm", "toc3.htm", "d.htm"}));
  dir.Write("help/ro.htm", "<BREAD>");
  stdfs::permissions(dir / "help/ro.htm", stdfs::perms::owner_read);
  dir.Write("help/x.htm/inside.txt", "a folder named like a topic");
  dir.Write("help/real.htm", "<title>Real</title><BREAD>");
  stdfs::create_symlink("real.htm", dir / "help/link.htm");
  dir.Write("help/toc2.htm/inside.txt", "a folder named like a TOC page");
  const std::string junk = Junk(64 * 1024, 1);
  dir.Write("help/junk.htm", junk);
  dir.Write("help/toc3.htm", Junk(64 * 1024, 2));
  dir.Write("help/toc4.htm", Links({"toc5.htm", "b.htm"}));
  dir.Write("help/toc5.htm", Links({"toc4.htm", "c.htm", "toc5.htm"}));
  dir.Write("help/caf\xE9 topic.htm", "<title>Caf\xE9</title><BREAD>");

  BinaryRun run = Run({"-mm", "-c"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_TRUE(EndsWith(run.output, "\ncomplete.\n"));
  EXPECT_NE(run.output.find("\n ParseThisBreadToc - Error help/toc2.htm NOT found.\n"),
            std::string::npos);
  EXPECT_EQ(dir.Read("help/ro.htm"), "<BREAD>");
  EXPECT_TRUE(stdfs::is_directory(dir / "help/x.htm"));
  EXPECT_TRUE(stdfs::is_symlink(dir / "help/link.htm"));
  EXPECT_EQ(dir.Read("help/real.htm"),
            "<title>Real</title><a class=\"bread\" href=\"link.htm\">Real</a>");
  EXPECT_GE(dir.Read("help/junk.htm").size(), junk.size() * 9 / 10) << "junk kept its bytes";
  // The cycle is walked once: the page's line appears once in each of the three walks.
  std::size_t toc5_lines = 0;
  for (std::size_t at = run.output.find("toc5.htm -("); at != std::string::npos;
       at = run.output.find("toc5.htm -(", at + 1)) {
    ++toc5_lines;
  }
  EXPECT_EQ(toc5_lines, 3u);
  EXPECT_EQ(dir.Read("help/caf\xE9 topic.htm"),
            "<title>Caf\xE9</title><a class=\"bread\" href=\"caf\xE9 topic.htm\">Caf\xE9</a>");
}

// The alias's trail link is made after the rewrite through the real name changed the title.
TEST_F(BadInputTest, ATitleReadThroughALinkIsTheTitleAsTheRunLeftIt) {
  dir.Write("help/toc.htm", Links({"real.htm", "alias.htm"}));
  dir.Write("help/real.htm", "<title>T <FILENAME></title><BREAD><BREAD><BREAD>");
  stdfs::create_symlink("real.htm", dir / "help/alias.htm");
  BinaryRun run = Run({"-nf"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(dir.Read("help/real.htm"),
            "<title>T real.htm</title><a class=\"bread\" href=\"real.htm\">T</a>"
            "<a class=\"bread\" href=\"real.htm\">T</a>"
            "<a class=\"bread\" href=\"alias.htm\">T real.htm</a>");
}

TEST_F(BadInputTest, EmptyAndBodylessTocPagesGiveEmptyWalks) {
  dir.Write("help/toc.htm", "");
  BinaryRun empty = Run({"-mm"});
  EXPECT_EQ(empty.exit_code, 1);
  EXPECT_TRUE(EndsWith(empty.output, "\nError: TOC page (help/toc.htm) lists no page.\n"));
  // A nested TOC page that lists nothing gives an empty walk below its book.
  dir.Write("help/toc.htm", "<body><a href=\"toc1.htm\"></a><a href=\"b.htm\">B</a>");
  dir.Write("help/toc1.htm", "");
  BinaryRun nested = Run({"-mm"});
  EXPECT_EQ(nested.exit_code, 0);
  EXPECT_NE(nested.output.find("\n \xE2\x94\x94toc1.htm -(\n\n\n"), std::string::npos)
      << nested.output;
  dir.Write("help/toc.htm", "<a href=\"a.htm\">A</a>");
  dir.Write("help/a.htm", "<MENU>");
  BinaryRun bodyless = Run({"-mm", "-mdn"});
  EXPECT_EQ(bodyless.exit_code, 0);
  EXPECT_EQ(dir.Read("help/a.htm"), "");
}

TEST_F(BadInputTest, TooDeepAndTooLongEndTheRunWithTheirMessages) {
  std::string chain;
  for (int i = 1; i <= 33; ++i) {
    dir.Write("help/toc" + std::to_string(i) + ".htm",
              Links({"toc" + std::to_string(i + 1) + ".htm", "t" + std::to_string(i) + ".htm"}));
  }
  dir.Write("help/toc.htm", Links({"toc1.htm", "t0.htm"}));
  BinaryRun deep = Run({"-fin"});
  EXPECT_EQ(deep.exit_code, 3);
  EXPECT_TRUE(EndsWith(deep.output, "\xE2\x94\x94toc32.htm -(Error: TOC level depth exceeded 31."))
      << deep.output.substr(deep.output.size() - 80);

  // A path over 259 characters ends the run before any pass: nothing is written.
  dir.Write("help/toc.htm", Links({"t0.htm"}));
  const std::string name = std::string(250, 'l') + "/" + std::string(20, 'l');
  dir.Write(name, "<title></title><frame src=\"toc.htm\"><frame src=\"main.htm\">");
  const std::string setup = "\nIndex page(s) title:'Help'.\n\nCreating Index Frame Pages.";
  const Snapshot before = TakeSnapshot(dir);
  // Each run, the path it names, and whether the switch loop was reached.
  const struct {
    std::vector<std::string> arguments;
    std::string path;
    bool in_a_switch;
  } refusals[] = {
      {{"fsref.htm", "help/" + name + "/toc.htm"}, "help/" + name + "/toc.htm", false},
      {{name, "help/toc.htm", "-mm"}, name, false},
      {{"fsref.htm", "help/toc.htm", "-mm", "-mw" + name}, name, true},
      {{"fsref.htm", "help/toc.htm", "-p1" + name}, "help/" + name, true},
      {{"fsref.htm", "help/toc.htm", "-ubf" + name}, name, true},
      {{"fsref.htm", "help/toc.htm", "-bu" + name}, name, true},
      {{"fsref.htm", "help/toc.htm", "-bh" + name}, name, true},
      {{"fsref.htm", "help/toc.htm", "-bt" + name}, name, true},
      {{"fsref.htm", "help/toc.htm", "-mm", "-mif" + name}, name, true},
  };
  for (const auto& refusal : refusals) {
    BinaryRun refused = RunQuorvaBinary(refusal.arguments, dir.Path());
    EXPECT_EQ(refused.exit_code, 1) << refusal.arguments.back();
    EXPECT_EQ(refused.output, (refusal.in_a_switch ? setup : "") + "Error: Path too long (" +
                                  refusal.path + ").\n");
  }
  EXPECT_EQ(TakeSnapshot(dir), before);
}

// Links under every name a pass may write, each to a file outside the output folder or in a
// subfolder: no run writes through one, and each is named once per run, with or without -c and
// with the folder reached through a linked path. A link to a file beside it is followed.
TEST_F(BadInputTest, NoWriteLeavesTheOutputFolderThroughALink) {
  dir.Write("help/toc.htm", Links({"toc1.htm", "a.htm", "topic.htm", "inside.htm", "p.htm"}));
  dir.Write("help/a.htm", "<title>A</title><BREAD>");
  dir.Write("help/real.htm", "<title>Real</title><BREAD>");
  stdfs::create_symlink("real.htm", dir / "help/inside.htm");
  stdfs::remove(dir / "help/index.htm");
  const std::string outside = "<title>Help</title>\n  <BREAD>  <FILENAME>\n";
  // Each link's name in the output folder, and where it leads.
  const std::map<std::string, std::string> links = {
      {"topic.htm", "../outside/topic.htm"}, {"other.htm", "../outside/other.htm"},
      {"index.htm", "../outside/index.htm"}, {"ia.htm", "../outside/ia.htm"},
      {"toc1.htm", "../outside/toc1.htm"},   {"s.css", "../outside/s.css"},
      {"x.php", "../outside/x.php"},         {"p.htm", "setup/panel-header.txt"}};
  for (const auto& [name, target] : links) {
    // A style sheet that compressing would leave as it is still gets its message.
    dir.Write("help/" + stdfs::path(target).lexically_normal().string(),
              name == "s.css" ? "p{}" : outside);
    stdfs::last_write_time(stdfs::path(dir / "help") / target,
                           stdfs::file_time_type::clock::now() - std::chrono::hours(24));
    stdfs::create_symlink(target, dir / ("help/" + name));
  }
  const Snapshot before = TakeSnapshot(dir, "outside");
  auto times = [&]() {
    std::map<std::string, stdfs::file_time_type> found;
    for (const auto& link : links) {
      found[link.first] = stdfs::last_write_time(stdfs::path(dir / "help") / link.second);
    }
    return found;
  };
  const auto old_times = times();
  stdfs::create_directory_symlink("help", dir / "linked-help");
  const struct {
    std::string folder;
    std::vector<std::string> switches;
    std::vector<std::string> written;  // the links that the run's passes would write
  } runs[] = {
      {"help", {"-nf"}, {"topic.htm", "other.htm", "index.htm", "ia.htm", "p.htm"}},
      {"linked-help",
       {"-nf", "-c"},
       {"topic.htm", "other.htm", "index.htm", "ia.htm", "p.htm", "toc1.htm", "s.css", "x.php"}}};
  for (const auto& run : runs) {
    dir.Write("help/a.htm", "<title>A</title><BREAD>");
    dir.Write("help/real.htm", "<title>Real</title><BREAD>");
    std::vector<std::string> arguments = {"fsref.htm", run.folder + "/toc.htm"};
    arguments.insert(arguments.end(), run.switches.begin(), run.switches.end());
    BinaryRun result = RunQuorvaBinary(arguments, dir.Path());
    EXPECT_EQ(result.exit_code, 0) << run.folder;
    EXPECT_TRUE(EndsWith(result.output, "\ncomplete.\n")) << result.output;
    std::size_t messages = 0;
    for (std::size_t at = result.output.find("\nNot written ("); at != std::string::npos;
         at = result.output.find("\nNot written (", at + 1)) {
      ++messages;
    }
    EXPECT_EQ(messages, run.written.size()) << result.output;
    for (const std::string& name : run.written) {
      EXPECT_NE(result.output.find("\nNot written (" + run.folder + "/" + name +
                                   "): it links to a file outside the output folder.\n"),
                std::string::npos)
          << name;
    }
    EXPECT_EQ(TakeSnapshot(dir, "outside"), before);
    EXPECT_EQ(dir.Read("help/setup/panel-header.txt"), outside);
    EXPECT_EQ(times(), old_times);
    EXPECT_TRUE(stdfs::is_symlink(dir / "help/inside.htm"));
    // The title read through the index page's link still heads the pages.
    EXPECT_NE(result.output.find("\nIndex page(s) title:'Help'.\n"), std::string::npos);
    EXPECT_EQ(dir.Read("help/a.htm"), "<title>A</title><a class=\"bread\" href=\"a.htm\">A</a>");
    EXPECT_EQ(dir.Read("help/real.htm"),
              "<title>Real</title><a class=\"bread\" href=\"inside.htm\">Real</a>");
  }
  // The menu page is the user's to name: it is written through a link in the folder that leads
  // out of it, without a message, and the link stays.
  dir.Write("outside/menu.htm", "old");
  stdfs::create_symlink("../outside/menu.htm", dir / "help/menu.htm");
  const BinaryRun menu =
      RunQuorvaBinary({"fsref.htm", "help/toc.htm", "-mm", "-mwhelp/menu.htm"}, dir.Path());
  EXPECT_EQ(menu.exit_code, 0);
  EXPECT_EQ(menu.output.find("Not written (help/menu.htm)"), std::string::npos) << menu.output;
  EXPECT_EQ(dir.Read("outside/menu.htm").substr(0, 18), "<div class=\"menu\">");
  EXPECT_TRUE(stdfs::is_symlink(dir / "help/menu.htm"));
}

// Waits for a run started by StartQuorvaBinary at most `limit`; its exit code, or -1 when it
// had to be killed.
int ExitCodeWithin(pid_t child, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (::waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A pipe is neither read nor waited on, whether a TOC page lists it or not, and a link to a
// device named like a page is left as it is; the topic beside it is rewritten all the same.
TEST_F(BadInputTest, PipesAndDevicesAreNeitherReadNorWaitedOn) {
  dir.Write("help/toc.htm", Links({"a.htm", "pipe.htm", "zero.htm"}));
  for (const std::string name : {"pipe.htm", "other.htm", "f.css", "zero.htm"}) {
    dir.Write("help/a.htm", "<title>A</title><BREAD>");
    const std::string path = dir / ("help/" + name);
    if (name == "zero.htm") {
      stdfs::create_symlink("/dev/zero", path);
    } else {
      ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    }
    pid_t run = StartQuorvaBinary({"fsref.htm", "help/toc.htm", "-mm", "-c"}, dir.Path());
    EXPECT_EQ(ExitCodeWithin(run, std::chrono::seconds(5)), 0) << name;
    EXPECT_EQ(dir.Read("help/a.htm"), "<title>A</title><a class=\"bread\" href=\"a.htm\">A</a>")
        << name;
    EXPECT_EQ(stdfs::symlink_status(path).type(),
              name == "zero.htm" ? stdfs::file_type::symlink : stdfs::file_type::fifo);
    stdfs::remove(path);
  }
}

TEST_F(BadInputTest, HugeTopicKeepsEveryByte) {
  std::string topic = "<title>Huge</title>";
  const std::string line = "<p>A line of a very large topic, repeated many times.</p>\r\n";
  while (topic.size() < 200u * 1000 * 1000) {
    topic += line;
  }
  topic += "<BREAD>\r\n";
  dir.Write("help/toc.htm", Links({"huge.htm"}));
  dir.Write("help/huge.htm", topic);
  BinaryRun run = Run({"-fin"});
  EXPECT_EQ(run.exit_code, 0);
  std::string rewritten = dir.Read("help/huge.htm");
  const std::string link = "<a class=\"bread\" href=\"huge.htm\">Huge</a>\r\n";
  ASSERT_EQ(rewritten.size(), topic.size() - 9 + link.size());
  EXPECT_EQ(rewritten.compare(0, topic.size() - 9, topic, 0, topic.size() - 9), 0);
  EXPECT_EQ(rewritten.substr(rewritten.size() - link.size()), link);
}

TEST(NothingOutsideTheOutputFolder, IsCreatedOrChangedButTheNamedMenuPage) {
  TempFolder dir;
  GenerateHelpSet(dir.Path(), 60, 5);
  dir.Write("sep.txt", " &gt; ");
  dir.Write("items.txt", "0,1,0,extra.htm,Extra,Extra\n");
  dir.Write("outside.htm", "<BREAD><MENU>");
  Snapshot before = TakeSnapshot(dir);
  BinaryRun run =
      RunQuorvaBinary({"fsref.htm", "help/toc.htm", "-mm", "-c", "-nf", "-bi", "-bl",
                       "-p1panel1.txt", "-busep.txt", "-mifitems.txt", "-mwnamed-menu.htm"},
                      dir.Path());
  EXPECT_EQ(run.exit_code, 0);
  Snapshot after = TakeSnapshot(dir);
  for (auto& files : {&before, &after}) {
    for (auto it = files->begin(); it != files->end();) {
      it = it->first.rfind("help", 0) == 0 ? files->erase(it) : std::next(it);
    }
  }
  ASSERT_EQ(after.count("named-menu.htm"), 1u);
  after.erase("named-menu.htm");
  EXPECT_EQ(after, before);
}

// A deployment that copies changed files by time or size must see only what a run changed: a
// second run over a finished folder rewrites nothing whose bytes stay the same.
TEST(SecondRun, ReplacesOnlyTheFilesWhoseBytesItChanges) {
  TempFolder dir;
  GenerateHelpSet(dir.Path(), 60, 5);
  ASSERT_EQ(RunQuorvaBinary(kEveryPass, dir.Path()).exit_code, 0);
  auto identity = [&dir](const std::string& name) {
    struct stat info;
    EXPECT_EQ(::stat((dir / name).c_str(), &info), 0) << name;
    return std::to_string(info.st_ino) + "@" + std::to_string(info.st_mtim.tv_sec) + "." +
           std::to_string(info.st_mtim.tv_nsec);
  };
  const Snapshot first = TakeSnapshot(dir, "help");
  std::map<std::string, std::string> identities;
  for (const auto& file : first) {
    identities[file.first] = identity(file.first);
  }
  ASSERT_EQ(RunQuorvaBinary(kEveryPass, dir.Path()).exit_code, 0);
  const Snapshot second = TakeSnapshot(dir, "help");
  ASSERT_EQ(second.size(), first.size());
  int unchanged = 0;
  for (const auto& [name, bytes] : second) {
    if (bytes == first.at(name)) {
      EXPECT_EQ(identity(name), identities[name]) << name << " was written again";
      ++unchanged;
    } else {
      // Only the compressed style sheet's blank lines, where comments stood, go on changing.
      EXPECT_TRUE(EndsWith(name, ".css")) << name;
    }
  }
  EXPECT_GE(unchanged, static_cast<int>(first.size()) - 2);
}

}  // namespace
}  // namespace quorva
