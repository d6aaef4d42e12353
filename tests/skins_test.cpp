// The skin engine, the skins in the program image, and how the program
// writes the engine next to itself and attaches a skin through it.
#include "app/skins.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "app/image/program_image.h"
#include "app/image/skin_images.h"
#include "runtime/constants.h"
#include "runtime/dll_commands.h"
#include "runtime/file_attributes.h"
#include "runtime/heap.h"
#include "runtime/program_location.h"
#include "runtime/runtime_state.h"
#include "tests/skin_probe.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Bytes(const void* byteSet) {
    return std::string(reinterpret_cast<const char*>(ByteSetData(byteSet)), ByteSetLength(byteSet));
}

// The style sheet a skin file carries: everything after its first empty line.
std::string SheetOf(const std::string& skin) {
    size_t blank = skin.find("\n\n");
    return blank == std::string::npos ? std::string() : skin.substr(blank + 2);
}

using AttachRoutine = int (*)(const unsigned char*, int32_t, const char*, int32_t, int32_t,
                              int32_t);

// The engine as the build made it, called directly.
class SkinEngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = dlopen(VELMORA_SKIN_ENGINE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(module_, nullptr) << dlerror();
        attach_ = reinterpret_cast<AttachRoutine>(dlsym(module_, "SkinH_AttachRes"));
        ASSERT_NE(attach_, nullptr);
        qApp->setStyleSheet("QWidget { color: #010203; }");
    }
    void TearDown() override {
        qApp->setStyleSheet({});
        if (module_) dlclose(module_);
    }
    void* module_ = nullptr;
    AttachRoutine attach_ = nullptr;
};

struct EngineCase {
    const char* name;
    std::string file;
    int32_t size;       // -1: the whole file
    const char* sheet;  // null: the skin is refused and the old sheet stays
};

TEST_F(SkinEngineTest, AppliesWellFormedSkinsAndRefusesTheRest) {
    const std::string good = "VelmoraSkin 1\nname=t\nnumber=1\n\nQLabel { color: red; }";
    const EngineCase cases[] = {
        {"whole skin", good, -1, "QLabel { color: red; }"},
        {"no header lines", "VelmoraSkin 1\n\nQLabel {}", -1, "QLabel {}"},
        {"bytes past the size are not read", good + "JUNK", int32_t(good.size()),
         "QLabel { color: red; }"},
        {"empty sheet", "VelmoraSkin 1\nname=t\n\n", -1, ""},
        {"wrong first line", "VelmoraSkin 2\n\nQLabel {}", -1, nullptr},
        {"no first line at all", "QLabel {}", -1, nullptr},
        {"no empty line", "VelmoraSkin 1\nname=t\nQLabel {}", -1, nullptr},
        {"size cuts before the empty line", good, 20, nullptr},
        {"size zero", good, 0, nullptr},
        {"negative size", good, -5, nullptr},
    };
    for (const EngineCase& c : cases) {
        SCOPED_TRACE(c.name);
        qApp->setStyleSheet("QWidget { color: #010203; }");
        int32_t size = c.size == -1 ? int32_t(c.file.size()) : c.size;
        int answer =
            attach_(reinterpret_cast<const unsigned char*>(c.file.data()), size, "", 0, 0, 0);
        EXPECT_EQ(answer, c.sheet ? 1 : 0);
        EXPECT_EQ(qApp->styleSheet().toStdString(),
                  c.sheet ? c.sheet : "QWidget { color: #010203; }");
    }
}

TEST_F(SkinEngineTest, NoSkinAtAllChangesNothing) {
    EXPECT_EQ(attach_(nullptr, 0, "", 0, 0, 0), 0);
    EXPECT_EQ(attach_(nullptr, 100, "", 0, 0, 0), 0);
    EXPECT_EQ(qApp->styleSheet().toStdString(), "QWidget { color: #010203; }");
}

TEST(SkinImages, ThirtyThreeDistinctSkinsInTheConstantRegion) {
    const char* regionStart = static_cast<const char*>(ConstantRegionStart());
    auto inRegion = [&](const void* p) {
        const char* c = static_cast<const char*>(p);
        return c >= regionStart && c < regionStart + ConstantRegionSize();
    };
    std::set<std::string> sheets;
    for (int n = 1; n <= app::kSkinCount; ++n) {
        SCOPED_TRACE(n);
        const void* skin = app::SkinImage(n);
        ASSERT_NE(skin, nullptr);
        EXPECT_TRUE(inRegion(skin));
        EXPECT_EQ(*static_cast<const uint32_t*>(skin), 1u) << "a byte set has one dimension";
        std::string file = Bytes(skin);
        EXPECT_TRUE(file.starts_with("VelmoraSkin 1\n"));
        EXPECT_NE(file.find("\nnumber=" + std::to_string(n) + "\n"), std::string::npos);
        std::string sheet = SheetOf(file);
        EXPECT_NE(sheet.find("QPushButton"), std::string::npos);
        EXPECT_EQ(sheet.find('@'), std::string::npos) << "an unfilled placeholder";
        sheets.insert(sheet);
    }
    EXPECT_EQ(sheets.size(), size_t(app::kSkinCount)) << "two skins look the same";
    EXPECT_TRUE(inRegion(app::SkinEngineImage()));
}

// Under every skin a radio button shows its indicator, checked or not: the
// window's page switches must look like something to click.
TEST(SkinImages, EverySkinDrawsTheRadioIndicatorCheckedOrNot) {
    QWidget host;
    QRadioButton off(QString::fromUtf8("使用说明"), &host),
        on(QString::fromUtf8("模板预览"), &host);
    off.setAutoExclusive(false);
    on.setChecked(true);
    on.move(0, 30);
    auto indicator = [](QRadioButton& button) {
        QStyleOptionButton option;
        option.initFrom(&button);
        return button
            .grab(button.style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, &button))
            .toImage();
    };
    auto colours = [](const QImage& image) {
        std::set<QRgb> seen;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) seen.insert(image.pixel(x, y));
        return seen.size();
    };
    for (int n = 1; n <= app::kSkinCount; ++n) {
        SCOPED_TRACE(n);
        qApp->setStyleSheet(QString::fromStdString(SheetOf(Bytes(app::SkinImage(n)))));
        QImage unchecked = indicator(off), checked = indicator(on);
        EXPECT_GT(colours(unchecked), 1u) << "an unchecked indicator draws nothing";
        EXPECT_NE(unchecked, checked);
    }
    qApp->setStyleSheet({});
}

TEST(SkinImages, NumbersOutsideTheTableHaveNoSkin) {
    for (int n : {-1, 0, app::kSkinCount + 1, 1000}) EXPECT_EQ(app::SkinImage(n), nullptr) << n;
}

TEST(SkinImages, TheEngineImageIsTheBuiltLibraryFile) {
    EXPECT_EQ(Bytes(app::SkinEngineImage()), Slurp(VELMORA_SKIN_ENGINE));
}

// ApplySkin and ExtractSkinLibrary, with the program in a folder of its own
// (tests/own_folder_main.cpp).
class ApplySkinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetRuntimeState();
        ClearConstantRanges();
        RegisterConstantRange(ConstantRegionStart(), ConstantRegionSize());
        State().programDirectory = ProgramLocation().directory;
        PrepareDllCommands(app::ProgramImage());
        enginePath_ = fs::read_symlink("/proc/self/exe").parent_path() / "SkinH_EL.dll";
        fs::remove(enginePath_);
        qApp->setStyleSheet({});
        blocks_ = LiveBlockCount();
    }
    void TearDown() override {
        EXPECT_EQ(LiveBlockCount(), blocks_) << "heap blocks leaked";
        ReleaseDllCommands();
        ResetRuntimeState();
        fs::remove(enginePath_);
        qApp->setStyleSheet({});
    }
    // Puts the recording stand-in where the program looks for the engine.
    void PlaceProbe() { fs::copy_file(VELMORA_SKIN_PROBE, enginePath_); }
    const testing::AttachCall& ProbeCall() {
        void* module = dlopen(enginePath_.c_str(), RTLD_NOW | RTLD_NOLOAD);
        EXPECT_NE(module, nullptr) << "the program never loaded the engine";
        if (!module) std::abort();
        auto last = reinterpret_cast<const void* (*)()>(dlsym(module, "ProbeLastAttach"));
        dlclose(module);  // drops only the reference taken here
        return *static_cast<const testing::AttachCall*>(last());
    }
    bool Hidden() {
        auto attributes = ReadFileAttributes(enginePath_.string());
        return attributes && (*attributes & attribute::kHidden);
    }

    fs::path enginePath_;
    long blocks_ = 0;
};

TEST_F(ApplySkinTest, FirstUseWritesTheEngineHiddenAndAttachesTheSkin) {
    app::ApplySkin(12);
    ASSERT_TRUE(fs::exists(enginePath_));
    EXPECT_EQ(Slurp(enginePath_), Bytes(app::SkinEngineImage()));
    EXPECT_TRUE(Hidden());
    std::string sheet = SheetOf(Bytes(app::SkinImage(12)));
    EXPECT_EQ(qApp->styleSheet().toStdString(), sheet);
    EXPECT_NE(sheet.find("#2f7bd0"), std::string::npos) << "skin 12 is the clear-sky palette";
}

TEST_F(ApplySkinTest, AnEngineFileAlreadyThereIsNeverRewritten) {
    std::ofstream(enginePath_) << "not a library";
    app::ExtractSkinLibrary();
    EXPECT_EQ(Slurp(enginePath_), "not a library");
    EXPECT_FALSE(Hidden());
}

TEST_F(ApplySkinTest, HandsTheEngineAFreshCopyOfTheSkinAndTheFixedArguments) {
    PlaceProbe();
    app::ApplySkin(12);
    EXPECT_EQ(Slurp(enginePath_), Slurp(VELMORA_SKIN_PROBE)) << "the present file stays";
    const testing::AttachCall& call = ProbeCall();
    EXPECT_EQ(call.calls, 1);
    EXPECT_EQ(call.bytes, Bytes(app::SkinImage(12)));
    EXPECT_EQ(call.size, int32_t(ByteSetLength(app::SkinImage(12))));
    EXPECT_NE(call.data, ByteSetData(app::SkinImage(12))) << "the constant itself was handed out";
    EXPECT_EQ(call.key, "");
    EXPECT_EQ(call.numbers[0], 0);
    EXPECT_EQ(call.numbers[1], 0);
    EXPECT_EQ(call.numbers[2], 0);
}

TEST_F(ApplySkinTest, ANumberWithoutASkinPassesNullAndZero) {
    PlaceProbe();
    int expectedCalls = 0;
    for (int n : {0, app::kSkinCount + 1, -7}) {
        SCOPED_TRACE(n);
        app::ApplySkin(n);
        const testing::AttachCall& call = ProbeCall();
        EXPECT_EQ(call.calls, ++expectedCalls);
        EXPECT_EQ(call.data, nullptr);
        EXPECT_EQ(call.size, 0);
    }
}

}  // namespace
}  // namespace velmora
