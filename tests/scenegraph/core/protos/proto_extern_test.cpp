#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "scenegraph/core/proto_test_util.h"

#ifdef _WIN32
#include <direct.h>
#define KS_TEST_GETCWD _getcwd
#else
#include <unistd.h>
#define KS_TEST_GETCWD getcwd
#endif

using kstest::AsCustom;
using kstest::AsProbe;
using kstest::Contains;
using kstest::Inner;
using kstest::ProtoTest;

namespace {

const std::string kData = LV_SOURCE_DIR "/tests/scenegraph/core/data/externproto/";

std::string Cwd() {
  char* d = KS_TEST_GETCWD(nullptr, 0);
  std::string s = d ? d : "";
  std::free(d);
  return s;
}

std::string ReadQuietly(KsPartition& p, const std::string& path, int* result) {
  testing::internal::CaptureStderr();
  *result = p.ReadFile(path.c_str());
  return testing::internal::GetCapturedStderr();
}

using ProtoExternTest = ProtoTest;

TEST_F(ProtoExternTest, ProtosComeFromFilesBesideTheOneBeingRead) {
  const std::string before = Cwd();
  {
    KsPartition p;
    int result = 1;
    std::string err = ReadQuietly(p, kData + "main.wrl", &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Cwd(), before);
    EXPECT_TRUE(Contains(err,
                         "KsPartition::RealizeExternProto()\n"
                         "  Specified PROTO not found.\n  Line number = 5\n"))
        << err;
    EXPECT_TRUE(Contains(err,
                         "KsPartition::RealizeExternProto()\n"
                         "  VRML file not found.\n  Line number = 6\n"))
        << err;
    // Marker, Nested (first URL of a list) and Relay were found.
    ASSERT_EQ(p.GetProtoCount(), 3);
    ASSERT_EQ(p.GetNodeCount(), 4);
    EXPECT_EQ(AsProbe(Inner(p.GetNode(0)))->x.Get(), 5);
    EXPECT_EQ(AsProbe(Inner(p.GetNode(3)))->x.Get(), 4);
    // Declarations nested in the file's PROTOs outlive its reading.
    KsNode* part = Inner(p.GetNode(1));
    ASSERT_NE(AsCustom(part), nullptr);
    EXPECT_EQ(AsProbe(Inner(part))->x.Get(), 8);
    KsNode* far = Inner(p.GetNode(2));
    ASSERT_NE(AsCustom(far), nullptr);
    EXPECT_EQ(AsProbe(Inner(far))->x.Get(), 77);
    KsNode* again = p.CreateNode("Relay");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(AsProbe(Inner(Inner(again)))->x.Get(), 77);
    again->Ref();
    again->Unref();
  }
  ExpectAllDestroyed();
}

TEST_F(ProtoExternTest, OnlyRegularFilesAreRead) {
  // A folder, and the names Windows keeps for devices in every folder,
  // which stat cannot describe there: reading CON or COM1 would wait for
  // ever. Refused by name in every build; under Windows the open handle
  // is checked too.
  std::vector<std::string> specials = {kData.substr(0, kData.size() - 1),
                                       "COM1",
                                       "NUL",
                                       "CON",
                                       "AUX",
                                       "CONIN$",
                                       "nul.wrl",
                                       kData + "com1.wrl",
                                       "\\\\.\\pipe\\ks_none"};
#ifndef _WIN32
  specials.push_back("/dev/zero");
#endif
  for (const std::string& path : specials) {
    SCOPED_TRACE(path);
    const std::string report = "KsPartition::ReadFile()\n  Not a regular file: " + path + "\n";
    KsPartition p;
    int result = 0;
    EXPECT_EQ(ReadQuietly(p, path, &result), report);
    EXPECT_EQ(result, 1);
    KsPartition q;
    std::string err = kstest::Realize(q, "EXTERNPROTO X [ ] \"" + path + "\" X { } Group { }");
    EXPECT_TRUE(
        Contains(err, report + "KsPartition::RealizeExternProto()\n  VRML file not found.\n"))
        << err;
    EXPECT_EQ(q.GetNodeCount(), 1);
  }
}

TEST_F(ProtoExternTest, FilesThatNameEachOtherAreReadOnce) {
  {
    KsPartition p;
    int result = 1;
    std::string err = ReadQuietly(p, kData + "cycle_a.wrl", &result);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(Contains(err, "  EXTERNPROTO files name each other.\n")) << err;
    ASSERT_EQ(p.GetNodeCount(), 1);
    EXPECT_EQ(AsProbe(Inner(p.GetNode(0)))->x.Get(), 2);
  }
  ExpectAllDestroyed();
}

TEST_F(ProtoExternTest, AFileNamingItselfManyTimesStaysBounded) {
  // Every statement names this file again: without the bounds each level
  // would read it four more times.
  const std::string path = "ks_proto_self.wrl";
  std::string text = "#VRML V2.0 utf8\n";
  for (int i = 0; i < 4; ++i) text += "EXTERNPROTO S [ ] \"./ks_proto_self.wrl\"\n";
  text += "EXTERNPROTO T [ ] \"" + Cwd() + "/ks_proto_self.wrl\"\n";
  text += "PROTO S [ ] { Group { } }\nS { }\n";
  ASSERT_TRUE(kstest::WriteFile(path, text));
  {
    KsPartition p;
    int result = 1;
    std::string err = ReadQuietly(p, path, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(p.GetNodeCount(), 1);
  }
  ExpectAllDestroyed();
  std::remove(path.c_str());
}

TEST_F(ProtoExternTest, LongChainsOfFilesAreCut) {
  // Each file takes its PROTO from the next one.
  const int files = KS_MAX_EXTERNPROTO_DEPTH + 4;
  for (int i = 0; i < files; ++i) {
    std::string text = "#VRML V2.0 utf8\n";
    if (i + 1 < files)
      text += "EXTERNPROTO C [ ] \"ks_proto_chain_" + std::to_string(i + 1) + ".wrl\"\n";
    else
      text += "PROTO C [ ] { Group { x 5 } }\n";
    text += "C { }\n";
    ASSERT_TRUE(kstest::WriteFile("ks_proto_chain_" + std::to_string(i) + ".wrl", text));
  }
  {
    KsPartition p;
    int result = 1;
    std::string err = ReadQuietly(p, "ks_proto_chain_0.wrl", &result);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(Contains(err, "  Too many EXTERNPROTO files.\n")) << err;
    EXPECT_EQ(p.GetNodeCount(), 0);
  }
  ExpectAllDestroyed();
  {
    // A chain within the bound is followed to its end.
    KsPartition p;
    int result = 1;
    const std::string start = "ks_proto_chain_" + std::to_string(files - 8) + ".wrl";
    ReadQuietly(p, start, &result);
    ASSERT_EQ(p.GetNodeCount(), 1);
    EXPECT_EQ(AsProbe(Inner(p.GetNode(0)))->x.Get(), 5);
  }
  for (int i = 0; i < files; ++i)
    std::remove(("ks_proto_chain_" + std::to_string(i) + ".wrl").c_str());
}

}  // namespace
