#include "platform/dry_run_file_system.h"

#include <gtest/gtest.h>

#include "fakes/memory_file_system.h"

namespace quorva {
namespace {

using Names = std::vector<std::string_view>;

// What a dry run writes its later reads and listings see, and the disk never does; a removal
// hides a file whether the disk or the run wrote it, and names compare as the disk's do.
TEST(DryRunFileSystem, WritesStayInMemoryAndRemovalsHideWhatTheRunSees) {
  MemoryFileSystem disk;
  disk.AddFile("help/a.htm", "old");
  DryRunFileSystem dry(disk);
  EXPECT_TRUE(dry.WriteBinary("help/new.htm", "new", LinkReach::kOwnFolder).Written());
  EXPECT_TRUE(dry.ReplaceBinary("help/a.htm", "changed", LinkReach::kOwnFolder).Written());
  EXPECT_EQ(dry.ReadBinary("help/new.htm"), "new");
  EXPECT_EQ(dry.ReadBinary("help/a.htm"), "changed");
  // Each write gives a new stamp, so a page read before it (its title, say) is read again.
  const std::optional<FileStamp> first = dry.Stamp("help/a.htm");
  EXPECT_TRUE(dry.ReplaceBinary("help/a.htm", "CHANGED", LinkReach::kOwnFolder).Written());
  ASSERT_TRUE(first.has_value());
  EXPECT_FALSE(*dry.Stamp("help/a.htm") == *first);
  EXPECT_TRUE(dry.ReplaceBinary("help/a.htm", "changed", LinkReach::kOwnFolder).Written());
  EXPECT_EQ(dry.ListFolder("help", "*"), (FolderNames{"a.htm", "new.htm"}));
  EXPECT_EQ(disk.Content("help/a.htm"), "old");
  EXPECT_FALSE(disk.HasFile("help/new.htm"));
  const DryRunFileSystem::Plan plan = dry.PlannedChanges();
  EXPECT_EQ(plan.changed, Names{"help/a.htm"});
  EXPECT_EQ(plan.created, Names{"help/new.htm"});

  EXPECT_TRUE(dry.RemoveFile("help/new.htm"));
  EXPECT_TRUE(dry.RemoveFile("help/a.htm"));
  EXPECT_FALSE(dry.RemoveFile("help/a.htm"));
  EXPECT_FALSE(dry.IsReadable("help/new.htm"));
  EXPECT_FALSE(dry.ReadBinary("help/a.htm").has_value());
  EXPECT_TRUE(dry.ListFolder("help", "*").empty());
  EXPECT_TRUE(dry.PlannedChanges().created.empty());
  EXPECT_EQ(disk.Content("help/a.htm"), "old");

  EXPECT_FALSE(dry.IgnoresLetterCase());
  disk.ignores_letter_case = true;
  EXPECT_TRUE(dry.IgnoresLetterCase());
}

// Bytes the run lets go of are read by no one, while the file keeps its stamp, its length, its
// place in listings and in the plan, which was decided at the write: a file written with the
// bytes it had is no change. A later write is read again.
TEST(DryRunFileSystem, AFileWhoseBytesTheRunLetsGoOfKeepsAllButThem) {
  MemoryFileSystem disk;
  disk.AddFile("help/a.htm", "old");
  disk.AddFile("help/same.htm", "same");
  DryRunFileSystem dry(disk);
  EXPECT_TRUE(dry.ReplaceBinary("help/a.htm", "changed", LinkReach::kOwnFolder).Written());
  EXPECT_TRUE(dry.WriteBinary("help/new.htm", "new", LinkReach::kOwnFolder).Written());
  EXPECT_TRUE(dry.ReplaceBinary("help/same.htm", "same", LinkReach::kOwnFolder).Written());
  const std::optional<FileStamp> stamp = dry.Stamp("help/a.htm");
  ASSERT_TRUE(stamp.has_value());
  for (const char* path : {"help/a.htm", "help/new.htm", "help/same.htm"}) {
    EXPECT_TRUE(dry.ForgetWrittenBytes(path)) << path;
    EXPECT_FALSE(dry.ReadBinary(path).has_value()) << path;
    EXPECT_EQ(dry.OpenForReading(path), nullptr) << path;
    EXPECT_TRUE(dry.IsReadable(path)) << path;
  }
  EXPECT_FALSE(dry.ForgetWrittenBytes("help/a.htm"));
  EXPECT_FALSE(dry.ForgetWrittenBytes("help/unwritten.htm"));
  EXPECT_EQ(dry.FileLength("help/a.htm"), 7u);
  EXPECT_TRUE(*dry.Stamp("help/a.htm") == *stamp);
  EXPECT_EQ(dry.ListFolder("help", "*"), (FolderNames{"a.htm", "new.htm", "same.htm"}));
  const DryRunFileSystem::Plan plan = dry.PlannedChanges();
  EXPECT_EQ(plan.changed, Names{"help/a.htm"});
  EXPECT_EQ(plan.created, Names{"help/new.htm"});

  EXPECT_TRUE(dry.ReplaceBinary("help/a.htm", "again", LinkReach::kOwnFolder).Written());
  EXPECT_EQ(dry.ReadBinary("help/a.htm"), "again");
  EXPECT_TRUE(dry.ReplaceBinary("help/same.htm", "other", LinkReach::kOwnFolder).Written());
  EXPECT_EQ(dry.PlannedChanges().changed, (Names{"help/a.htm", "help/same.htm"}));

  // Told before the write, the file keeps none of the bytes, and the forgetting that follows
  // still says they went, once; the telling holds for that one write only.
  dry.ForgetBytesOfNextWrite("help/told.htm");
  EXPECT_TRUE(dry.WriteBinary("help/told.htm", "told", LinkReach::kOwnFolder).Written());
  EXPECT_FALSE(dry.ReadBinary("help/told.htm").has_value());
  EXPECT_EQ(dry.FileLength("help/told.htm"), 4u);
  EXPECT_TRUE(dry.ForgetWrittenBytes("help/told.htm"));
  EXPECT_FALSE(dry.ForgetWrittenBytes("help/told.htm"));
  dry.ForgetBytesOfNextWrite("help/told.htm");
  EXPECT_TRUE(dry.WriteBinary("help/other.htm", "other", LinkReach::kOwnFolder).Written());
  EXPECT_TRUE(dry.WriteBinary("help/told.htm", "kept", LinkReach::kOwnFolder).Written());
  EXPECT_EQ(dry.ReadBinary("help/told.htm"), "kept");
  EXPECT_EQ(dry.ReadBinary("help/other.htm"), "other");
}

}  // namespace
}  // namespace quorva
