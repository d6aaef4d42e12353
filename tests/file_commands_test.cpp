#include "commands/file_commands.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/constants.h"
#include "runtime/entry_table.h"
#include "runtime/file_attributes.h"
#include "runtime/file_replace.h"
#include "runtime/file_search.h"
#include "runtime/heap.h"
#include "runtime/native_path.h"
#include "runtime/notification.h"
#include "runtime/program_location.h"
#include "runtime/windows_path.h"
#include "tests/test_support.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::Gbk;

constexpr uint32_t kDirectoryMask = 0x10;

// Calls a command and hands back its result record; texts are the caller's.
ValueRecord CallCommand(CommandRoutine routine, std::vector<ValueRecord> args) {
    return Entries().CallCoreCommand(routine, static_cast<int>(args.size()), args.data());
}

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class FileCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = testing::NewTemporaryFolder("velmora-files-");
        ASSERT_FALSE(root_.empty());
        gbkRoot_ = Utf8ToGbk(root_.string()).value();
        ClearConstantRanges();
        RegisterConstantRange(ConstantRegionStart(), ConstantRegionSize());
        blocks_ = LiveBlockCount();
    }
    void TearDown() override {
        EXPECT_EQ(LiveBlockCount(), blocks_) << "heap blocks leaked";
        fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(root_);
    }

    // A GBK path under the test folder written with Windows separators.
    std::string At(const char* utf8Relative) const { return gbkRoot_ + "\\" + Gbk(utf8Relative); }

    bool Logical(CommandRoutine routine, std::vector<ValueRecord> args) {
        return CallCommand(routine, std::move(args)).low != 0;
    }
    bool Write(const std::string& gbkPath, const std::vector<std::string>& parts) {
        std::vector<ValueRecord> args{MakeTextValue(gbkPath.c_str())};
        for (const std::string& part : parts) {
            // Empty parts are passed as the shared empty byte set, as callers do.
            void* block = MakeByteSet(part.data(), part.size());
            args.push_back(MakeByteSetValue(block ? block : kEmptyByteSet));
        }
        bool ok = Logical(commands::WriteToFile, args);
        for (size_t i = 1; i < args.size(); ++i) Free(args[i].Pointer());
        return ok;
    }

    // Every name the search gives for a pattern, in order, through the runtime service.
    std::vector<std::string> FindAll(const std::string& gbkPattern, uint32_t mask, bool filesOnly,
                                     uintptr_t* handleOut = nullptr) {
        uintptr_t handle = 0;
        std::vector<std::string> names;
        const char* pattern = gbkPattern.c_str();
        for (int guard = 0; guard < 1000; ++guard) {
            uint64_t words[4] = {reinterpret_cast<uintptr_t>(pattern), mask, filesOnly ? 1u : 0u,
                                 reinterpret_cast<uintptr_t>(&handle)};
            auto* name =
                reinterpret_cast<char*>(Entries().RuntimeService(kServiceFindFile, 4, words));
            if (!name) break;
            names.emplace_back(name);
            Free(name);
            pattern = nullptr;
        }
        if (handleOut) *handleOut = handle;
        return names;
    }

    // Clears every attribute of the files; false when one keeps some.
    bool ClearAttributes(std::initializer_list<const char*> names) const {
        bool clear = true;
        for (const char* name : names) {
            const std::string native = NativePathOf(root_ / name);
            clear = WriteFileAttributes(native, 0) && ReadFileAttributes(native) == 0u && clear;
        }
        return clear;
    }

    fs::path root_;
    std::string gbkRoot_;
    long blocks_ = 0;
};

TEST_F(FileCommandsTest, DirectoryMaskListsDotsThenEachSubFolderThenNull) {
    fs::create_directory(root_ / "beta");
    fs::create_directory(root_ / "alpha");
    std::ofstream(root_ / "page.htm") << "x";
    EXPECT_EQ(FindAll(At("*.*"), kDirectoryMask, false),
              (std::vector<std::string>{".", "..", "alpha", "beta"}));
    // The caller's word holds the search while it runs and 0 once it ends.
    uintptr_t handle = 0;
    char* first = FindFile(At("*.*").c_str(), kDirectoryMask, false, &handle);
    ASSERT_NE(first, nullptr);
    Free(first);
    EXPECT_NE(handle, 0u);
    for (int rest = 0; rest < 3; ++rest) Free(FindFile(nullptr, kDirectoryMask, false, &handle));
    EXPECT_NE(handle, 0u) << "the last folder is out, the end not yet seen";
    EXPECT_EQ(FindFile(nullptr, kDirectoryMask, false, &handle), nullptr);
    EXPECT_EQ(handle, 0u);
}

TEST_F(FileCommandsTest, FilesOnlyAndAttributeMasksChooseEntries) {
    fs::create_directory(root_ / "folder.htm");
    std::ofstream(root_ / "a.htm") << "a";
    std::ofstream(root_ / "b.HTM") << "b";
    std::ofstream(root_ / "c.html") << "c";
    std::ofstream(root_ / "hidden.htm") << "h";
    ASSERT_TRUE(Logical(commands::ChangeFileAttributes,
                        {MakeTextValue(At("hidden.htm").c_str()), MakeInteger(2)}));
    // Windows marks a new file for archiving, and wine keeps that mark.
    const bool plain = ClearAttributes({"a.htm", "b.HTM", "c.html"});

    EXPECT_EQ(FindAll(At("*.htm"), 0, true),
              (std::vector<std::string>{"a.htm", "b.HTM", "hidden.htm"}));
    // A zero mask takes only entries whose attribute word is 0.
    if (plain) {
        EXPECT_EQ(FindAll(At("*.htm"), 0, false), (std::vector<std::string>{"a.htm", "b.HTM"}));
    }
    EXPECT_EQ(FindAll(At("*.htm"), 2, false), (std::vector<std::string>{"hidden.htm"}));
    EXPECT_EQ(FindAll(At("*.htm"), 0x12, false),
              (std::vector<std::string>{"folder.htm", "hidden.htm"}));
    // Bits outside 0x37 never take part.
    if (plain) {
        EXPECT_EQ(FindAll(At("*.htm"), 0x80, false), (std::vector<std::string>{"a.htm", "b.HTM"}));
    }
    EXPECT_EQ(FindAll(At("a.htm"), 0, true), (std::vector<std::string>{"a.htm"}));
    EXPECT_TRUE(FindAll(At("missing.htm"), 0, true).empty());
    EXPECT_TRUE(FindAll(At("nofolder\\*.*"), 0x10, false).empty());
}

TEST_F(FileCommandsTest, ContinuingWithoutASearchGivesNullAndANewPatternReplacesTheOld) {
    std::ofstream(root_ / "one.txt") << "1";
    std::ofstream(root_ / "two.txt") << "2";
    uintptr_t handle = 0;
    EXPECT_EQ(FindFile(nullptr, 0, true, &handle), nullptr);
    EXPECT_EQ(FindFile("", 0, true, &handle), nullptr);

    char* first = FindFile(At("*.txt").c_str(), 0, true, &handle);
    ASSERT_NE(first, nullptr);
    Free(first);
    EXPECT_NE(handle, 0u);
    // A second pattern closes the open search (the sanitizer build would see a leak).
    char* again = FindFile(At("two.txt").c_str(), 0, true, &handle);
    ASSERT_NE(again, nullptr);
    EXPECT_STREQ(again, "two.txt");
    Free(again);
    // Ending a search part-way frees it; ending "no search" does nothing.
    uint64_t words[1] = {handle};
    Entries().RuntimeService(kServiceEndFind, 1, words);
    handle = 0;
    uint64_t zero[1] = {0};
    Entries().RuntimeService(kServiceEndFind, 1, zero);
}

TEST_F(FileCommandsTest, FolderWithBackslashTrailBytesRoundTrips) {
    // 運 and 誠 both end in the byte 0x5C in GBK.
    const std::string folder = Gbk("運誠");
    ASSERT_NE(folder.find('\\'), std::string::npos);
    const std::string folderPath = gbkRoot_ + "\\" + folder;
    const std::string filePath = folderPath + "\\" + Gbk("模板文件.htm");

    EXPECT_TRUE(Logical(commands::MakeDirectory, {MakeTextValue(folderPath.c_str())}));
    EXPECT_TRUE(fs::is_directory(root_ / testing::Utf8Path("運誠")));
    EXPECT_TRUE(Write(filePath, {Gbk("<html>運誠</html>")}));
    EXPECT_EQ(Slurp(root_ / testing::Utf8Path("運誠/模板文件.htm")), Gbk("<html>運誠</html>"));

    EXPECT_EQ(FindAll(gbkRoot_ + "\\*.*", kDirectoryMask, false),
              (std::vector<std::string>{".", "..", folder}));
    EXPECT_EQ(FindAll(folderPath + "\\*.htm", 0, true),
              (std::vector<std::string>{Gbk("模板文件.htm")}));
    EXPECT_TRUE(Logical(commands::FileExists, {MakeTextValue(filePath.c_str())}));
    EXPECT_TRUE(Logical(commands::RemoveFile, {MakeTextValue(filePath.c_str())}));
    EXPECT_FALSE(fs::exists(root_ / "運誠" / "模板文件.htm"));
}

TEST_F(FileCommandsTest, NamesGbkCannotHoldAreNotSeen) {
    std::ofstream(root_ / "😀.htm") << "x";
    std::ofstream(root_ / "plain.htm") << "x";
    EXPECT_EQ(FindAll(At("*.htm"), 0, true), (std::vector<std::string>{"plain.htm"}));
    // Invalid GBK in a path names nothing and creates nothing.
    const std::string broken = gbkRoot_ + "\\\x81";
    EXPECT_FALSE(Logical(commands::MakeDirectory, {MakeTextValue(broken.c_str())}));
    EXPECT_FALSE(Write(broken, {"x"}));
}

TEST_F(FileCommandsTest, WriteIntoAMissingFolderFailsAndCreatesNothing) {
    EXPECT_FALSE(Write(At("missing\\page.htm"), {"<html>"}));
    EXPECT_FALSE(fs::exists(root_ / "missing"));
    EXPECT_TRUE(fs::is_empty(root_));
    EXPECT_FALSE(Write("", {"x"}));
}

TEST_F(FileCommandsTest, WriteConcatenatesByteSetsExactly) {
    EXPECT_TRUE(Write(At("page.htm"), {"head\r\n", "", Gbk("商品"), std::string("\0z", 2)}));
    EXPECT_EQ(Slurp(root_ / "page.htm"), "head\r\n" + Gbk("商品") + std::string("\0z", 2));
    // One empty byte set empties an existing file and creates a missing one.
    EXPECT_TRUE(Write(At("page.htm"), {""}));
    EXPECT_EQ(fs::file_size(root_ / "page.htm"), 0u);
    EXPECT_TRUE(Write(At("new.htm"), {""}));
    EXPECT_TRUE(fs::exists(root_ / "new.htm"));
    // A text where a byte set belongs is refused before the disk is touched.
    const std::string path = At("page.htm");
    EXPECT_FALSE(
        Logical(commands::WriteToFile, {MakeTextValue(path.c_str()), MakeTextValue("not bytes")}));
}

TEST_F(FileCommandsTest, FailedWriteLeavesTheOldContentAndNoLeftovers) {
    const std::string old = "<html>the user's template</html>";
    std::ofstream(root_ / "page.htm") << old;
#ifndef _WIN32
    // The file-size limit makes the write fail part-way, like a full disk.
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = saved;
    tight.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const bool written = Write(At("page.htm"), {std::string(64, 'n'), std::string(64, 'm')});
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(written);
    EXPECT_EQ(Slurp(root_ / "page.htm"), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 1);
#endif

    // A folder in the target's place cannot be replaced either.
    fs::create_directory(root_ / "folder");
    std::ofstream(root_ / "folder" / "inside") << "keep";
    EXPECT_FALSE(Write(At("folder"), {"x"}));
    EXPECT_EQ(Slurp(root_ / "folder" / "inside"), "keep");
}

TEST_F(FileCommandsTest, ReadOnlyFilesRefuseWritesAndRemovalUntilCleared) {
    std::ofstream(root_ / "skin.dll") << "old";
    const std::string path = At("skin.dll");
    ASSERT_TRUE(
        Logical(commands::ChangeFileAttributes, {MakeTextValue(path.c_str()), MakeInteger(1)}));
    EXPECT_EQ(FindAll(At("*.dll"), 1, false), (std::vector<std::string>{"skin.dll"}));
    EXPECT_FALSE(Write(path, {"new"}));
    EXPECT_FALSE(Logical(commands::RemoveFile, {MakeTextValue(path.c_str())}));
    EXPECT_EQ(Slurp(root_ / "skin.dll"), "old");

    // 0x80 masks to nothing: every settable attribute is cleared.
    ASSERT_TRUE(
        Logical(commands::ChangeFileAttributes, {MakeTextValue(path.c_str()), MakeInteger(0x80)}));
    if (ClearAttributes({"skin.dll"})) {
        EXPECT_EQ(FindAll(At("*.dll"), 0, false), (std::vector<std::string>{"skin.dll"}));
    }
    EXPECT_TRUE(Logical(commands::RemoveFile, {MakeTextValue(path.c_str())}));
}

TEST_F(FileCommandsTest, RewritingKeepsHiddenSystemAndArchiveAttributes) {
    const std::string path = At("SkinH_EL.dll");
    ASSERT_TRUE(Write(path, {"v1"}));
    ASSERT_TRUE(
        Logical(commands::ChangeFileAttributes, {MakeTextValue(path.c_str()), MakeInteger(0x26)}));
    ASSERT_TRUE(Write(path, {"v2"}));
    EXPECT_EQ(ReadFileAttributes((root_ / "SkinH_EL.dll").string()), 0x26u);
    EXPECT_EQ(FindAll(At("*.dll"), 4, false), (std::vector<std::string>{"SkinH_EL.dll"}));
    EXPECT_FALSE(Logical(commands::ChangeFileAttributes,
                         {MakeTextValue(At("missing.dll").c_str()), MakeInteger(2)}));
}

TEST_F(FileCommandsTest, WritingALinkWritesTheFileItNamesAndKeepsTheLink) {
    // What programs calling the command rely on; the collector's pages use
    // ReplaceFileContents with LinkAtName::kReplace instead.
#ifdef _WIN32
    GTEST_SKIP() << "POSIX modes and links; a Windows link needs a privilege";
#endif
    std::ofstream(root_ / "target.htm") << "old";
    fs::permissions(root_ / "target.htm", fs::perms(0640));
    fs::create_symlink(root_ / "target.htm", root_ / "link.htm");
    ASSERT_TRUE(Write(At("link.htm"), {"new"}));
    EXPECT_TRUE(fs::is_symlink(root_ / "link.htm"));
    EXPECT_EQ(Slurp(root_ / "target.htm"), "new");
    EXPECT_EQ(fs::status(root_ / "target.htm").permissions(), fs::perms(0640));

    const std::string_view parts[] = {"page"};
    ASSERT_TRUE(ReplaceFileContents((root_ / "link.htm").string(), parts, LinkAtName::kReplace));
    EXPECT_FALSE(fs::is_symlink(root_ / "link.htm"));
    EXPECT_EQ(Slurp(root_ / "link.htm"), "page");
    EXPECT_EQ(Slurp(root_ / "target.htm"), "new");
}

TEST_F(FileCommandsTest, ExistsMakeAndRemoveFollowWindowsRules) {
    fs::create_directories(root_ / "x");
    auto exists = [&](const char* rel) {
        return Logical(commands::FileExists, {MakeTextValue(At(rel).c_str())});
    };
    EXPECT_TRUE(exists("x"));
    EXPECT_FALSE(exists("x\\*.htm"));
    std::ofstream(root_ / "x" / "p.htm") << "p";
    EXPECT_TRUE(exists("x\\*.htm"));
#ifndef _WIN32
    // Windows' file systems ignore the case of a name.
    EXPECT_FALSE(exists("x/P.HTM"));  // names without wildcards are looked up exactly
    EXPECT_FALSE(exists("X\\*.*"));
#endif
    EXPECT_FALSE(exists("nothing"));

    auto make = [&](const char* rel) {
        return Logical(commands::MakeDirectory, {MakeTextValue(At(rel).c_str())});
    };
    EXPECT_FALSE(make("x"));
    EXPECT_FALSE(make("a\\b\\c"));
    EXPECT_FALSE(fs::exists(root_ / "a"));
    EXPECT_TRUE(make("a"));

    auto remove = [&](const char* rel) {
        return Logical(commands::RemoveFile, {MakeTextValue(At(rel).c_str())});
    };
    EXPECT_FALSE(remove("x"));
    EXPECT_FALSE(remove("x\\gone.htm"));
    EXPECT_TRUE(remove("x\\p.htm"));
    EXPECT_FALSE(fs::exists(root_ / "x" / "p.htm"));
}

TEST(WildcardMatch, FollowsWindowsRules) {
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        {"*.*", "abc", true},
        {"*.*", "a.b.c", true},
        {"*", "", true},
        {"*.htm", "x.htm", true},
        {"*.htm", "x.html", false},
        {"*.HTM", "x.htm", true},
        {"?.htm", "运.htm", true},
        {"??.htm", "运.htm", false},
        {"a*b*c", "aXbYbc", true},
        {"a*b*c", "aXbYbcd", false},
        {"*.", "abc", true},
        {"*.", "a.b", false},
        {"a*.*", "abc", true},
        {"a*.*", "bac", false},
        {"模板*", "模板文件.htm", true},
        {"文*", "模板", false},
        {"", "a", false},
        {"**a", "ba", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " vs " << c.name;
    }
}

TEST(WindowsPath, ConvertsBeforeTurningSeparators) {
    const std::string gbk = Gbk("運") + "\\a/" + Gbk("誠");
    EXPECT_EQ(NativePath(gbk), std::optional<std::string>("運/a/誠"));
    EXPECT_EQ(NativePath("\x81"), std::nullopt);

    struct Case {
        const char* path;
        const char* directory;
        const char* name;
    } cases[] = {{"a/b/c", "a/b", "c"}, {"c", ".", "c"}, {"/c", "/", "c"}, {"a/", "a", ""}};
    for (const Case& c : cases) {
        PathParts parts = SplitNativePath(c.path);
        EXPECT_EQ(parts.directory, c.directory) << c.path;
        EXPECT_EQ(parts.name, c.name) << c.path;
    }
}

TEST(WindowsPath, DiskPathsAreAbsoluteOrFromHereAndDrivesOnlyWhereThereAreDrives) {
#ifdef _WIN32
    const bool drives = true;
#else
    const bool drives = false;
#endif
    const struct {
        const char* address;
        bool disk;
    } cases[] = {{"/a/b.htm", true},    {"\\\\server\\a", true}, {"./a", true},
                 {"..\\a", true},       {"a/b.htm", false},      {".a", false},
                 {"http://x/a", false}, {"file:///a", false},    {"C:\\a\\b.htm", drives},
                 {"z:/a", drives},      {"C:", false},           {"C:a", false}};
    for (const auto& c : cases) EXPECT_EQ(IsDiskPath(c.address), c.disk) << c.address;
}

TEST(ProgramLocation, CutsAtTheLastSeparatorAndSpeaksGbk) {
    struct Case {
        const char* path;
        const char* directoryUtf8;
        const char* nameUtf8;
    } cases[] = {
        {"/opt/tools/velmora", "/opt/tools", "velmora"},
        {"/velmora", "", "velmora"},
        {"velmora", "", "velmora"},
        {"/opt/单页/采集", "/opt/单页", "采集"},
        {"/opt/😀/velmora", ".", "velmora"},  // GBK cannot spell it: the current folder
    };
    for (const Case& c : cases) {
        ProgramFile file = LocateProgram(c.path);
        EXPECT_EQ(file.directory, Gbk(c.directoryUtf8)) << c.path;
        EXPECT_EQ(file.fileName, Gbk(c.nameUtf8)) << c.path;
    }

#ifndef _WIN32
    // /proc is Linux's own record of the running program.
    const std::string self = fs::read_symlink("/proc/self/exe").parent_path().string();
    EXPECT_EQ(ProgramLocation().directory, Gbk(self.c_str()));
#endif
    EXPECT_EQ(reinterpret_cast<const char*>(RuntimeNotify(kNotifyProgramDirectory, 0, 0)),
              ProgramLocation().directory.c_str());
    ValueRecord copy = CallCommand(commands::ProgramDirectory, {});
    EXPECT_STREQ(static_cast<char*>(copy.Pointer()), ProgramLocation().directory.c_str());
    EXPECT_NE(copy.Pointer(), ProgramLocation().directory.c_str());
    Free(copy.Pointer());
}

}  // namespace
}  // namespace velmora
