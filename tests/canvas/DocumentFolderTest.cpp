#include <fstream>

#include <unistd.h>

#include "CanvasTestSupport.h"
#include "canvas/DocumentFolder.h"
#include "platform/foundation/FileIO.h"

namespace zorbel::testing {
namespace {

namespace fs = std::filesystem;

const std::string kGarbage = "\x89PNG\r\n\x1a\n but then nothing sensible";

std::string contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A folder whose refused files cannot be moved out of the way.
class StuckFolder : public DocumentFolder {
protected:
    platform::Result<fs::path> moveAside(const fs::path&) override {
        return platform::Result<fs::path>::failure("Operation not permitted");
    }
};

using RefusedFilesTest = CanvasTest;

// A painting the canvas cannot read is kept beside the new one, whatever is
// written at its name later.
TEST_F(RefusedFilesTest, ADamagedDocumentIsKeptAndNotWrittenOver) {
    fs::create_directories(documents());
    for (auto name : {"zorbel.png", "zorbelorgimage.png", "tempundo.png"})
        std::ofstream(documents() / name, std::ios::binary) << kGarbage;
    auto view = makeCanvas();
    EXPECT_TRUE(view->writeImageOut("zorbel.png"));
    EXPECT_TRUE(view->writeOrgImageOut("zorbelorgimage.png"));
    EXPECT_TRUE(view->writeUndoImageOut("tempundo.png"));
    for (std::string name : {"zorbel.png", "zorbelorgimage.png", "tempundo.png"}) {
        EXPECT_EQ(contentOf(documents() / (name + ".damaged")), kGarbage) << name;
        EXPECT_TRUE(platform::Image::load(documents() / name)) << name;
        EXPECT_TRUE(platform::logContains(name + " is damaged and was not used")) << name;
        EXPECT_TRUE(
            platform::logContains("kept it as " + (documents() / name).string() + ".damaged"))
            << name;
    }

    // The next damaged painting does not replace the first one kept.
    std::ofstream(documents() / "zorbel.png", std::ios::binary) << "second";
    auto again = makeCanvas();
    EXPECT_EQ(contentOf(documents() / "zorbel.png.damaged"), kGarbage);
    EXPECT_EQ(contentOf(documents() / "zorbel.png.damaged-2"), "second");
}

TEST_F(RefusedFilesTest, AnUnreadableOrOddDocumentIsKeptToo) {
    const fs::path painting = documents() / "zorbel.png";
    {
        auto first = makeCanvas();
        ASSERT_TRUE(first->writeImageOut("zorbel.png"));
    }
    fs::create_directories(documents() / "tempundo.png"); // a folder where a picture should be
    const std::string saved = contentOf(painting);
    fs::permissions(painting, fs::perms::none);
    const bool unreadable = ::access(painting.c_str(), R_OK) != 0; // root reads anything
    auto view = makeCanvas();
    EXPECT_TRUE(fs::is_directory(documents() / "tempundo.png.damaged"));
    EXPECT_TRUE(view->writeUndoImageOut("tempundo.png"));
    EXPECT_TRUE(platform::fileExists(documents() / "tempundo.png"));
    if (unreadable) {
        EXPECT_TRUE(view->writeImageOut("zorbel.png"));
        fs::permissions(painting.string() + ".damaged", fs::perms::owner_read);
        EXPECT_EQ(contentOf(painting.string() + ".damaged"), saved);
    }
}

// When the refused file cannot be moved, the new file goes beside it and the
// log says where.
TEST_F(RefusedFilesTest, AFileThatCannotBeMovedIsWrittenBeside) {
    fs::create_directories(documents());
    std::ofstream(documents() / "zorbel.png", std::ios::binary) << kGarbage;
    StuckFolder folder;
    std::string why;
    EXPECT_EQ(folder.load("zorbel.png", &why), nullptr);
    const fs::path beside = documents() / "zorbel.png.new";
    EXPECT_NE(why.find("could not be moved aside (Operation not permitted)"), std::string::npos)
        << why;
    EXPECT_NE(why.find(beside.string()), std::string::npos) << why;
    EXPECT_EQ(folder.pathFor("zorbel.png"), beside);

    const std::uint8_t bytes[] = {1, 2, 3};
    EXPECT_TRUE(folder.write(bytes, "zorbel.png"));
    EXPECT_EQ(contentOf(documents() / "zorbel.png"), kGarbage);
    EXPECT_EQ(contentOf(beside), std::string("\x01\x02\x03"));
    EXPECT_EQ(folder.pathFor("tempundo.png"), documents() / "tempundo.png");
}

} // namespace
} // namespace zorbel::testing
