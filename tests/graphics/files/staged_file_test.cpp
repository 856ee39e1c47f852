// Files that replace their target only when written whole.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstdio>
#include <cstring>
#include <string>

#include "graphics/files/staged_file.h"

namespace {

std::string Slurp(const std::string& path) {
  std::string out;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return "(none)";
  char buf[256];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  std::fclose(f);
  return out;
}

void Put(const std::string& path, const char* text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs(text, f);
  std::fclose(f);
}

TEST(StagedFile, TheTargetChangesOnlyWhenTheWholeFileWasWritten) {
  const std::string target = testing::TempDir() + "pw_staged_target.txt";
  Put(target, "old");
  struct Case {
    int ok;
    const char* after;
  } cases[] = {{0, "old"}, {1, "new"}};
  for (const Case& c : cases) {
    PwStagedFile f;
    std::FILE* file = PwStagedOpen(&f, target.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    // Written beside the target, under another name.
    EXPECT_EQ(std::string(f.temp).compare(0, testing::TempDir().size(), testing::TempDir()), 0);
    EXPECT_STRNE(f.temp, target.c_str());
    std::fputs("new", file);
    EXPECT_EQ(Slurp(target), "old");
    const std::string temp = f.temp;
    EXPECT_EQ(PwStagedClose(&f, c.ok), c.ok);
    EXPECT_EQ(Slurp(target), c.after);
    EXPECT_EQ(Slurp(temp), "(none)") << "temporary left behind";
  }
  std::remove(target.c_str());
}

TEST(StagedFile, ATakenTemporaryNameIsPassedByAndAMissingFolderMakesNothing) {
  const std::string target = testing::TempDir() + "pw_staged_new.txt";
  std::remove(target.c_str());
  const std::string taken = testing::TempDir() + "~lv0000.tmp";
  Put(taken, "someone else's");
  PwStagedFile f;
  ASSERT_NE(PwStagedOpen(&f, target.c_str(), "w"), nullptr);
  EXPECT_STRNE(f.temp, taken.c_str());
  EXPECT_EQ(PwStagedClose(&f, 1), 1);
  EXPECT_EQ(Slurp(target), "");
  EXPECT_EQ(Slurp(taken), "someone else's");
  EXPECT_EQ(PwStagedClose(&f, 1), 0);  // nothing open
  std::remove(taken.c_str());
  std::remove(target.c_str());

  const std::string missing = testing::TempDir() + "pw_no_such_folder/x.txt";
  EXPECT_EQ(PwStagedOpen(&f, missing.c_str(), "w"), nullptr);
  EXPECT_EQ(PwStagedOpen(&f, "", "w"), nullptr);
  EXPECT_EQ(PwStagedOpen(&f, std::string(300, 'x').c_str(), "w"), nullptr);
}

// Puts a file just written the given number of seconds back, from the time
// the file system gave it.
void Age(const std::string& path, long seconds) {
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  struct utimbuf times;
  times.actime = times.modtime = st.st_mtime - seconds;
  ASSERT_EQ(utime(path.c_str(), &times), 0);
}

// A temporary that a crashed export left an hour or more ago is removed and
// its name taken again; a recent one may be another program's and stays.
TEST(StagedFile, ALeftoverTemporaryIsTakenBackAndAFreshOneLeftAlone) {
  const std::string dir = testing::TempDir();
  const std::string target = dir + "pw_staged_leftover.txt";
  std::remove(target.c_str());
  const std::string fresh = dir + "~lv0000.tmp", stale = dir + "~lv0001.tmp";
  Put(fresh, "being written");
  Age(fresh, 60);
  Put(stale, "crashed");
  Age(stale, 2 * 3600);
  PwStagedFile f;
  std::FILE* file = PwStagedOpen(&f, target.c_str(), "w");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(std::string(f.temp), stale);
  std::fputs("new", file);
  EXPECT_EQ(PwStagedClose(&f, 1), 1);
  EXPECT_EQ(Slurp(target), "new");
  EXPECT_EQ(Slurp(fresh), "being written");
  EXPECT_EQ(Slurp(stale), "(none)");
  std::remove(fresh.c_str());
  std::remove(target.c_str());
}

#ifndef _WIN32
// The temporary is made anew, never opened through a name that exists:
// here a link to elsewhere that a check of the name alone takes for free.
TEST(StagedFile, TheTemporaryIsCreatedNeverOpenedThroughAnExistingName) {
  const std::string dir = testing::TempDir();
  const std::string target = dir + "pw_staged_excl.txt";
  const std::string elsewhere = dir + "pw_staged_elsewhere.txt";
  const std::string link = dir + "~lv0000.tmp";
  std::remove(target.c_str());
  std::remove(elsewhere.c_str());
  std::remove(link.c_str());
  ASSERT_EQ(symlink(elsewhere.c_str(), link.c_str()), 0);
  PwStagedFile f;
  std::FILE* file = PwStagedOpen(&f, target.c_str(), "w");
  ASSERT_NE(file, nullptr);
  EXPECT_STRNE(f.temp, link.c_str());
  std::fputs("new", file);
  EXPECT_EQ(PwStagedClose(&f, 1), 1);
  EXPECT_EQ(Slurp(target), "new");
  EXPECT_EQ(Slurp(elsewhere), "(none)") << "written through the link";
  std::remove(link.c_str());
  std::remove(elsewhere.c_str());
  std::remove(target.c_str());
}
#endif

}  // namespace
