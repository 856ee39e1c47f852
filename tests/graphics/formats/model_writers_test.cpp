#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "graphics/formats/model_capture.h"
#include "graphics/state3d/model_capture_state.h"
#include "graphics/guarded_surface.h"

namespace {

const PwColor kRed = {0, 255, 0};  // green, red, blue
const PwColor kGreen = {255, 0, 0};
const PwColor kBlue = {0, 0, 255};
const PwVec3 kFacing = {0, 0, -1};
const PwVec3 kTriangle[] = {{0, 0, 2}, {1, 0, 2}, {0, 1, 2}};

std::string ReadText(const std::string& path) {
  std::string text;
  std::FILE* f = std::fopen(path.c_str(), "r");
  if (f == nullptr) return "<missing>";
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  std::fclose(f);
  return text;
}

class ModelWritersTest : public ::testing::Test {
 protected:
  ModelWritersTest() : surface_(320, 240) { PwModelResetState(); }
  ~ModelWritersTest() override {
    PwModelResetState();
    std::remove(path_.c_str());
  }
  GuardedSurface surface_;
  std::string path_ = ::testing::TempDir() + "model_writers_test.out";
};

TEST_F(ModelWritersTest, SrfListsVerticesThenPolygons) {
  ASSERT_EQ(PwSrfBegin(path_.c_str()), 1);
  PwModelPolygonTwoSided(3, kTriangle, kGreen);
  PwModelLine({0, 0, 2}, {5, 5, 5}, kRed);  // not part of SRF
  PwVec3 ten[10];
  for (int i = 0; i < 10; ++i) ten[i] = {static_cast<float>(i), 10, 0};
  PwModelPolygonTwoSided(10, ten, kBlue);
  ASSERT_EQ(PwSrfEnd(), 1);
  EXPECT_EQ(PwModelIsActive(), 0);
  std::string expected =
      "SURF\nVER 0.000 0.000 2.000\nVER 1.000 0.000 2.000\nVER 0.000 1.000 2.000\n"
      "VER 5.000 5.000 5.000\n";
  for (int i = 0; i < 10; ++i) expected += "VER " + std::to_string(i) + ".000 10.000 0.000\n";
  expected +=
      "FAC\nCOL 31744\nNOR 0.333 0.333 2.000 0.000 0.000 0.000\nVER 0 1 2\nEND\n"
      "FAC\nCOL 31744\nNOR 0.333 0.333 2.000 0.000 0.000 0.000\nVER 2 1 0\nEND\n"
      "FAC\nCOL 31\nNOR 4.500 10.000 0.000 0.000 0.000 0.000\nVER 4 5 6 7 8 9 10 11\n"
      "VER 12 13\nEND\n"
      "FAC\nCOL 31\nNOR 4.500 10.000 0.000 0.000 0.000 0.000\nVER 13 12 11 10 9 8 7 6\n"
      "VER 5 4\nEND\nEND\n";
  EXPECT_EQ(ReadText(path_), expected);
}

TEST_F(ModelWritersTest, SrfSmoothVerticesAndNormals) {
  ASSERT_EQ(PwSrfBegin(path_.c_str()), 1);
  const PwVec3 normals[] = {kFacing, kFacing, kFacing};
  PwModelSmoothPolygon(3, kTriangle, normals, kRed);
  PwModelPolygon(3, kTriangle, {0, 0, -3}, kRed);
  ASSERT_EQ(PwSrfEnd(), 1);
  EXPECT_EQ(ReadText(path_),
            "SURF\nVER 0.000 0.000 2.000 R\nVER 1.000 0.000 2.000 R\nVER 0.000 1.000 2.000 R\n"
            "VER 0.000 0.000 2.000\nVER 1.000 0.000 2.000\nVER 0.000 1.000 2.000\n"
            "FAC\nCOL 992\nNOR 0.333 0.333 2.000 0.000 0.000 -1.000\nVER 0 1 2\nEND\n"
            "FAC\nCOL 992\nNOR 0.333 0.333 2.000 0.000 0.000 -1.000\nVER 3 4 5\nEND\nEND\n");
}

TEST_F(ModelWritersTest, SrfOfLinesAndPointsHasNoFaces) {
  ASSERT_EQ(PwSrfBegin(path_.c_str()), 1);
  PwModelLine({0, 0, 2}, {5, 5, 5}, kRed);
  PwModelPoint({1, 1, 1}, kRed);
  ASSERT_EQ(PwSrfEnd(), 1);
  EXPECT_EQ(ReadText(path_), "SURF\nVER 0.000 0.000 2.000\nVER 5.000 5.000 5.000\nEND\n");
}

TEST_F(ModelWritersTest, Vrml1SeparatorPerPolygon) {
  ASSERT_EQ(PwModelBegin(path_.c_str()), 1);
  PwModelPolygon(3, kTriangle, kFacing, kRed);
  PwModelLine({0, 0, 2}, {0, 0, 0}, kGreen);
  PwVec3 fourteen[14];
  for (int i = 0; i < 14; ++i) fourteen[i] = kTriangle[i % 3];
  PwModelPolygonTwoSided(14, fourteen, kBlue);
  ASSERT_EQ(PwVrml1End(), 1);
  const std::string blue_face =
      "Separator {\nShapeHints { vertexOrdering COUNTERCLOCKWISE shapeType SOLID }\n"
      "NormalBinding { value PER_FACE }\nMaterial { diffuseColor 0.00 0.00 1.00 }\n"
      "IndexedFaceSet {\ncoordIndex [\n";
  EXPECT_EQ(ReadText(path_),
            "#VRML V1.0 ascii\nSeparator {\nShapeHints {\n"
            "vertexOrdering UNKNOWN_ORDERING faceType UNKNOWN_FACE_TYPE\n}\n"
            "Coordinate3 {\npoint [\n0.000 0.000 -2.000,\n1.000 0.000 -2.000,\n"
            "0.000 1.000 -2.000,\n0.000 0.000 -0.000,\n] }\n"
            "Normal {\nvector [\n0.000 0.000 1.000,\n] }\n"
            "Separator {\nShapeHints { vertexOrdering COUNTERCLOCKWISE shapeType SOLID }\n"
            "NormalBinding { value PER_FACE }\nMaterial { diffuseColor 1.00 0.00 0.00 }\n"
            "IndexedFaceSet {\ncoordIndex [\n   0,\n   1,   2,-1\n]\n"
            "normalIndex [\n   0,\n-1\n]\n}\n}\n"
            "Material { diffuseColor 0.00 1.00 0.00 }\nIndexedLineSet {\ncoordIndex [\n"
            "   0,\n   3,-1\n]\n}\n" +
                blue_face +
                "   0,\n   1,   2,   0,   1,   2,   0,   1,   2,   0,   1,   2,   0,\n"
                "   1,-1\n]\n}\n}\n" +
                blue_face +
                "   1,\n   0,   2,   1,   0,   2,   1,   0,   2,   1,   0,   2,   1,\n"
                "   0,-1\n]\n}\n}\n"
                "}\n");
}

TEST_F(ModelWritersTest, Vrml1SmoothPolygonsBindNormalsPerVertex) {
  ASSERT_EQ(PwModelBegin(path_.c_str()), 1);
  const PwVec3 normals[] = {kFacing, {0, 0.6f, -0.8f}, {0.6f, 0, -0.8f}};
  PwModelSmoothPolygonN(3, kTriangle, normals, kFacing, kRed);
  ASSERT_EQ(PwVrml1End(), 1);
  const std::string text = ReadText(path_);
  EXPECT_NE(text.find("NormalBinding { value PER_VERTEX }\n"), std::string::npos);
  EXPECT_NE(text.find("normalIndex [\n   0,\n   1,   2,-1\n]\n"), std::string::npos);
  EXPECT_NE(text.find("0.000 0.600 0.800,\n"), std::string::npos);
}

TEST_F(ModelWritersTest, Vrml2SharesDefinitionsAndGroupsByColour) {
  ASSERT_EQ(PwVrml2Begin(path_.c_str()), 1);
  PwModelPolygon(3, kTriangle, kFacing, kRed);  // face 0
  const PwVec3 other[] = {{0, 0, 2}, {1, 0, 2}, {1, 1, 2}};
  PwModelPolygonTwoSided(3, other, kGreen);  // faces 1, 2
  PwModelLine({0, 0, 2}, {1, 1, 2}, kBlue);  // face 3
  const PwVec3 normals[] = {kFacing, kFacing, kFacing};
  PwModelSmoothPolygonN(3, kTriangle, normals, kFacing, kGreen);  // face 4
  PwModelPolygon(3, kTriangle, {0, 0, -2}, kRed);                 // face 5
  ASSERT_EQ(PwVrml2End(), 1);
  const std::string text = ReadText(path_);
  const std::string expected =
      "#VRML V2.0 utf8\nTransform\n{\n    children\n    [\n"
      "        Shape\n        {\n            geometry IndexedFaceSet\n            {\n"
      "                coord \n                DEF PW_COORD Coordinate\n                {\n"
      "                    point\n                    [\n"
      "                        0.000 0.000 -2.000,\n"
      "                        1.000 0.000 -2.000,\n"
      "                        0.000 1.000 -2.000,\n"
      "                        1.000 1.000 -2.000,\n"
      "                        0.000 0.000 -2.000,\n"
      "                        1.000 0.000 -2.000,\n"
      "                        0.000 1.000 -2.000\n"
      "                    ]\n                }\n"
      "                normal \n                DEF PW_NORMAL Normal\n                {\n"
      "                    vector\n                    [\n"
      "                        0.000 0.000 1.000,\n"
      "                        0.000 0.000 1.000\n"
      "                    ]\n                }\n"
      "                color \n                DEF PW_COLOR Color\n                {\n"
      "                    color\n                    [\n"
      "                        1.000 0.000 0.000,\n"
      "                        0.000 1.000 0.000,\n"
      "                        0.000 1.000 0.000,\n"
      "                        0.000 0.000 1.000,\n"
      "                        0.000 1.000 0.000,\n"
      "                        1.000 0.000 0.000\n"
      "                    ]\n                }\n"
      "            }\n        }\n"
      // Lit red polygons: faces 0 and 5.
      "        ,\n        Shape\n        {\n            appearance Appearance\n            {\n"
      "                material Material\n                {\n"
      "                    diffuseColor 1.000 0.000 0.000\n"
      "                }\n            }\n            geometry IndexedFaceSet\n            {\n"
      "                normalPerVertex TRUE\n                coord USE PW_COORD\n"
      "                color NULL\n                normal USE PW_NORMAL\n"
      "                creaseAngle 0.5\n\n"
      "                coordIndex\n                [\n"
      "                       0,   1,   2,-1,\n"
      "                       0,   1,   2,-1\n"
      "                ]\n                normalIndex\n                [\n"
      "                       0,   0,   0,-1,\n"
      "                       1,   1,   1,-1\n"
      "                ]\n            }\n        }\n"
      // Lit green polygon: face 4.
      "        ,\n        Shape\n        {\n            appearance Appearance\n            {\n"
      "                material Material\n                {\n"
      "                    diffuseColor 0.000 1.000 0.000\n"
      "                }\n            }\n            geometry IndexedFaceSet\n            {\n"
      "                normalPerVertex TRUE\n                coord USE PW_COORD\n"
      "                color NULL\n                normal USE PW_NORMAL\n"
      "                creaseAngle 0.5\n\n"
      "                coordIndex\n                [\n"
      "                       4,   5,   6,-1\n"
      "                ]\n                normalIndex\n                [\n"
      "                       0,   0,   0,-1\n"
      "                ]\n            }\n        }\n"
      // Polygons without normals, coloured per face.
      "        ,\n        Shape\n        {\n            geometry IndexedFaceSet\n            {\n"
      "                colorPerVertex FALSE\n                coord USE PW_COORD\n"
      "                normal NULL\n                color USE PW_COLOR\n\n"
      "                coordIndex\n                [\n"
      "                       0,   1,   3,-1,\n"
      "                       3,   1,   0,-1\n"
      "                ]\n                colorIndex\n                [\n"
      "\n                       1,   2\n"
      "                ]\n            }\n        }\n"
      // Lines.
      "        ,\n        Shape\n        {\n            geometry IndexedLineSet\n            {\n"
      "                colorPerVertex FALSE\n                coord USE PW_COORD\n"
      "                color USE PW_COLOR\n\n"
      "                coordIndex\n                [\n"
      "                       0,   3,-1\n"
      "                ]\n                colorIndex\n                [\n"
      "\n                       3\n"
      "                ]\n            }\n        }\n"
      "    ]\n}\n";
  EXPECT_EQ(text, expected);
}

TEST_F(ModelWritersTest, Vrml2ColourIndicesBreakEveryTwelveFaces) {
  ASSERT_EQ(PwVrml2Begin(path_.c_str()), 1);
  for (int i = 0; i < 14; ++i) PwModelLine({0, 0, 2}, {1, 1, 2}, kBlue);
  ASSERT_EQ(PwVrml2End(), 1);
  const std::string text = ReadText(path_);
  EXPECT_NE(text.find("colorIndex\n                [\n\n                       0,   1,   2,"),
            std::string::npos);
  EXPECT_NE(text.find("  11\n                    ,  12,  13\n                ]\n"),
            std::string::npos)
      << text;
}

TEST_F(ModelWritersTest, Vrml2WritesItsShapesEvenWhenEmpty) {
  ASSERT_EQ(PwVrml2Begin(path_.c_str()), 1);
  ASSERT_EQ(PwVrml2End(), 1);
  const std::string text = ReadText(path_);
  EXPECT_NE(text.find("                    point\n                    [\n                    ]\n"),
            std::string::npos);
  EXPECT_NE(text.find("geometry IndexedFaceSet\n            {\n                colorPerVertex"),
            std::string::npos);
  EXPECT_NE(text.find("geometry IndexedLineSet"), std::string::npos);
  EXPECT_EQ(text.find("appearance"), std::string::npos);
}

TEST_F(ModelWritersTest, EndsOnlyEndTheirOwnMode) {
  EXPECT_EQ(PwSrfEnd(), 0);
  EXPECT_EQ(PwVrml1End(), 0);
  EXPECT_EQ(PwVrml2End(), 0);
  ASSERT_EQ(PwSrfBegin(path_.c_str()), 1);
  PwModelLine({0, 0, 2}, {5, 5, 5}, kRed);
  EXPECT_EQ(PwVrml1End(), 0);
  EXPECT_EQ(PwVrml2End(), 0);
  EXPECT_EQ(PwModelIsActive(), 1);
  EXPECT_EQ(PwModelFaceCount(), 1);
  // A new begin starts over.
  ASSERT_EQ(PwVrml2Begin(path_.c_str()), 1);
  EXPECT_EQ(PwModelFaceCount(), 0);
  EXPECT_EQ(PwSrfEnd(), 0);
  EXPECT_EQ(PwVrml2End(), 1);
  EXPECT_EQ(PwVrml2End(), 0);
}

TEST_F(ModelWritersTest, FilesThatCannotBeWritten) {
  const std::string dir = ::testing::TempDir();
  ASSERT_LT(dir.size(), 200u);
  const std::string longest = dir + std::string(255 - dir.size(), 'm');
  struct Case {
    std::string path;
    int written;
  };
  const Case cases[] = {
      {dir + "no_such_dir/model.srf", 0},
      {longest + "m", 0},
      {"", 0},
      {longest, 1},
#ifndef _WIN32
      {"/dev/full", 0},
#endif
  };
  for (const Case& c : cases) {
    for (int mode = 0; mode < 3; ++mode) {
      if (mode == 0) PwModelBegin(c.path.c_str());
      if (mode == 1) PwSrfBegin(c.path.c_str());
      if (mode == 2) PwVrml2Begin(c.path.c_str());
      for (int i = 0; i < 50; ++i) {
        PwModelPolygonTwoSided(3, kTriangle, {0, i, 0});
      }
      const int written = mode == 0 ? PwVrml1End() : (mode == 1 ? PwSrfEnd() : PwVrml2End());
      EXPECT_EQ(written, c.written) << c.path.size() << " " << mode;
      // Over and freed either way.
      EXPECT_EQ(PwModelIsActive(), 0);
      EXPECT_EQ(PwModelFaceCount(), 0);
      EXPECT_EQ(PwModelVertexCount(), 0);
    }
  }
  EXPECT_NE(ReadText(longest), "<missing>");
  std::remove(longest.c_str());
}

}  // namespace
