// The whole program driven end to end against the simulator: a folder of
// its own with the driver and the starter template, a home of its own, the
// simulator as its proxy. The pages it writes are checked byte for byte
// against pages built here from the template file and the simulator's goods.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "runtime/gbk.h"
#include "tests/child_process.h"
#include "tests/test_support.h"
#include "tools/marketsim/catalogue.h"
#include "tools/marketsim/gateway.h"
#include "tools/marketsim/pages.h"
#include "tools/marketsim/site_hosts.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
namespace sim = velmora::marketsim;
using velmora::testing::Gbk;
using velmora::testing::ReadFile;

constexpr char kTemplateName[] = "高贵大气";
constexpr auto kRunLimit = std::chrono::seconds(120);

std::string Utf8(const std::string& gbk) {
    return velmora::GbkToUtf8(gbk).value();
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// A child process whose standard output and error go to files.
class Child {
  public:
    // `terminal`, when given, is the pseudo-terminal that takes standard error instead.
    Child(const std::vector<std::string>& command, const std::vector<std::string>& environment,
          const fs::path& out, const fs::path& err, const fs::path& in = "/dev/null",
          int terminal = -1) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, in.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (terminal >= 0)
            posix_spawn_file_actions_adddup2(&actions, terminal, STDERR_FILENO);
        else
            posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<std::string> env = environment;
        std::vector<char*> envp;
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        pid_ = velmora::testing::SpawnChild(command, envp.data(), &actions);
        posix_spawn_file_actions_destroy(&actions);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() { Stop(SIGKILL); }

    bool Running() const { return pid_ > 0; }
    void Signal(int signal) const {
        if (pid_ > 0) kill(pid_, signal);
    }

    // The exit code, or -1 when it had to be killed at the limit (or died of a
    // signal). `drain` runs while it waits, to read what the child writes.
    int Wait(std::chrono::seconds limit, const std::function<void()>& drain = {}) {
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (pid_ > 0) {
            if (drain) drain();
            int status = 0;
            pid_t done = waitpid(pid_, &status, WNOHANG);
            if (done == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            if (std::chrono::steady_clock::now() > deadline) return Stop(SIGKILL), -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return -1;
    }

    int Stop(int signal) { return velmora::testing::EndChild(pid_, signal); }

  private:
    pid_t pid_ = -1;
};

// What the driver printed: "key: value" lines, in order.
struct DriverReport {
    int exitCode = -1;
    std::vector<std::pair<std::string, std::string>> entries;
    std::string errors;

    std::vector<std::string> All(const std::string& key) const {
        std::vector<std::string> values;
        for (const auto& [k, v] : entries)
            if (k == key) values.push_back(v);
        return values;
    }
    long Number(const std::string& key) const {
        std::vector<std::string> values = All(key);
        return values.size() == 1 ? std::stol(values[0]) : -1;
    }
};

class AutodriveRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/velmora-autodrive-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        program_ = root_ / "program";
        // The template's own files only: pages of earlier runs stay behind.
        const fs::path folder = program_ / "单页生成" / "模板" / kTemplateName;
        fs::create_directories(folder);
        for (const char* file : {"模板文件.htm", "效果预览.htm"})
            fs::copy_file(fs::path(VELMORA_TEMPLATE_ROOT) / kTemplateName / file, folder / file);
        for (const char* built : {VELMORA_AUTODRIVE, VELMORA_BATCH}) {
            const fs::path beside = program_ / fs::path(built).filename();
            std::error_code linked;
            fs::create_hard_link(built, beside, linked);
            if (linked) fs::copy_file(built, beside);
        }
        for (const char* dir : {"home", "data", "config", "cache", "runtime"})
            fs::create_directories(root_ / dir);
        fs::permissions(root_ / "runtime", fs::perms::owner_all);

        simulator_ = std::make_unique<Child>(
            std::vector<std::string>{MARKETSIM_PATH, "--port", "0"}, std::vector<std::string>(),
            root_ / "marketsim.log", root_ / "marketsim.err");
        ASSERT_TRUE(simulator_->Running());
        const std::string prefix = "marketsim listening on ";
        for (int i = 0; i < 100 && address_.empty(); ++i) {
            std::string first = ReadFile(root_ / "marketsim.log");
            if (first.rfind(prefix, 0) == 0 && first.find('\n') != std::string::npos)
                address_ = first.substr(prefix.size(), first.find('\n') - prefix.size());
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ASSERT_FALSE(address_.empty()) << "the simulator did not start";
    }

    void TearDown() override {
        if (simulator_) {
            EXPECT_EQ(simulator_->Stop(SIGTERM), 0) << "the simulator's stop";
        }
        simulator_.reset();
        if (HasFailure()) {
            std::fprintf(stderr, "kept %s for a look\n", root_.c_str());
        } else {
            fs::remove_all(root_);
        }
    }

    std::vector<std::string> Environment() const {
        std::map<std::string, std::string> env;
        for (char** e = environ; *e; ++e) {
            std::string entry = *e;
            size_t eq = entry.find('=');
            if (eq != std::string::npos) env[entry.substr(0, eq)] = entry.substr(eq + 1);
        }
        // A home of its own: the browser profile and its login live there.
        env["HOME"] = (root_ / "home").string();
        env["XDG_DATA_HOME"] = (root_ / "data").string();
        env["XDG_CONFIG_HOME"] = (root_ / "config").string();
        env["XDG_CACHE_HOME"] = (root_ / "cache").string();
        env["XDG_RUNTIME_DIR"] = (root_ / "runtime").string();
        env["http_proxy"] = env["HTTP_PROXY"] = "http://" + address_;
        env.erase("no_proxy");
        env.erase("NO_PROXY");
        if (env["QT_QPA_PLATFORM"].empty()) env["QT_QPA_PLATFORM"] = "offscreen";
        std::vector<std::string> list;
        for (const auto& [k, v] : env) list.push_back(k + "=" + v);
        return list;
    }

    DriverReport Drive(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), (program_ / "velmora_autodrive").string());
        Child driver(arguments, Environment(), root_ / "driver.out", root_ / "driver.err");
        DriverReport report;
        report.exitCode = driver.Wait(kRunLimit);
        std::istringstream out(ReadFile(root_ / "driver.out"));
        for (std::string line; std::getline(out, line);) {
            size_t colon = line.find(": ");
            if (colon != std::string::npos)
                report.entries.emplace_back(line.substr(0, colon), line.substr(colon + 2));
        }
        report.errors = ReadFile(root_ / "driver.err");
        return report;
    }

    struct BatchRun {
        int exitCode = -1;
        std::string out, err;
    };

    // velmora-batch beside the driver, in the same home; with `terminal` its
    // standard error is a pseudo-terminal. With `stopSignal`, that signal is
    // sent once the first keyword's line is out.
    BatchRun Batch(std::vector<std::string> arguments, const fs::path& in = "/dev/null",
                   bool terminal = false, int stopSignal = 0) {
        arguments.insert(arguments.begin(), (program_ / "velmora-batch").string());
        int master = -1, slave = -1;
        if (terminal && openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return {};
        if (master >= 0) fcntl(master, F_SETFL, O_NONBLOCK);
        Child batch(arguments, Environment(), root_ / "batch.out", root_ / "batch.err", in, slave);
        if (slave >= 0) close(slave);
        BatchRun run;
        std::string shown;
        const auto drain = [&] {
            char buffer[4096];
            for (ssize_t n; master >= 0 && (n = read(master, buffer, sizeof buffer)) > 0;)
                shown.append(buffer, static_cast<size_t>(n));
            if (stopSignal && ReadFile(root_ / "batch.err").find("keyword 1/") != std::string::npos)
                batch.Signal(std::exchange(stopSignal, 0));
        };
        run.exitCode = batch.Wait(kRunLimit, drain);
        drain();
        if (master >= 0) close(master);
        run.out = ReadFile(root_ / "batch.out");
        run.err = terminal ? shown : ReadFile(root_ / "batch.err");
        return run;
    }

    // A window run's pages by keyword, taken out of the folder so that the
    // next run has to write them anew; `log` receives the window's log.
    std::map<std::string, std::string> WindowPages(const std::vector<std::string>& keywords,
                                                   int count,
                                                   std::vector<std::string>* log = nullptr) {
        std::string list;
        for (const std::string& keyword : keywords) list += (list.empty() ? "" : ",") + keyword;
        DriverReport window = Drive({"--keywords", list, "--count", std::to_string(count)});
        EXPECT_EQ(window.exitCode, 0) << window.errors;
        if (log) *log = window.All("log");
        std::map<std::string, std::string> pages;
        for (const std::string& keyword : keywords) {
            const fs::path page = PagePath(keyword.c_str());
            EXPECT_TRUE(fs::exists(page)) << keyword;
            pages[keyword] = ReadFile(page);
            fs::remove(page);
        }
        return pages;
    }

    // The folder holds `pages` again, byte for byte; they are taken out again.
    void ExpectPagesAgain(const std::map<std::string, std::string>& pages) const {
        for (const auto& [keyword, bytes] : pages) {
            EXPECT_EQ(ReadFile(PagePath(keyword.c_str())), bytes) << keyword;
            fs::remove(PagePath(keyword.c_str()));
        }
    }

    fs::path WriteKeywords(const std::string& name, const std::string& bytes) const {
        std::ofstream(root_ / name, std::ios::binary) << bytes;
        return root_ / name;
    }

    fs::path PagePath(const char* keyword) const {
        return program_ / "单页生成" / "模板" / kTemplateName / (std::string(keyword) + ".htm");
    }

    // The page for a keyword as the template and the simulator's goods make
    // it: head, one loop copy per item, tail, the placeholders filled.
    std::string ExpectedPage(const char* keyword, int count) const {
        const std::string text =
            ReadFile(program_ / "单页生成" / "模板" / kTemplateName / "模板文件.htm");
        const std::string loopStart = Gbk("[#商品循环开始#]");
        const std::string loopEnd = Gbk("[#商品循环结束#]");
        const size_t start = text.find(loopStart);
        const size_t end = text.find(loopEnd, start + loopStart.size());
        if (start == std::string::npos || end == std::string::npos) return "template unusable";
        const std::string keywordGbk = Gbk(keyword);
        const std::string keywordMark = Gbk("[#关键词#]");

        std::string page = ReplaceAll(text.substr(0, start), keywordMark, keywordGbk);
        const std::string loop =
            text.substr(start + loopStart.size(), end - start - loopStart.size());
        std::vector<sim::CatalogueItem> items =
            sim::PromotionItems(keywordGbk, sim::SortKey::kSales, sim::kMaxPageItems);
        for (int rank = 1; rank <= count; ++rank) {
            const sim::CatalogueItem& item = items.at(rank - 1);
            std::string filled = loop;
            for (const auto& [mark, value] : std::vector<std::pair<const char*, std::string>>{
                     {"[#关键词#]", keywordGbk},
                     {"[#商品图片地址#]", sim::PictureUrl(item.id)},
                     {"[#商品网址#]", sim::ItemUrl(item.id)},
                     {"[#商品标题#]", item.title},
                     {"[#商品销售量#]", std::to_string(item.sales30)},
                     {"[#卖家昵称#]", item.seller},
                     {"[#商品价格#]", sim::FormatCents(item.priceCents)},
                     {"[#商品排名#]", std::to_string(rank)},
                     {"[#优惠券面额#]", ""},
                     {"[#券后价#]", ""}})
                filled = ReplaceAll(filled, Gbk(mark), value);
            page += filled;
        }
        return page + ReplaceAll(text.substr(end + loopEnd.size()), keywordMark, keywordGbk);
    }

    // The log of a keyword whose page is made, from its search line on.
    static void ExpectKeywordLog(const char* keyword, int count, std::string& pending,
                                 std::vector<std::string>& lines) {
        lines.push_back(pending + "正在按销量由高到底搜寻。。。");
        lines.push_back("搜寻完毕");
        lines.push_back("开始搜寻单个宝贝信息。。。。");
        std::vector<sim::CatalogueItem> items =
            sim::PromotionItems(Gbk(keyword), sim::SortKey::kSales, sim::kMaxPageItems);
        for (int i = 0; i < count; ++i) {
            lines.push_back("开始搜寻" + Utf8(items.at(i).title) + "的信息");
            lines.push_back("搜寻" + Utf8(items.at(i).title) + "完毕");
        }
        // The closing text ends without a line break: the next text joins it.
        pending = std::string("生成关键词\"") + keyword + ".htm\"完毕";
    }

    fs::path root_;
    fs::path program_;
    std::string address_;
    std::unique_ptr<Child> simulator_;
};

TEST_F(AutodriveRunTest, WritesEveryPageLogsEveryStepAndLeaksNothing) {
    DriverReport report =
        Drive({"--keywords", "手机,连衣裙", "--count", "3", "--shots", (root_ / "shots").string()});
    ASSERT_EQ(report.exitCode, 0) << report.errors;

    EXPECT_EQ(report.All("page"),
              (std::vector<std::string>{PagePath("手机").string(), PagePath("连衣裙").string()}));
    EXPECT_TRUE(report.All("no-page").empty());
    for (const char* keyword : {"手机", "连衣裙"}) {
        SCOPED_TRACE(keyword);
        EXPECT_EQ(ReadFile(PagePath(keyword)), ExpectedPage(keyword, 3));
    }

    std::vector<std::string> lines{"正在努力采集......."};
    std::string pending;
    ExpectKeywordLog("手机", 3, pending, lines);
    ExpectKeywordLog("连衣裙", 3, pending, lines);
    lines.push_back(pending);
    EXPECT_EQ(report.All("log"), lines);

    // The run keeps only the current keyword, which the orderly end frees
    // with everything else.
    EXPECT_EQ(report.Number("heap-after-run"), report.Number("heap-before-run") + 1);
    EXPECT_EQ(report.Number("heap-at-exit"), report.Number("heap-at-start"));
    EXPECT_GE(report.Number("heap-at-start"), 0);

    // The help browser shows the instructions page this copy wrote beside its templates.
    const fs::path instructions = program_ / "单页生成" / "使用说明.htm";
    EXPECT_EQ(report.All("help"), std::vector<std::string>{"file://" + instructions.string()});
    EXPECT_EQ(ReadFile(instructions), sim::InstructionsPage());

    std::vector<std::string> shots = report.All("shot");
    ASSERT_EQ(shots.size(), 2u);
    for (const std::string& shot : shots) {
        QImage image(QString::fromStdString(shot), "PNG");
        EXPECT_FALSE(image.isNull()) << shot;
        EXPECT_GE(image.width(), 700) << shot;
    }
}

// GBK cannot spell the folder: the program works from "." in it.
TEST_F(AutodriveRunTest, AFolderNameGbkCannotSpellStillGivesFullPages) {
    fs::rename(program_, root_ / "프로그램");
    program_ = root_ / "프로그램";
    DriverReport report = Drive({"--keywords", "手机", "--count", "2"});
    EXPECT_EQ(ReadFile(PagePath("手机")), ExpectedPage("手机", 2)) << report.errors;
    const fs::path help = program_ / "单页生成" / "使用说明.htm";
    EXPECT_EQ(report.All("help"), std::vector<std::string>{"file://" + help.string()});
}

TEST_F(AutodriveRunTest, StopButtonLeavesLaterKeywordsUnwritten) {
    DriverReport report =
        Drive({"--keywords", "手机,连衣裙,电脑", "--count", "1", "--stop-after-first"});
    ASSERT_EQ(report.exitCode, 0) << report.errors;

    EXPECT_EQ(report.All("page"), std::vector<std::string>{PagePath("手机").string()});
    EXPECT_EQ(report.All("no-page"),
              (std::vector<std::string>{PagePath("连衣裙").string(), PagePath("电脑").string()}));
    EXPECT_EQ(ReadFile(PagePath("手机")), ExpectedPage("手机", 1));
    EXPECT_FALSE(fs::exists(PagePath("连衣裙")));
    EXPECT_FALSE(fs::exists(PagePath("电脑")));

    // Each keyword after the stop is searched and logged once, nothing more.
    std::vector<std::string> lines{"正在努力采集......."};
    std::string pending;
    ExpectKeywordLog("手机", 1, pending, lines);
    lines.push_back(pending + "正在按销量由高到底搜寻。。。");
    lines.push_back("正在按销量由高到底搜寻。。。");
    EXPECT_EQ(report.All("log"), lines);
    EXPECT_EQ(report.Number("heap-at-exit"), report.Number("heap-at-start"));
}

TEST_F(AutodriveRunTest, ALoneCopyOfTheProgramStartsWithTheStarterTemplate) {
    fs::remove_all(program_ / "单页生成");
    DriverReport report = Drive({"--keywords", "手机", "--count", "1"});
    ASSERT_EQ(report.exitCode, 0) << report.errors;

    for (const char* file : {"模板文件.htm", "效果预览.htm"}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(ReadFile(program_ / "单页生成" / "模板" / kTemplateName / file),
                  ReadFile(fs::path(VELMORA_TEMPLATE_ROOT) / kTemplateName / file));
    }
    EXPECT_EQ(report.All("page"), std::vector<std::string>{PagePath("手机").string()});
    EXPECT_EQ(ReadFile(PagePath("手机")), ExpectedPage("手机", 1));
}

TEST_F(AutodriveRunTest, RefusedInputEndsTheRunWithAReason) {
    // An item count nobody can type leaves the box empty, and the start
    // button's check answers with a message box that nobody is there to close.
    DriverReport report = Drive({"--keywords", "手机", "--count", ""});
    EXPECT_EQ(report.exitCode, 4);
    EXPECT_NE(report.errors.find("请输入生成宝贝的数量"), std::string::npos) << report.errors;
    EXPECT_TRUE(report.All("page").empty());
}

// The batch command runs the window's own engine: the same keywords and
// template give the window's pages byte for byte, from a UTF-8 file with its
// progress in place on a terminal, and from GBK on standard input with plain
// progress lines and a summary; the folder's index lists them.
TEST_F(AutodriveRunTest, BatchWritesTheWindowsPagesByteForByte) {
    const std::map<std::string, std::string> pages = WindowPages({"手机", "连衣裙"}, 2);

    BatchRun shown = Batch({"--count", "2", "--base-url", "http://shop.example",
                            WriteKeywords("kw.txt", "手机\n连衣裙\n").string()},
                           "/dev/null", true);
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    ExpectPagesAgain(pages);
    EXPECT_NE(shown.err.find("\rkeyword 1/2 手机 · collecting · time left unknown\x1b[K"),
              std::string::npos)
        << shown.err;
    EXPECT_NE(shown.err.find("\rkeyword 2/2 连衣裙 · 2 items · 0:00 left\x1b[K"),
              std::string::npos);
    const fs::path folder = PagePath("手机").parent_path();
    EXPECT_NE(ReadFile(folder / "index.htm").find("href=\"%E6%89%8B%E6%9C%BA.htm\""),
              std::string::npos);
    EXPECT_NE(ReadFile(folder / "sitemap.xml")
                  .find("<loc>http://shop.example/%E6%89%8B%E6%9C%BA.htm</loc>"),
              std::string::npos);

    BatchRun plain = Batch({"--count", "2", "--json", "-"},
                           WriteKeywords("kw-gbk.txt", Gbk("手机\r\n连衣裙\r\n")));
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
    ExpectPagesAgain(pages);
    EXPECT_NE(plain.err.find("keyword 1/2 手机 · 2 items · "), std::string::npos) << plain.err;
    EXPECT_EQ(plain.err.find('\r'), std::string::npos) << "no in-place updates off a terminal";
    EXPECT_NE(plain.out.find("\"pages\": 2"), std::string::npos) << plain.out;
    EXPECT_NE(plain.out.find("\"file\": \"" + PagePath("手机").string() + "\""), std::string::npos)
        << plain.out;
    EXPECT_NE(plain.err.find("2 pages written (4 items), 0 failed, in " + folder.string() +
                             "; index.htm written\n"),
              std::string::npos)
        << plain.err;

    // A folder where a page goes: the cause names the path and the reason.
    fs::create_directories(PagePath("衬衫"));
    BatchRun failed =
        Batch({"--count", "1", WriteKeywords("kw-bad.txt", "a/b\n手机\n衬衫\n").string()});
    fs::remove_all(PagePath("衬衫"));
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.err.find("failed: a/b: "), std::string::npos) << failed.err;
    EXPECT_NE(failed.err.find("failed: 衬衫: 添加失败，请按正确方法操作 (" +
                              PagePath("衬衫").string() + ": Is a directory)"),
              std::string::npos)
        << failed.err;

    // --out keeps pages and site files apart from the template.
    fs::remove(PagePath("手机"));
    const fs::path site = root_ / "site";
    BatchRun out = Batch({"--count", "1", "--base-url", "http://shop.example", "--out",
                          site.string(), WriteKeywords("kw-out.txt", "手机\n").string()});
    EXPECT_EQ(out.exitCode, 0) << out.err;
    EXPECT_FALSE(fs::exists(PagePath("手机")));
    EXPECT_TRUE(fs::exists(site / "手机.htm") && fs::exists(site / "sitemap.xml"));
    EXPECT_NE(ReadFile(site / "index.htm").find("href=\"%E6%89%8B%E6%9C%BA.htm\""),
              std::string::npos);

    // SIGTERM during the first keyword: the rest are never begun, the index
    // lists what was written, and the summary still comes.
    BatchRun stopped = Batch(
        {"--count", "1", "--json", WriteKeywords("kw-stop.txt", "手机\n连衣裙\n衬衫\n").string()},
        "/dev/null", false, SIGTERM);
    EXPECT_EQ(stopped.exitCode, 143) << stopped.err;
    EXPECT_NE(stopped.err.find("stopped by SIGTERM, "), std::string::npos) << stopped.err;
    EXPECT_NE(stopped.out.find("\"stopped_by\": \"SIGTERM\""), std::string::npos) << stopped.out;
    EXPECT_FALSE(fs::exists(PagePath("衬衫")));
    EXPECT_NE(ReadFile(folder / "index.htm").find("href=\"%E6%89%8B%E6%9C%BA.htm\""),
              std::string::npos);

    // A keyword that takes the index's name, and a template without loop markers.
    BatchRun noIndex = Batch({"--count", "41", WriteKeywords("kw-index.txt", "index\n").string()});
    EXPECT_EQ(noIndex.exitCode, 1) << noIndex.err;
    EXPECT_NE(noIndex.err.find("at most 40 items a keyword; --count 40 is used"),
              std::string::npos);
    EXPECT_EQ(noIndex.err.find("index · 41 items"), std::string::npos) << "no empty cards counted";
    EXPECT_NE(noIndex.err.find("index.htm NOT written"), std::string::npos) << noIndex.err;
    fs::create_directories(folder.parent_path() / "无标记");
    std::ofstream(folder.parent_path() / "无标记" / "模板文件.htm") << "<p>[#关键词#]</p>";
    BatchRun noMarkers =
        Batch({"--template", "无标记", "--json", WriteKeywords("kw-m.txt", "手机\n").string()});
    EXPECT_EQ(noMarkers.exitCode, 1) << noMarkers.err;
    EXPECT_NE(noMarkers.out.find("找不到商品循环标记"), std::string::npos) << noMarkers.out;
    EXPECT_FALSE(fs::exists(folder.parent_path() / "无标记" / "手机.htm"));
}

// With the platform's keys in the settings file, the window and the batch
// both take their items from the simulated gateway, and agree byte for byte,
// through the default method and through the flat one a file names. One
// window run a test: the driver logs in afresh each time.
class AutodriveMethodTest : public AutodriveRunTest,
                            public ::testing::WithParamInterface<const char*> {};

TEST_P(AutodriveMethodTest, BatchWritesTheWindowsPagesFromTheOpenPlatform) {
    const bool named = GetParam() == std::string(sim::kMaterialSearchMethod);
    fs::create_directories(root_ / "config" / "velmora");
    std::ofstream(root_ / "config" / "velmora" / "velmora.conf")
        << "[api]\napp_key = " << sim::kDemoAppKey << "\napp_secret = " << sim::kDemoAppSecret
        << "\nadzone_id = " << sim::kDemoAdzoneId << "\ngateway = http://"
        << velmora::sites::kGatewayHost << sim::kGatewayPath << "\nrate_per_second = 0\n"
        << (named ? std::string("method = ") + GetParam() + "\n" : "");

    std::vector<std::string> log;
    const std::map<std::string, std::string> pages = WindowPages({"手机", "连衣裙"}, 3, &log);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), std::string("采集来源：开放平台接口 ") + GetParam());
    // Platform pages carry coupons, which classic pages never have.
    EXPECT_NE(pages.at("手机"), ExpectedPage("手机", 3));

    BatchRun run =
        Batch({"--count", "3", "--json", WriteKeywords("kw.txt", "手机\n连衣裙\n").string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("\"source\": \"api\""), std::string::npos) << run.out;
    ExpectPagesAgain(pages);
}

INSTANTIATE_TEST_SUITE_P(BothMethods, AutodriveMethodTest,
                         ::testing::Values(sim::kUpgradeSearchMethod, sim::kMaterialSearchMethod));

TEST_F(AutodriveRunTest, BatchRefusesUsageErrorsAndRunsNoClassicSourceWithoutALogin) {
    EXPECT_EQ(Batch({}).exitCode, 2);
    EXPECT_EQ(Batch({"--count", "none", "kw.txt"}).exitCode, 2);
    for (const fs::path& unreadable : {root_ / "missing.txt", root_}) {
        BatchRun refused = Batch({unreadable.string()});
        EXPECT_EQ(refused.exitCode, 2) << unreadable;
        EXPECT_NE(refused.err.find("cannot read " + unreadable.string() + ": "), std::string::npos)
            << refused.err;
    }
    BatchRun run = Batch({"--template", "无此模板", WriteKeywords("kw.txt", "手机\n").string()});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("no template named 无此模板"), std::string::npos) << run.err;

    run = Batch({WriteKeywords("kw.txt", "手机\n").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("not logged in"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(PagePath("手机")));

    // With a second template the batch no longer guesses; the settings may name one.
    fs::create_directories(PagePath("x").parent_path().parent_path() / "第二个");
    run = Batch({WriteKeywords("kw.txt", "手机\n").string()});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("which template? there are: "), std::string::npos) << run.err;
    fs::create_directories(root_ / "config" / "velmora");
    std::ofstream(root_ / "config" / "velmora" / "velmora.conf") << "[site]\ntemplate = 高贵大气\n";
    EXPECT_EQ(Batch({WriteKeywords("kw.txt", "手机\n").string()}).exitCode, 1) << "not logged in";
}

TEST_F(AutodriveRunTest, ConfigureWritesTheApiSettingsPrivatelyAndKeepsThemOnEmptyAnswers) {
    const fs::path settings = root_ / "config" / "velmora" / "velmora.conf";
    BatchRun run = Batch({"--configure"},
                         WriteKeywords("answers.txt", "key-1\nsecret-1\nmm_1_2\nmm_1_2_77\n"));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("an ad-zone id is digits, or a PID"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("secret-1"), std::string::npos) << "the secret is never shown";
    ASSERT_TRUE(fs::exists(settings));
    EXPECT_EQ(fs::status(settings).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    const std::string written = ReadFile(settings);

    run = Batch({"--configure"}, WriteKeywords("answers.txt", "\n\n\n"));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFile(settings), written) << "empty answers keep what the file holds";
    for (const char* line : {"app_key = key-1", "app_secret = secret-1", "adzone_id = 77"})
        EXPECT_NE(written.find(line), std::string::npos) << line << " in\n" << written;

    const std::string byHand =
        "# mine\n" + ReplaceAll(written, "key-1", "key-1 ; console") + "[other]\nx = y\n";
    std::ofstream(settings, std::ios::binary) << byHand;
    run = Batch({"--configure"}, WriteKeywords("answers.txt", "key-2\n\n\n"));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFile(settings), ReplaceAll(byHand, "key-1", "key-2"));
}

}  // namespace
