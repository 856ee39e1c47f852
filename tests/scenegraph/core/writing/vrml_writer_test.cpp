#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

#include "scenegraph/core/writing/out_stream.h"
#include "scenegraph/core/proto_test_util.h"
#include "scenegraph/core/reader_test_util.h"
#include "scenegraph/core/reading/word_convert.h"
#include "scenegraph/core/writing/write_context.h"

using kstest::Realize;
using kstest::TextStream;

namespace {

class WriterTest : public kstest::ProtoTest {
 protected:
  void SetUp() override {
    kstest::ProtoTest::SetUp();
    KsResetWriteContexts();
  }
  // Reads the text and writes the scene back, header included.
  static std::string RoundTrip(const std::string& text, KsPartition* scene) {
    Realize(*scene, text);
    TextStream out;
    EXPECT_EQ(scene->WriteHeader(&out), 0);
    return out.out;
  }
  static std::string RoundTrip(const std::string& text) {
    KsPartition scene;
    return RoundTrip(text, &scene);
  }
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST_F(WriterTest, EmptySceneWritesOnlyTheHeader) { EXPECT_EQ(RoundTrip(""), "#VRML V2.0 utf8\n"); }

TEST_F(WriterTest, NodeWithEveryMemberAndSharedNodeUnderGeneratedLabel) {
  // A is met twice, so it is relabelled; B, used once, keeps its name.
  std::string text = RoundTrip(
      "DEF A Group { x 3 child DEF B Shape { f 2 } }\n"
      "Transform { children [ USE A ] }\n");
  EXPECT_EQ(text,
            "#VRML V2.0 utf8\n"
            "DEF KESTRUNE00000 Probe\n{\nx 3 \nf 0.5000 \nchild DEF B Probe\n{\n"
            "x 0 \nf 2.0000 \nchild NULL \nchildren [\n]\n\n}\n\nchildren [\n]\n\n}\n"
            "Probe\n{\nx 0 \nf 0.5000 \nchild NULL \nchildren [\nUSE KESTRUNE00000\n\n]\n\n}\n");
}

TEST_F(WriterTest, LabelsFollowUseCountsNamesAndRoutes) {
  KsPartition scene;
  std::string text = RoundTrip(
      "DEF B Group { }\n"
      "DEF A Group { }\n"
      "ROUTE A.x TO B.x\n"
      "DEF A Shape { }\n"
      "ROUTE A.x TO B.x\n"
      "DEF D Group { }\n"
      "DEF D Group { }\n"
      "Group { }\n",
      &scene);
  // Two routed nodes named A both get generated labels; routed B keeps its
  // name; the two D, neither shared nor routed, are left alone.
  EXPECT_EQ(std::string(scene.GetNode(0)->GetDefineName()), "B");
  EXPECT_EQ(std::string(scene.GetNode(1)->GetDefineName()), "KESTRUNE00000");
  EXPECT_EQ(std::string(scene.GetNode(2)->GetDefineName()), "KESTRUNE00001");
  EXPECT_EQ(std::string(scene.GetNode(3)->GetDefineName()), "D");
  EXPECT_EQ(std::string(scene.GetNode(4)->GetDefineName()), "D");
  EXPECT_EQ(std::string(scene.GetNode(5)->GetDefineName()), "");
  EXPECT_TRUE(kstest::Contains(text,
                               "\nROUTE KESTRUNE00000.x_changed TO B.set_x\n"
                               "ROUTE KESTRUNE00001.x_changed TO B.set_x\n"))
      << text;
}

TEST_F(WriterTest, RoutedNodeWithoutNameGetsOneAndRouteNamesIt) {
  KsPartition scene;
  Realize(scene, "DEF S Group { } DEF T Group { }\n");
  KsNode* s = scene.GetNode(0);
  KsNode* t = scene.GetNode(1);
  s->SetDefineName("");
  ASSERT_EQ(scene.GetRouter()->AddRoute(s, "x", t, "poke"), 0);
  TextStream out;
  ASSERT_EQ(scene.Write(&out, 0), 0);
  EXPECT_EQ(std::string(s->GetDefineName()), "KESTRUNE00000");
  // poke is an event-in, not a member: written as it stands.
  EXPECT_TRUE(kstest::Contains(out.out, "ROUTE KESTRUNE00000.x_changed TO T.poke\n")) << out.out;
}

TEST_F(WriterTest, GeneratedLabelsSkipNamesInUse) {
  KsPartition scene;
  Realize(scene, "DEF KESTRUNE00000 Group { } DEF X Group { } Group { children USE X }\n");
  TextStream out;
  scene.Write(&out, 0);
  EXPECT_EQ(std::string(scene.GetNode(1)->GetDefineName()), "KESTRUNE00001");
}

// Interface and IS names are written as read. The instance shares the
// default node with the interface; the interface writes it without a label,
// which no copy of the body could carry.
TEST_F(WriterTest, ProtoDeclarationInterfaceBodyAndIsLines) {
  std::string text = RoundTrip(
      "PROTO P [ exposedField SFInt set_v 4 field SFNode n Group { }\n"
      "          eventIn SFInt poke eventOut SFInt out_changed ]\n"
      "{ Group { x IS set_v set_x IS poke x_changed IS out_changed } }\n"
      "P { v 7 }\n");
  EXPECT_EQ(text,
            "#VRML V2.0 utf8\n"
            "PROTO P\n[\n"
            "exposedField SFInt set_v 4 \n"
            "field SFNode n Probe\n{\nx 0 \nf 0.5000 \nchild NULL \nchildren [\n]\n\n}\n\n"
            "eventIn SFInt poke\n"
            "eventOut SFInt out_changed\n"
            "]\n{\n"
            "DEF KESTRUNE00000 Probe\n{\nx 0 \nf 0.5000 \nchild NULL \nchildren [\n]\n\n"
            "x IS set_v\nset_x IS poke\nx_changed IS out_changed\n}\n"
            "}\n"
            "P\n{\nset_v 7 \nn DEF KESTRUNE00000 Probe\n{\nx 0 \nf 0.5000 \nchild NULL \nchildren "
            "[\n]\n\n}\n\n}\n");
}

// A copy of a declaration (as an EXTERNPROTO keeps) writes the same IS lines
// as its source; a body node bound only by field IS is no shared node.
TEST_F(WriterTest, DeclarationCopyKeepsNamesAsReadAndBoundNodesUnlabelled) {
  KsPartition scene;
  Realize(scene,
          "PROTO P [ field SFInt set_v 4 eventIn SFInt poke ]\n"
          "{ Group { x IS set_v } Group { set_x IS poke } }\n");
  ASSERT_EQ(scene.GetProtoCount(), 1);
  KsPartition* declaration = scene.GetProto(0);
  KsPartition* copy = declaration->Duplicate();
  ASSERT_NE(copy, nullptr);
  TextStream source;
  TextStream copied;
  ASSERT_EQ(declaration->Write(&source, 0), 0);
  ASSERT_EQ(copy->Write(&copied, 0), 0);
  EXPECT_EQ(copied.out, source.out);
  EXPECT_EQ(source.out.rfind("Probe\n{\n", 0), 0u) << source.out;
  EXPECT_TRUE(kstest::Contains(source.out, "x IS set_v\n}\n")) << source.out;
  EXPECT_TRUE(kstest::Contains(source.out, "DEF KESTRUNE00000 Probe\n")) << source.out;
  EXPECT_TRUE(kstest::Contains(source.out, "set_x IS poke\n}\n")) << source.out;
  delete copy;
}

TEST_F(WriterTest, NamelessAndRepeatedProtosGetGeneratedNames) {
  KsPartition scene;
  std::string text = RoundTrip(
      "PROTO Q [ ] { Group { } }\n"
      "PROTO R [ ] { Group { } }\n"
      "PROTO R [ ] { Shape { } }\n"
      "R { }\n",
      &scene);
  ASSERT_EQ(scene.GetProtoCount(), 3);
  scene.GetProto(0)->SetProtoName("");
  TextStream out;
  ASSERT_EQ(scene.Write(&out, 0), 0);
  EXPECT_EQ(std::string(scene.GetProto(0)->GetProtoName()), "KESTRUNE00002");
  EXPECT_EQ(std::string(scene.GetProto(1)->GetProtoName()), "KESTRUNE00000");
  EXPECT_EQ(std::string(scene.GetProto(2)->GetProtoName()), "KESTRUNE00001");
  // The instance names its declaration's new label.
  EXPECT_TRUE(kstest::Contains(out.out, "}\nKESTRUNE00000\n{\n}\n")) << out.out;
}

TEST_F(WriterTest, LongAndPercentStringsAreWrittenWhole) {
  std::string big(20000, 'q');
  big += "%s%d%%";
  std::string text = RoundTrip("PROTO P [ field SFString s \"" + big + "\" ] { Group { } }\n");
  EXPECT_TRUE(kstest::Contains(text, "field SFString s \"" + big + "\" \n")) << text.size();
}

TEST_F(WriterTest, OneFormattedPrintBeyondTheBufferEndsTheProcess) {
  std::string big(KsOutStream::kBufferSize, 'x');
  EXPECT_EXIT(
      {
        TextStream out;
        out.Printf("%s", big.c_str());
      },
      testing::ExitedWithCode(1), "");
  TextStream out;
  std::string fits(KsOutStream::kBufferSize - 1, 'y');
  out.Printf("%s", fits.c_str());
  EXPECT_EQ(out.out, fits);
}

TEST_F(WriterTest, FileStreamOpensWritesAndCloses) {
  KsFileOutStream closed;
  EXPECT_EQ(closed.Write("x"), 1);
  EXPECT_EQ(closed.Close(), 1);
  EXPECT_STREQ(closed.GetClassName(), "KsFileOutStream");

  const std::string bad = "/nonexistent-folder/sub/out.wrl";
  testing::internal::CaptureStdout();
  EXPECT_EQ(closed.Open(bad.c_str()), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "KsFileOutStream::Open()\nCannot Open Output File : " + bad + "\n");

  const std::string path = testing::TempDir() + "ks_writer_out.wrl";
  {
    KsPartition scene;
    Realize(scene, "Group { x 5 }\n");
    KsFileOutStream file;
    ASSERT_EQ(file.Open(path.c_str()), 0);
    EXPECT_EQ(scene.WriteHeader(&file), 0);
    EXPECT_EQ(file.Close(), 0);
    EXPECT_EQ(file.Close(), 1);
  }
  std::string text = ReadAll(path);
  // Text mode: line ends may come back as CR LF.
  std::string unix;
  for (char c : text)
    if (c != '\r') unix += c;
  EXPECT_EQ(unix, "#VRML V2.0 utf8\nProbe\n{\nx 5 \nf 0.5000 \nchild NULL \nchildren [\n]\n\n}\n");

  // An attached handle stays open after Close.
  std::FILE* handle = std::fopen(path.c_str(), "w");
  ASSERT_NE(handle, nullptr);
  {
    KsFileOutStream file;
    file.Attach(handle);
    EXPECT_EQ(file.Write("abc"), 0);
    EXPECT_EQ(file.Close(), 0);
  }
  EXPECT_EQ(std::fputs("def", handle) >= 0, true);
  EXPECT_EQ(std::fclose(handle), 0);
  EXPECT_EQ(ReadAll(path), "abcdef");
  std::remove(path.c_str());
}

TEST_F(WriterTest, RouteToANodeOutsideTheTextIsLeftOut) {
  KsNode* kept = nullptr;
  {
    KsPartition scene;
    Realize(scene, "DEF S Group { } DEF T Group { } ROUTE S.x TO T.x ROUTE S.x TO S.x\n");
    kept = scene.GetNode(1);
    kept->Ref();
    ASSERT_EQ(scene.DeleteNode(kept), 0);
    TextStream out;
    ASSERT_EQ(scene.Write(&out, 0), 0);
    EXPECT_FALSE(kstest::Contains(out.out, "TO T.")) << out.out;
    EXPECT_TRUE(kstest::Contains(out.out, "ROUTE S.x_changed TO S.set_x\n")) << out.out;
  }
  kept->Unref();
}

TEST_F(WriterTest, NodeHoldingItselfIsWrittenAsUseOrRefusedWhenNameless) {
  KsPartition scene;
  Realize(scene, "Group { }\n");
  KsNode* loop = scene.GetNode(0);
  // Fields refuse a node that holds their owner; the check trusts a count
  // of 0 to mean unheld, so the cycle is made past it.
  loop->SetRefCount(0);
  ASSERT_EQ(loop->AddChild(loop), 0);
  loop->SetRefCount(2);
  {
    TextStream out;
    ASSERT_EQ(scene.Write(&out, 0), 0);
    EXPECT_TRUE(kstest::Contains(out.out, "children [\nUSE KESTRUNE00000\n")) << out.out;
  }
  // Without the count that names it, the walk stops at its depth bound.
  loop->SetDefineName("");
  loop->SetRefCount(1);
  {
    TextStream out;
    testing::internal::CaptureStderr();
    EXPECT_EQ(scene.Write(&out, 0), 1);
    EXPECT_TRUE(kstest::Contains(testing::internal::GetCapturedStderr(),
                                 "KsNode::Write()\n  Nesting too deep.\n"));
  }
  loop->SetRefCount(2);
  static_cast<kstest::PartitionProbe*>(loop)->children.Set(0, nullptr);
}

#if !defined(_WIN32)
TEST_F(WriterTest, FileThatCannotTakeTheTextFailsOnClose) {
  KsPartition scene;
  Realize(scene, "Group { }\n");
  KsFileOutStream file;
  if (file.Open("/dev/full") != 0) GTEST_SKIP() << "no /dev/full";
  scene.WriteHeader(&file);
  EXPECT_EQ(file.Close(), 1);
}
#endif

TEST_F(WriterTest, WriteContextsFindBindingsByHandle) {
  EXPECT_EQ(KsFindWriteBindings(0, nullptr), nullptr);
  int h = KsPushWriteContext(nullptr);
  EXPECT_EQ(h, 1);
  EXPECT_EQ(KsFindWriteBindings(h, nullptr), nullptr);
  KsPopWriteContext();
  EXPECT_EQ(KsFindWriteBindings(h, nullptr), nullptr);
}

// Values that "%.4f" keeps keep that text; every other finite value is
// written with the digits that read it back, and non-finite ones as values
// that other readers take.
TEST(FloatText, FourDecimalsWhereTheyKeepTheValueElseTheShortestExactText) {
  const float kMax = std::numeric_limits<float>::max();
  struct Case {
    float value;
    const char* text;
  } cases[] = {
      {1.0f, "1.0000"},
      {0.5f, "0.5000"},
      {0.1f, "0.1000"},
      {-2.25f, "-2.2500"},
      {1.5708f, "1.5708"},
      {-0.0f, "-0.0000"},
      {0.0f, "0.0000"},
      {16777216.0f, "16777216.0000"},
      {1e-5f, "1e-05"},
      {-1e-5f, "-1e-05"},
      {0.785398f, "0.785398"},
      {0.12345f, "0.12345"},
      {1.00001f, "1.00001"},
      {1.17549435e-38f, "1.1754944e-38"},
      {std::numeric_limits<float>::denorm_min(), "1e-45"},
      {kMax, "340282346638528859811704183484516925440.0000"},
      {std::numeric_limits<float>::infinity(), "340282346638528859811704183484516925440.0000"},
      {-std::numeric_limits<float>::infinity(), "-340282346638528859811704183484516925440.0000"},
      {std::numeric_limits<float>::quiet_NaN(), "0.0000"},
  };
  for (const Case& c : cases) EXPECT_STREQ(KsFloatText(c.value).text, c.text) << c.value;
}

TEST(FloatText, EveryFiniteFloatReadsBackExactly) {
  // A sweep over bit patterns of every exponent, and the neighbours of
  // values with four decimals, where "%.4f" is nearly but not quite enough.
  uint32_t state = 12345;
  int checked = 0;
  auto check = [&checked](float value) {
    if (!std::isfinite(value)) return;
    const KsFloatText written(value);
    const float read = KsParseFloat(written.text);
    ASSERT_EQ(std::memcmp(&read, &value, sizeof value), 0) << written.text;
    ASSERT_LT(std::strlen(written.text), sizeof written.text);
    ++checked;
  };
  for (int i = 0; i < 200000; ++i) {
    state = state * 1664525u + 1013904223u;
    float value;
    std::memcpy(&value, &state, sizeof value);
    check(value);
  }
  for (int i = -20000; i <= 20000; ++i) {
    const float four = (float)i / 10000.0f;
    check(four);
    check(std::nextafter(four, 10.0f));
    check(std::nextafter(four, -10.0f));
  }
  EXPECT_GT(checked, 300000);
}

}  // namespace
