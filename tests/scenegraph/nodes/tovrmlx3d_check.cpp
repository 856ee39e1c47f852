// Every VRML file the project ships or reads in its tests, written by our
// writer, is read by a second VRML 2.0 reader (tovrmlx3d, from Debian's
// view3dscene) without an error where the original had none, and by our own
// reader back to the same scene.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <regex>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/object/node_scanner.h"
#include "scenegraph/core/writing/out_stream.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/nodes/writer_test_util.h"

namespace fs = std::filesystem;

namespace {

class VisitCounter : public KsNodeScanner {
 public:
  int Visit(KsNode*) override {
    ++visits;
    return 0;
  }
  int visits = 0;
};

struct SceneCounts {
  int nodes = 0;
  int routes = 0;
  int protos = 0;
  bool operator==(const SceneCounts& o) const {
    return nodes == o.nodes && routes == o.routes && protos == o.protos;
  }
};

std::ostream& operator<<(std::ostream& out, const SceneCounts& c) {
  return out << c.nodes << " nodes, " << c.routes << " routes, " << c.protos << " PROTOs";
}

SceneCounts Count(KsPartition* scene) {
  VisitCounter counter;
  scene->Scan(&counter);
  return SceneCounts{counter.visits, scene->GetRouter()->GetRouteCount(), scene->GetProtoCount()};
}

// What the second reader says about a file: its "Error when reading" lines
// (or a failed run), with places left out since writing moves them, and how
// many routes it could not connect.
struct ReaderReport {
  std::string fault;
  int badRoutes = 0;
};

// The file it writes back (VRML 2.0 as it understood it) goes to converted.
ReaderReport ReadWithTovrmlx3d(const fs::path& file, const fs::path& converted = "/dev/null") {
  ReaderReport report;
  const std::string name = file.string();
  if (name.find('\'') != std::string::npos || converted.string().find('\'') != std::string::npos) {
    report.fault = "unquotable path " + name;
    return report;
  }
  const std::string command =
      "timeout 60 tovrmlx3d --encoding classic '" + name + "' 2>&1 >'" + converted.string() + "'";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    report.fault = "cannot run tovrmlx3d";
    return report;
  }
  std::string output;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    output.append(buffer.data(), n);
  const int status = pclose(pipe);
  if (status != 0) report.fault = "exit status " + std::to_string(status) + ":\n" + output;
  static const std::regex place("line [0-9]+ column [0-9]+");
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    if (line.find("Error when reading") != std::string::npos)
      report.fault += std::regex_replace(line, place, "") + "\n";
    if (line.find("X3D: Route ") != std::string::npos) ++report.badRoutes;
  }
  return report;
}

std::vector<fs::path> VrmlFiles() {
  std::vector<fs::path> files;
  for (const char* folder :
       {LV_SOURCE_DIR "/examples", LV_SOURCE_DIR "/tests", LV_SOURCE_DIR "/../shared/corpus"}) {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
      if (it->is_regular_file() && it->path().extension() == ".wrl") files.push_back(it->path());
  }
  return files;
}

bool Write(KsPartition* scene, const fs::path& path) {
  KsFileOutStream out;
  if (out.Open(path.string().c_str()) != 0) return false;
  const int written = scene->WriteHeader(&out);
  return out.Close() == 0 && written == 0;
}

typedef kstest::NodeLibraryWriterTest WrittenVrmlTest;

TEST_F(WrittenVrmlTest, SecondReaderAndOurReaderAcceptEveryWrittenFile) {
  ASSERT_EQ(std::system("command -v tovrmlx3d >/dev/null 2>&1"), 0)
      << "tovrmlx3d is missing: Debian's view3dscene package provides it (tools/install-deps.sh)";
  const fs::path folder = fs::path(testing::TempDir()) / "ks_written_vrml";
  std::error_code ec;
  fs::create_directories(folder, ec);

  int checked = 0;
  int faultyOriginals = 0;
  const std::vector<fs::path> files = VrmlFiles();
  for (size_t i = 0; i < files.size(); ++i) {
    const fs::path& original = files[i];
    SCOPED_TRACE(original.string());
    KsPartition scene;
    testing::internal::CaptureStderr();
    const int read = scene.ReadFile(original.string().c_str());
    const std::string messages = testing::internal::GetCapturedStderr();
    if (read != 0) continue;
    const fs::path written =
        folder / ("w" + std::to_string(i) + "_" + original.filename().string());
    ASSERT_TRUE(Write(&scene, written)) << written;
    ++checked;

    // The written file may not stop that reader earlier, or lose it
    // routes, where the original did not.
    const ReaderReport after = ReadWithTovrmlx3d(written);
    if (!after.fault.empty() || after.badRoutes > 0) {
      const ReaderReport before = ReadWithTovrmlx3d(original);
      EXPECT_EQ(after.fault, before.fault) << written;
      EXPECT_LE(after.badRoutes, before.badRoutes) << written;
      if (!before.fault.empty()) ++faultyOriginals;
    }

    KsPartition again;
    testing::internal::CaptureStderr();
    EXPECT_EQ(again.ReadFile(written.string().c_str()), 0);
    const std::string messagesAgain = testing::internal::GetCapturedStderr();
    // A file that reads cleanly is written as text that reads cleanly.
    if (messages.empty()) {
      EXPECT_EQ(messagesAgain, "") << written;
    }
    EXPECT_EQ(Count(&again), Count(&scene)) << written;
  }
  std::printf("Written VRML checked by tovrmlx3d: %d files (%d whose originals it refuses too)\n",
              checked, faultyOriginals);
  EXPECT_GE(checked, 30);
  fs::remove_all(folder, ec);
}

// Every float a scene holds, node by node in scan order and member by
// member, each as "Type.member value" with the value in hexadecimal, so
// that two scenes compare exactly.
class FloatCollector : public KsNodeScanner {
 public:
  int Visit(KsNode* node) override {
    std::unordered_set<const KsField*> seen;
    for (int i = 0; i < node->GetMemberCount(); ++i) {
      const KsMemberTable* m = node->GetMember(i);
      if (!m || !m->field || !seen.insert(m->field).second) continue;
      prefix_ = std::string(node->GetClassName()) + "." + (m->name ? m->name : "") + " ";
      Collect(m->field);
    }
    return 0;
  }
  std::vector<std::string> values;

 private:
  void Add(float v) {
    char text[64];
    std::snprintf(text, sizeof text, "%a", (double)v);
    values.push_back(prefix_ + text);
  }
  void Add(const KsVec2f& v) { Add(v.x), Add(v.y); }
  void Add(const KsVec3f& v) { Add(v.x), Add(v.y), Add(v.z); }
  void Add(const KsRotation& r) { Add(r.axis), Add(r.angle); }
  void Add(const KsCol& c) { Add(c.r), Add(c.g), Add(c.b); }
  template <typename F>
  void AddList(const KsField* field) {
    const F* list = static_cast<const F*>(field);
    for (int i = 0; i < list->GetCount(); ++i) Add(list->GetElements()[i]);
  }
  void Collect(const KsField* f) {
    const std::string type = f->GetClassName();
    if (type == "KsSFFloat") Add(static_cast<const KsSFFloat*>(f)->Get());
    if (type == "KsSFTime") Add(static_cast<const KsSFTime*>(f)->Get());
    if (type == "KsSFVec2f") Add(static_cast<const KsSFVec2f*>(f)->Get());
    if (type == "KsSFVec3f") Add(static_cast<const KsSFVec3f*>(f)->Get());
    if (type == "KsSFRotation") Add(static_cast<const KsSFRotation*>(f)->Get());
    if (type == "KsSFColor") Add(static_cast<const KsSFColor*>(f)->Get());
    if (type == "KsMFFloat" || type == "KsMFTime") AddList<KsMFFloat>(f);
    if (type == "KsMFVec2f") AddList<KsMFVec2f>(f);
    if (type == "KsMFVec3f") AddList<KsMFVec3f>(f);
    if (type == "KsMFRotation") AddList<KsMFRotation>(f);
    if (type == "KsMFColor") AddList<KsMFColor>(f);
  }
  std::string prefix_;
};

std::vector<std::string> Floats(KsPartition* scene) {
  FloatCollector collector;
  scene->Scan(&collector);
  return collector.values;
}

// The first float that differs, as "expected / got"; empty when all agree.
std::string FirstDifference(const std::vector<std::string>& expected,
                            const std::vector<std::string>& got) {
  for (size_t i = 0; i < expected.size() || i < got.size(); ++i) {
    const std::string a = i < expected.size() ? expected[i] : "(none)";
    const std::string b = i < got.size() ? got[i] : "(none)";
    if (a != b) return "#" + std::to_string(i) + ": " + a + " / " + b;
  }
  return std::string();
}

// Worlds that the written files of the project's own scenes do not cover:
// the older event names our reader accepts, and numbers at the ends of the
// float range and beyond it.
struct World {
  const char* name;
  const char* text;
  // Whether the file tovrmlx3d writes back holds the same nodes in the
  // same order, so that our reader can compare its numbers too.
  bool sameNodesAfterTovrmlx3d;
};

const World kWorlds[] = {
    {"tiny_and_huge_numbers",
     "DEF T Transform {\n"
     "  scale 0.00001 1e-45 1.17549435e-38\n"
     "  translation 1e39 -1e39 3.4028235e38\n"
     "  center 0.12345 -0.00001 123456.789\n"
     "  rotation 0 1 0 1e-7\n"
     "  children Shape {\n"
     "    appearance Appearance { material Material { shininess 0.000123 transparency 1e-30 } }\n"
     "    geometry IndexedFaceSet { coord Coordinate {\n"
     "        point [ 0.00001 0 0, 1e20 1e-20 -1e38, 1e40 0 -1e-40 ] }\n"
     "      coordIndex [ 0 1 2 ] } } }\n"
     "DEF S ScalarInterpolator { key [ 0 0.00001 1 ] keyValue [ 1e-10 1e30 -1e39 ] }\n"
     "DEF C TimeSensor { cycleInterval 0.00001 startTime 1e10 stopTime 1e-38 }\n"
     "ROUTE C.fraction_changed TO S.set_fraction\n",
     true},
    {"older_event_names",
     "Shape { geometry PointSet { color DEF C1 Color { rgb [ 1 0 0 ] }\n"
     "  coord Coordinate { point [ 0 0 0 ] } } }\n"
     "Shape { geometry PointSet { color DEF C2 Color { rgb [ 0 1 0.00001 ] }\n"
     "  coord Coordinate { point [ 1 0 0 ] } } }\n"
     "DEF I1 ScalarInterpolator { keys [ 0 1 ] values [ 0 0.000001 ] }\n"
     "DEF I2 ScalarInterpolator { keys [ 0 1 ] values [ 1 0 ] }\n"
     "DEF P1 PositionInterpolator { keys [ 0 1 ] values [ 0 0 0, 1e-6 1 1e30 ] }\n"
     "DEF P2 CoordinateInterpolator { }\n"
     "DEF K ColorInterpolator { keys [ 0 1 ] values [ 1 0 0, 0 0 1 ] }\n"
     "DEF M Material { }\n"
     "ROUTE C1.rgb_changed TO C2.set_rgb\n"
     "ROUTE C2.rgb TO C1.rgb\n"
     "ROUTE I1.keys_changed TO I2.set_keys\n"
     "ROUTE I1.values_changed TO I2.set_values\n"
     "ROUTE P1.values TO P2.values\n"
     "ROUTE I2.keys TO P1.set_keys\n"
     "ROUTE K.value_changed TO M.set_diffuseColor\n",
     true},
    {"older_names_in_is_lines",
     "PROTO P [ exposedField MFColor c [ 1 0 0 ] eventIn MFFloat setK eventOut MFFloat kOut\n"
     "  eventIn MFFloat setV eventOut MFFloat vOut exposedField MFFloat v [ 0 1e-7 ] ]\n"
     "{ Group { children [\n"
     "  Shape { geometry PointSet { color Color { rgb IS c }\n"
     "    coord Coordinate { point [ 0 0 0 ] } } }\n"
     "  ScalarInterpolator { set_keys IS setK keys_changed IS kOut values IS v }\n"
     "  ScalarInterpolator { set_values IS setV values_changed IS vOut } ] } }\n"
     "DEF A P { c [ 0 0.00001 1e-30 ] }\n"
     "DEF B P { v [ 1e38 -1e39 ] }\n"
     "ROUTE A.kOut TO B.setK\n"
     "ROUTE B.vOut TO A.setV\n",
     false},
};

// None of these worlds' written files is refused or loses a route, and
// every number reads back as the same float: by our reader from our file,
// and, where the nodes stay as they were, from the file tovrmlx3d makes of
// it.
TEST_F(WrittenVrmlTest, OlderEventNamesAndNumbersAtTheEndsOfTheFloatRange) {
  ASSERT_EQ(std::system("command -v tovrmlx3d >/dev/null 2>&1"), 0)
      << "tovrmlx3d is missing: Debian's view3dscene package provides it (tools/install-deps.sh)";
  const fs::path folder = fs::path(testing::TempDir()) / "ks_written_vrml_worlds";
  std::error_code ec;
  fs::create_directories(folder, ec);
  for (const World& world : kWorlds) {
    SCOPED_TRACE(world.name);
    const fs::path original = folder / (std::string(world.name) + ".wrl");
    std::ofstream(original) << "#VRML V2.0 utf8\n" << world.text;
    KsPartition scene;
    testing::internal::CaptureStderr();
    ASSERT_EQ(scene.ReadFile(original.string().c_str()), 0);
    testing::internal::GetCapturedStderr();
    const std::vector<std::string> floats = Floats(&scene);
    ASSERT_FALSE(floats.empty());

    const fs::path written = folder / (std::string(world.name) + "_written.wrl");
    ASSERT_TRUE(Write(&scene, written));
    const fs::path converted = folder / (std::string(world.name) + "_tovrmlx3d.wrl");
    const ReaderReport report = ReadWithTovrmlx3d(written, converted);
    EXPECT_EQ(report.fault, "") << written;
    EXPECT_EQ(report.badRoutes, 0) << written;

    KsPartition again;
    testing::internal::CaptureStderr();
    EXPECT_EQ(again.ReadFile(written.string().c_str()), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << written;
    EXPECT_EQ(Count(&again), Count(&scene));
    EXPECT_EQ(FirstDifference(floats, Floats(&again)), "") << written;

    if (!world.sameNodesAfterTovrmlx3d) continue;
    KsPartition converts;
    testing::internal::CaptureStderr();
    EXPECT_EQ(converts.ReadFile(converted.string().c_str()), 0);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(Count(&converts), Count(&scene)) << converted;
    EXPECT_EQ(FirstDifference(floats, Floats(&converts)), "") << converted;
  }
  fs::remove_all(folder, ec);
}

// Values that events computed out of range are written as numbers that
// both readers take: infinities as the largest float of their sign, NaN as 0.
TEST_F(WrittenVrmlTest, NonFiniteValuesAreWrittenAsNumbers) {
  const fs::path folder = fs::path(testing::TempDir()) / "ks_written_vrml_nonfinite";
  std::error_code ec;
  fs::create_directories(folder, ec);
  const fs::path original = folder / "scene.wrl";
  std::ofstream(original) << "#VRML V2.0 utf8\nTransform { }\nDEF S ScalarInterpolator { }\n";
  KsPartition scene;
  ASSERT_EQ(scene.ReadFile(original.string().c_str()), 0);
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  auto* scale = static_cast<KsSFVec3f*>(scene.GetNode(0)->LookUpMember("scale"));
  auto* values = static_cast<KsMFFloat*>(scene.GetNode(1)->LookUpMember("keyValue"));
  ASSERT_NE(scale, nullptr);
  ASSERT_NE(values, nullptr);
  scale->Set(inf, -inf, nan);
  const float list[] = {nan, -inf, 1e-30f};
  values->Set(3, list);

  const fs::path written = folder / "written.wrl";
  ASSERT_TRUE(Write(&scene, written));
  const ReaderReport report = ReadWithTovrmlx3d(written);
  EXPECT_EQ(report.fault, "") << written;
  KsPartition again;
  testing::internal::CaptureStderr();
  EXPECT_EQ(again.ReadFile(written.string().c_str()), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  const float kMax = std::numeric_limits<float>::max();
  const KsVec3f read = static_cast<KsSFVec3f*>(again.GetNode(0)->LookUpMember("scale"))->Get();
  EXPECT_EQ(read.x, kMax);
  EXPECT_EQ(read.y, -kMax);
  EXPECT_EQ(read.z, 0.0f);
  const KsMFFloat* readValues = static_cast<KsMFFloat*>(again.GetNode(1)->LookUpMember("keyValue"));
  ASSERT_EQ(readValues->GetCount(), 3);
  EXPECT_EQ(readValues->GetElements()[0], 0.0f);
  EXPECT_EQ(readValues->GetElements()[1], -kMax);
  EXPECT_EQ(readValues->GetElements()[2], 1e-30f);
  fs::remove_all(folder, ec);
}

}  // namespace

namespace {

// Files our reader takes whatever their depth or their images' pixels: the
// second reader takes what we write of them too, and ours reads it back.
TEST_F(WrittenVrmlTest, DeepNestingAndRefusedImagesAreWrittenAsValidFiles) {
  ASSERT_EQ(std::system("command -v tovrmlx3d >/dev/null 2>&1"), 0)
      << "tovrmlx3d is missing: Debian's view3dscene package provides it (tools/install-deps.sh)";
  std::string deep;
  for (int i = 0; i < 500; ++i) deep += "Transform { translation 0 0.5 0 children\n";
  deep += "Shape { geometry Box { } }";
  for (int i = 0; i < 500; ++i) deep += " }";
  const std::string images =
      "Shape { appearance Appearance { texture PixelTexture { image 2 1 1 1e3 2 } } "
      "geometry Box { } }\n"
      "Shape { appearance Appearance { texture PixelTexture { image 3 1 2 0xFFFF 0x10000 -1 } } "
      "geometry Box { } }\n"
      "Shape { appearance Appearance { texture PixelTexture { image 65536 65536 4 } } "
      "geometry Box { } }\n"
      "Shape { appearance Appearance { texture PixelTexture { image 2 1 4 -1 0xFF0000FF } } "
      "geometry Box { } }\n";
  const fs::path folder = fs::path(testing::TempDir()) / "ks_written_vrml_deep";
  std::error_code ec;
  fs::create_directories(folder, ec);
  for (const std::string& text : {deep, images}) {
    const fs::path original = folder / "scene.wrl";
    std::ofstream(original) << "#VRML V2.0 utf8\n" << text << "\n";
    KsPartition scene;
    testing::internal::CaptureStderr();
    ASSERT_EQ(scene.ReadFile(original.string().c_str()), 0);
    testing::internal::GetCapturedStderr();
    const fs::path written = folder / "written.wrl";
    ASSERT_TRUE(Write(&scene, written));
    EXPECT_EQ(ReadWithTovrmlx3d(written).fault, "") << text.substr(0, 40);
    KsPartition again;
    testing::internal::CaptureStderr();
    EXPECT_EQ(again.ReadFile(written.string().c_str()), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << text.substr(0, 40);
    EXPECT_EQ(Count(&again), Count(&scene)) << text.substr(0, 40);
    const fs::path rewritten = folder / "rewritten.wrl";
    ASSERT_TRUE(Write(&again, rewritten));
    std::ifstream a(written), b(rewritten);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(a), {}),
              std::string(std::istreambuf_iterator<char>(b), {}));
  }
  fs::remove_all(folder, ec);
}

}  // namespace
