#include <gtest/gtest.h>

#include <map>
#include <string>

#include "e2e/binary_runner.h"
#include "fakes/temp_folder.h"

namespace quorva {
namespace {

// The output folder as the help build left it, before and after compression.
const std::map<std::string, std::pair<std::string, std::string>> kPages = {
    {"help/index.htm",
     {"<html>\r\n  <head><title>Sample Help</title></head>\r\n</html>\r\n",
      "<html>\n<head><title>Sample Help</title></head>\n</html>\n"}},
    {"help/toc.htm",
     {"<html>\r\n  <body >\r\n\r\n  <a href=\"a.htm\">A</a></body>\r\n</html>\r\n",
      "<html>\n<body>\n<a href=\"a.htm\">A</a></body>\n</html>\n"}},
    {"help/a.htm",
     {"<p>  Hello   world  </p>\r\n\r\n<p>x</p>\r\n", "<p> Hello world </p>\n<p>x</p>\n"}},
    {"help/b.htm",
     {"<pre>\r\n  code\r\n\r\n  more\r\n</pre>\r\n\t\t<p>b</p>\r\n",
      "<pre>\n  code\n  more\n</pre>\n<p>b</p>\n"}},
    {"help/s.css",
     {"/* header */\r\nbody {\r\n  margin: 0;\r\n  padding: 0;\r\n}\r\n",
      "\nbody {\nmargin:0;padding:0;}\n"}},
    {"help/x.php3", {"<?php\r\n    echo  'x';\r\n?>\r\n", "<?php\necho 'x';\n?>\n"}},
    {"help/notes.txt", {"  not  a  page  \r\n", "  not  a  page  \r\n"}},
    {"help/old.htm/keep.htm", {"  inside  a  folder  \r\n", "  inside  a  folder  \r\n"}},
};

class CompressionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("fsref.htm",
              "<html><head><title></title></head>\r\n<frameset cols=\"30%,*\"><frame "
              "src=\"toc.htm\"><frame src=\"main.htm\"></frameset></html>\r\n");
    for (const auto& [name, page] : kPages) {
      dir.Write(name, page.first);
    }
  }

  TempFolder dir;
};

TEST_F(CompressionTest, CompressesEveryPageAndStyleSheetOfTheOutputFolder) {
  BinaryRun run = RunQuorvaBinary({"fsref.htm", "help/toc.htm", "-c"}, dir.Path());
  // A folder whose name matches is listed too, and left alone.
  const std::string progress =
      "\nCompressing HTML Files-(a.htm, b.htm, ia.htm, index.htm, old.htm, toc.htm)\n"
      "\nCompressing PHP Files-(x.php3)\n"
      "\nCompressing CSS Files-(s.css)\n"
      "\ncomplete.\n";
  ASSERT_GE(run.output.size(), progress.size()) << run.output;
  EXPECT_EQ(run.output.substr(run.output.size() - progress.size()), progress);
  EXPECT_EQ(run.exit_code, 0);
  for (const auto& [name, page] : kPages) {
    EXPECT_EQ(dir.Read(name), page.second) << name;
  }
}

TEST_F(CompressionTest, SwitchedOffLeavesEveryFileUntouched) {
  BinaryRun run = RunQuorvaBinary({"fsref.htm", "help/toc.htm", "-c", "-cn"}, dir.Path());
  EXPECT_EQ(run.output.find("Compressing"), std::string::npos) << run.output;
  EXPECT_EQ(run.exit_code, 0);
  for (const auto& [name, page] : kPages) {
    EXPECT_EQ(dir.Read(name), page.first) << name;
  }
}

}  // namespace
}  // namespace quorva
