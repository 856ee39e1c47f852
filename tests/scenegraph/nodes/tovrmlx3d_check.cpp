// Every VRML file the project ships or reads in its tests, written by our
// writer, is read by a second VRML 2.0 reader (tovrmlx3d, from Debian's
// view3dscene) without an error where the original had none, and by our own
// reader back to the same scene.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "scenegraph/core/node_scanner.h"
#include "scenegraph/core/out_stream.h"
#include "scenegraph/core/partition.h"
#include "scenegraph/core/router.h"
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

ReaderReport ReadWithTovrmlx3d(const fs::path& file) {
    ReaderReport report;
    const std::string name = file.string();
    if (name.find('\'') != std::string::npos) {
        report.fault = "unquotable path " + name;
        return report;
    }
    const std::string command =
        "timeout 60 tovrmlx3d --encoding classic '" + name + "' 2>&1 >/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        report.fault = "cannot run tovrmlx3d";
        return report;
    }
    std::string output;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
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
    for (const char* folder : {LV_SOURCE_DIR "/examples", LV_SOURCE_DIR "/tests",
                               LV_SOURCE_DIR "/../shared/corpus"}) {
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
        const fs::path written = folder / ("w" + std::to_string(i) + "_" + original.filename().string());
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

}  // namespace
