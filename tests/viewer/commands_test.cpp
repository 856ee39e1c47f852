#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "scenegraph/core/reading/read_errors.h"
#include "viewer/failure_reports.h"
#include "viewer/header_check.h"
#include "viewer/menu_table.h"
#include "viewer/viewer_settings.h"
#include "viewer_fixture.h"

namespace lvtest {
namespace {

TEST(HeaderCheck, FirstLineDecidesAndTellsTheUser) {
  struct Case {
    const char* line;
    int load;
    int count;
    const char* first;
  } cases[] = {
      {"#VRML V2.0 utf8\n", 1, 0, nullptr},
      {"#vrml v2.0 utf8", 1, 0, nullptr},
      {"#VRML V1.0 ascii\n", 0, 3, "Specified file is VRML V1.0"},
      {"#VRML V3.0 utf8\n", 1, 3, "Unknown version of VRML."},
      {"\x1f\x8b\x08", 0, 3, "Unknown Format."},
      {"", 0, 3, "Unknown Format."},
  };
  for (const Case& c : cases) {
    ViewerHeaderVerdict v = ViewerCheckHeaderLine(c.line);
    EXPECT_EQ(v.load, c.load) << c.line;
    EXPECT_EQ(v.line_count, c.count) << c.line;
    if (c.first) {
      EXPECT_STREQ(v.lines[0], c.first);
    }
  }
  ViewerHeaderVerdict v1 = ViewerCheckHeaderLine("#VRML V1.0 ascii");
  EXPECT_STREQ(v1.lines[1], "This program supports VRML V2.0 only.");
  EXPECT_STREQ(v1.lines[2], "Does not support VRML V1.0");
  ViewerHeaderVerdict unknown = ViewerCheckHeaderLine("garbage");
  EXPECT_STREQ(unknown.lines[2], "  its first line is not #VRML V2.0.");
}

TEST(HeaderCheck, ReadsOnlyTheFirstLineOfTheFile) {
  std::string v1 = WriteTextFile("hdr_v1.wrl", "#VRML V1.0 ascii\n#VRML V2.0 utf8\n");
  EXPECT_EQ(ViewerCheckHeaderFile(v1.c_str()).load, 0);
  std::string gz = WriteTextFile("hdr.wrl.gz", std::string("\x1f\x8b\x08\x00\x00", 5));
  EXPECT_STREQ(ViewerCheckHeaderFile(gz.c_str()).lines[0], "Unknown Format.");
  std::string longline = WriteTextFile("hdr_long.wrl", "#VRML V2.0 " + std::string(1000, 'x'));
  EXPECT_EQ(ViewerCheckHeaderFile(longline.c_str()).load, 1);
  ViewerHeaderVerdict missing =
      ViewerCheckHeaderFile((testing::TempDir() + "hdr_missing.wrl").c_str());
  EXPECT_EQ(missing.load, 0);
  EXPECT_EQ(missing.line_count, 1);
  EXPECT_STREQ(missing.lines[0], "Cannot open file.");
}

TEST(ViewerSettings, StartValuesAndRules) {
  ViewerResetSettings();
  ViewerSettings& s = ViewerGetSettings();
  EXPECT_STREQ(s.last_open_path, "*.wrl");
  EXPECT_STREQ(s.export_name[kViewerExportTif], "*.tif");
  EXPECT_STREQ(s.export_name[kViewerExportWrl], "*.wrl");
  EXPECT_EQ(s.width[kViewerExportBmp], 640);
  EXPECT_EQ(s.height[kViewerExportPs], 300);
  EXPECT_EQ(s.extra_buffer, nullptr);

  const int quality[][2] = {{0, 1}, {-5, 1}, {1, 1}, {7, 7}, {15, 15}, {99, 15}};
  for (const auto& q : quality) EXPECT_EQ(ViewerClampQuality(q[0]), q[1]) << q[0];

  std::size_t bytes = 7;
  EXPECT_EQ(ViewerExtraBufferBytes(64, &bytes), 1);
  EXPECT_EQ(bytes, 65536u);
  EXPECT_EQ(ViewerExtraBufferBytes(-1, &bytes), 0);
  EXPECT_EQ(ViewerExtraBufferBytes(3000000, &bytes), 0);  // would overflow an int

  std::string longname(256, 'n');
  EXPECT_EQ(ViewerCopyName(s.last_open_path, longname.c_str()), 0);
  EXPECT_STREQ(s.last_open_path, "*.wrl");
  EXPECT_EQ(ViewerCopyName(s.last_open_path, longname.c_str() + 1), 1);

  const ViewerExportChoice* ps = ViewerExportChoiceFor(kViewerExportPs);
  ASSERT_NE(ps, nullptr);
  EXPECT_STREQ(ps->title, "EXPORT PS");
  EXPECT_EQ(ViewerExportChoiceFor(kViewerExportSrf)->asks_resolution, 0);
  EXPECT_EQ(ViewerExportChoiceFor(0), nullptr);
  ViewerResetSettings();
}

TEST(FailureReports, SizesThatCannotBeWrittenAreRefusedWithTheRange) {
  struct Case {
    int kind, width, height, ok;
  } cases[] = {
      {kViewerExportTif, 640, 480, 1},     {kViewerExportTif, 1, 1, 1},
      {kViewerExportTif, 4096, 4096, 1},   {kViewerExportTif, 0, 0, 0},
      {kViewerExportTif, -5, 10, 0},       {kViewerExportTif, 4097, 10, 0},
      {kViewerExportBmp, 30000, 30000, 0}, {kViewerExportBmp, 10, 0, 0},
      {kViewerExportPs, 400, 300, 1},      {kViewerExportPs, 0, 300, 0},
      {kViewerExportPs, 14400, 14401, 0},  {kViewerExportSrf, 0, 0, 1},
      {kViewerExportWrl, -1, -1, 1},
  };
  for (const Case& c : cases) {
    char text[kViewerReportSize];
    EXPECT_EQ(ViewerCheckExportSize(c.kind, c.width, c.height, text), c.ok)
        << c.kind << " " << c.width << " x " << c.height;
    EXPECT_EQ(text[0] == '\0', c.ok == 1) << text;
  }
  char text[kViewerReportSize];
  ViewerCheckExportSize(kViewerExportBmp, -5, 10, text);
  EXPECT_STREQ(text, "-5 x 10 cannot be written.\nWidth and height must be from 1 to 4096.");
}

TEST(FailureReports, AnEpsPageThatItsWindowsShapeWouldMakeEmptyIsRefused) {
  // The page keeps the drawing area's aspect: 1 x 300 on a wide window is
  // 1 x 0, which could not be drawn.
  struct Case {
    int width, height, surface_width, surface_height, ok;
  } cases[] = {
      {1, 300, 640, 460, 0}, {2, 300, 640, 460, 1}, {400, 1, 640, 460, 1}, {300, 1, 460, 640, 0},
      {300, 2, 460, 640, 1}, {1, 1, 100, 100, 1},   {1, 1, 4000, 10, 0},   {400, 1, 4000, 10, 1},
      {399, 5, 4000, 10, 0}, {1, 300, 0, 0, 1},  // no drawing area known: the page decides later
  };
  for (const Case& c : cases) {
    char text[kViewerReportSize];
    EXPECT_EQ(ViewerCheckExportSizeFor(kViewerExportPs, c.width, c.height, c.surface_width,
                                       c.surface_height, text),
              c.ok)
        << c.width << " x " << c.height << " on " << c.surface_width << " x " << c.surface_height;
    // Images are drawn at the size typed, whatever the window.
    EXPECT_EQ(ViewerCheckExportSizeFor(kViewerExportTif, c.width, c.height, c.surface_width,
                                       c.surface_height, text),
              1);
  }
  char text[kViewerReportSize];
  ViewerCheckExportSizeFor(kViewerExportPs, 1, 300, 640, 460, text);
  EXPECT_STREQ(text,
               "1 x 300 cannot be written.\nThe page keeps the window's shape (640 x 460), "
               "which leaves it a height of 0.\nThe width must be at least 2.");
  ViewerCheckExportSizeFor(kViewerExportPs, 300, 1, 460, 640, text);
  EXPECT_STREQ(text,
               "300 x 1 cannot be written.\nThe page keeps the window's shape (460 x 640), "
               "which leaves it a width of 0.\nThe height must be at least 2.");
}

TEST(FailureReports, DeviceNamesAreRefusedAsExportTargets) {
  char text[kViewerReportSize];
  for (const char* name : {"NUL", "C:\\out\\con.tif", "com1.bmp", "LPT1.ps", "aux"}) {
    EXPECT_EQ(ViewerExportTargetText(name, text), 1) << name;
    EXPECT_NE(std::string(text).find(name), std::string::npos) << text;
  }
  for (const char* name : {"C:\\out\\scene.tif", "console.bmp", "com10.ps"}) {
    EXPECT_EQ(ViewerExportTargetText(name, text), 0) << name;
  }
}

TEST(FailureReports, OnlyAReadThatSkippedSomethingIsTold) {
  char text[kViewerReportSize];
  KsReadErrors clean;
  EXPECT_EQ(ViewerReadErrorText(clean, "a.wrl", text), 0);
  EXPECT_STREQ(text, "");
  KsReadErrors cut;
  cut.skipped = 2;
  cut.firstLine = 17;
  ASSERT_EQ(ViewerReadErrorText(cut, "c:\\w\\cut.wrl", text), 1);
  const std::string told = text;
  EXPECT_NE(told.find("c:\\w\\cut.wrl"), std::string::npos) << told;
  EXPECT_NE(told.find("Statements skipped: 2 (the first at line 17)."), std::string::npos) << told;

  ViewerExportFailureText("c:\\out\\view.tif", text);
  EXPECT_NE(std::string(text).find("could not be written:\nc:\\out\\view.tif\n"), std::string::npos)
      << text;
}

TEST(MenuTable, ItemsKeysAndCommandIds) {
  int count = 0;
  const ViewerMenuItem* items = ViewerMenuItems(&count);
  ASSERT_EQ(count, 31);
  EXPECT_STREQ(items[0].text, "Exit");
  EXPECT_EQ(items[0].mnemonic, 'X');
  EXPECT_STREQ(items[30].text, "About");
  EXPECT_EQ(ViewerCommandId(kCmdExit), 16384);
  EXPECT_EQ(ViewerCommandId(kCmdOpenFile), 16385);
  EXPECT_EQ(ViewerCommandId(kCmdAbout), 16388);  // the File menu's, the first
  EXPECT_EQ(ViewerCommandId(kCmdExportTif), 16384 + 22);
  EXPECT_EQ(ViewerCommandId(kCmdHelp), 16384 + 29);
  int popups = 0;
  for (const char* const* n = ViewerPopupNames(); *n; ++n) ++popups;
  EXPECT_EQ(popups, 5);
  for (int i = 0; i < count; ++i) {
    EXPECT_GE(items[i].popup, 1);
    EXPECT_LE(items[i].popup, 5);
  }

  int key_count = 0;
  const ViewerKey* keys = ViewerKeys(&key_count);
  ASSERT_EQ(key_count, 10);
  const int codes[] = {38, 36, 48, 35, 28, 24, 62, 61, 59, 60};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(keys[i].code, codes[i]);
  EXPECT_EQ(keys[0].command, kCmdPreviousCamera);
  EXPECT_EQ(keys[9].command, kCmdDown);
}

}  // namespace
}  // namespace lvtest
