// What the user is told when a file does not load or loads with errors:
// the exact text of the box, through the real reader and viewer.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "scenegraph/core/reading/local_heap.h"
#include "viewer/failure_reports.h"
#include "viewer/header_check.h"
#include "viewer_fixture.h"

namespace {

using lvtest::ViewerTest;
using lvtest::WriteTextFile;

const char kBox[] = "#VRML V2.0 utf8\nShape { geometry Box { } }\n";

// The read-error box for a file, "" when there is none.
std::string BoxFor(const KsReadErrors& errors, const std::string& path) {
  char text[kViewerReportSize];
  return ViewerReadErrorText(errors, path.c_str(), text) == 1 ? std::string(text) : "";
}

TEST_F(ViewerTest, TheReadErrorBoxSaysWhatWasSkippedAndWhereTheRestWasLost) {
  const std::string head = "The file has errors, and some of it was not loaded:\n";
  struct Case {
    const char* name;
    const char* body;  // after the header line
    const char* told;  // after the box's first two lines; "" for no box
  } cases[] = {
      {"clean", "Group { }\nShape { geometry Box { } }\n", ""},
      // A bad word at the end of its line is on that line.
      {"word_ends_line", "Group { }\nFoo\n{ }\n", "\nStatements skipped: 1 (the first at line 3)."},
      {"two_errors", "Foo { }\nGroup { }\nUSE NONE\n",
       "\nStatements skipped: 3 (the first at line 2)."},
      // A stray '}' ends reading: the rest is not counted but told.
      {"stray_close", "Group { }\nGroup { }\n}\nShape { }\nShape { }\nShape { }\n",
       "\nThe rest of the file, from line 4 on, was not read: a bracket there does not match."},
      {"stray_after_error", "Foo { }\n]\nGroup { }\n",
       "\nStatements skipped: 1 (the first at line 2).\n"
       "The rest of the file, from line 3 on, was not read: a bracket there does not match."},
      {"cut_in_a_node", "Group { }\nTransform {\n children [\n Shape { }\n",
       "\nThe rest of the file, from line 3 on, was not read: a bracket there does not match."},
      {"def_at_end", "Group { }\nGroup { children [ DEF A ] }\nDEF B\n",
       "\nStatements skipped: 2 (the first at line 3)."},
  };
  for (const Case& c : cases) {
    const std::string path = WriteTextFile(std::string("box_") + c.name + ".wrl",
                                           std::string("#VRML V2.0 utf8\n") + c.body);
    testing::internal::CaptureStderr();
    ASSERT_EQ(viewer->LoadFile(path.c_str()), 1) << c.name;
    testing::internal::GetCapturedStderr();
    const std::string want = c.told[0] ? head + path + "\n" + c.told : "";
    EXPECT_EQ(BoxFor(viewer->GetScene()->GetReadErrors(), path), want) << c.name;
  }
}

TEST_F(ViewerTest, AFileThatDoesNotLoadSaysWhyAndKeepsTheScene) {
  ASSERT_EQ(Load("kept.wrl", kBox), 1);
  KsPartition* scene = viewer->GetScene();
  const std::string folder = testing::TempDir();
  // A shared temporary folder may hold anything: make sure this name is missing.
  const std::string missing = folder + "lv_load_failure_missing.wrl";
  std::remove(missing.c_str());
  struct Case {
    std::string path;
    const char* why;
  } cases[] = {
      {missing, "The file was not found."},
      {folder.substr(0, folder.size() - 1),
       "This is not a regular file (a folder, a device or a pipe)."},
      {"NUL", "This is not a regular file (a folder, a device or a pipe)."},
      {folder + "COM1", "This is not a regular file (a folder, a device or a pipe)."},
  };
  for (const Case& c : cases) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(viewer->LoadFile(c.path.c_str()), 0) << c.path;
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(viewer->GetScene(), scene) << c.path;
    char text[kViewerReportSize];
    ViewerLoadFailureText(viewer->GetLoadFailure(), c.path.c_str(), text);
    EXPECT_EQ(std::string(text), "LOAD FAILED\n" + c.path + "\n\n" + c.why);
  }
}

// Files whose first line is no VRML 2.0 header: the box the Open dialog
// shows for each (the three lines joined by '|'), and what a load from the
// command line or a drop says (the box of a failed open), the scene kept.
TEST_F(ViewerTest, EveryBadHeaderIsToldForWhatItIs) {
  ASSERT_EQ(Load("kept.wrl", kBox), 1);
  KsPartition* scene = viewer->GetScene();
  const std::string notVrml2 =
      "Unknown Format.|This is not a VRML 2.0 file:|  its first line is not #VRML V2.0.";
  std::string random;
  for (int i = 0; i < 4096; ++i) random += static_cast<char>((i * 7919 + 13) % 251);
  struct Case {
    const char* name;
    std::string bytes;
    std::string open_box;  // "" for none
    int loads;             // through the Open dialog
    const char* load_box;  // LoadFile's failure, "" when it loads
  } cases[] = {
      {"empty", "", "The file is empty.", 0, "The file is empty."},
      {"random", random, notVrml2, 0, "The file is not VRML 2.0."},
      {"gzip", std::string("\x1f\x8b\x08\x00\x00\x00", 6),
       "Unknown Format.|REMARK:|  This program cannot read compressed VRML.", 0,
       "The file is not VRML 2.0."},
      {"v1", "#VRML V1.0 ascii\nSeparator { }\n",
       "Specified file is VRML V1.0|This program supports VRML V2.0 only.|Does not support VRML "
       "V1.0",
       0, "The file is not VRML 2.0."},
      {"blank_first_line", "\n#VRML V2.0 utf8\nGroup { }\n", notVrml2, 0,
       "The file is not VRML 2.0."},
      {"no_header", "Shape { geometry Box { } }\n", notVrml2, 0, "The file is not VRML 2.0."},
      {"nul_first", std::string("\0#VRML V2.0 utf8\n", 17), notVrml2, 0,
       "The file is not VRML 2.0."},
      {"ctrl_z_first", "\x1a#VRML V2.0 utf8\n", notVrml2, 0, "The file is not VRML 2.0."},
      {"bom", "\xef\xbb\xbf#VRML V2.0 utf8\nGroup { }\n", notVrml2, 0, "The file is not VRML 2.0."},
      {"v3", "#VRML V3.0 utf8\nGroup { }\n",
       "Unknown version of VRML.|This program attempts to read it.|But it may fail.", 1, ""},
      {"lower_case", "#vrml v2.0 utf8\nGroup { }\n", "", 1, ""},
  };
  for (const Case& c : cases) {
    const std::string path = WriteTextFile(std::string("hdr_") + c.name + ".wrl", c.bytes);
    const ViewerHeaderVerdict v = ViewerCheckHeaderFile(path.c_str());
    std::string told;
    for (int i = 0; i < v.line_count; ++i) told += (i ? "|" : "") + std::string(v.lines[i]);
    EXPECT_EQ(told, c.open_box) << c.name;
    EXPECT_EQ(v.load, c.loads) << c.name;

    testing::internal::CaptureStderr();
    const int loaded = viewer->LoadFile(path.c_str());
    testing::internal::GetCapturedStderr();
    if (c.load_box[0] == '\0') {
      EXPECT_EQ(loaded, 1) << c.name;
      ASSERT_EQ(Load("kept.wrl", kBox), 1);
      scene = viewer->GetScene();
      continue;
    }
    EXPECT_EQ(loaded, 0) << c.name;
    EXPECT_EQ(viewer->GetScene(), scene) << c.name;
    char text[kViewerReportSize];
    ViewerLoadFailureText(viewer->GetLoadFailure(), path.c_str(), text);
    EXPECT_EQ(std::string(text), "LOAD FAILED\n" + path + "\n\n" + c.load_box) << c.name;
  }
}

TEST(LoadFailureText, EveryCauseHasItsOwnWords) {
  struct Case {
    KsReadFailure failure;
    int line;
    const char* why;
  } cases[] = {
      {kKsReadCannotOpen, 0,
       "The file cannot be read. Check that it may be read and is not in use."},
      {kKsReadNotVrml2, 0, "The file is not VRML 2.0."},
      {kKsReadEmpty, 0, "The file is empty."},
      {kKsReadTooLarge, 0, "The file is too large for the memory available."},
      {kKsReadTooLarge, 12,
       "The file is too large for the memory available (reading stopped at line 12)."},
  };
  for (const Case& c : cases) {
    KsReadErrors e;
    e.failure = c.failure;
    e.failureLine = c.line;
    char text[kViewerReportSize];
    ViewerLoadFailureText(e, "C:\\w\\a.wrl", text);
    EXPECT_EQ(std::string(text), std::string("LOAD FAILED\nC:\\w\\a.wrl\n\n") + c.why);
  }
}

TEST_F(ViewerTest, AFileTooLargeForMemoryFailsTheLoadAndTheViewerGoesOn) {
  ASSERT_EQ(Load("kept.wrl", kBox), 1);
  KsPartition* scene = viewer->GetScene();
  std::string big = "#VRML V2.0 utf8\nGroup { children [\n";
  for (int i = 0; i < 40000; ++i) big += "Shape { geometry Box { } }\n";
  big += "] }\n";
  const std::string path = WriteTextFile("big.wrl", big);
  // The word tree may have two blocks: a 32-bit process out of address space.
  KsSetLocalHeapLimit(2 * KsLocalHeap::kBlockSize);
  testing::internal::CaptureStderr();
  const int loaded = viewer->LoadFile(path.c_str());
  const std::string err = testing::internal::GetCapturedStderr();
  KsResetLocalHeapLimit();
  EXPECT_EQ(loaded, 0);
  EXPECT_EQ(err, "Local Heap Allocation Error!!\n");
  EXPECT_EQ(KsLocalHeapBytes(), 0u);  // what it read is freed
  EXPECT_EQ(viewer->GetScene(), scene);
  const KsReadErrors& failure = viewer->GetLoadFailure();
  EXPECT_EQ(failure.failure, kKsReadTooLarge);
  char text[kViewerReportSize];
  ViewerLoadFailureText(failure, path.c_str(), text);
  EXPECT_EQ(std::string(text), "LOAD FAILED\n" + path +
                                   "\n\nThe file is too large for the memory available "
                                   "(reading stopped at line " +
                                   std::to_string(failure.failureLine) + ").");
  EXPECT_GT(failure.failureLine, 3);
  // The viewer goes on: it draws its scene, and the file loads when memory allows.
  viewer->Render();
  EXPECT_EQ(viewer->LoadFile(path.c_str()), 1);
}

}  // namespace
