// The tessera program as a user runs it: its command line, its exit statuses and messages, and
// the drawings and pictures a run writes.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace tessera {
namespace {

namespace fs = std::filesystem;

const std::string kProgram = std::string(TESSERA_BINARY_DIR) + "/bin/tessera";
const std::string kPlugin = std::string(TESSERA_BINARY_DIR) + "/lib/libtessera_area.so";

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), {});
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Each test works in a folder of its own, removed afterwards.
class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    m_folder = fs::temp_directory_path() /
               ("tessera_app_" + std::to_string(::getpid()) + "_" + test->name());
    fs::remove_all(m_folder);
    fs::create_directories(m_folder);
  }
  void TearDown() override { fs::remove_all(m_folder); }

  std::string path(const std::string& name) const { return (m_folder / name).string(); }

  std::string script(const std::string& name, const std::string& text) const {
    WriteFile(m_folder / name, text);
    return path(name);
  }

  // Runs the program with these arguments (and environment additions), in the test's folder.
  Outcome run(const std::vector<std::string>& args,
              const std::map<std::string, std::string>& environment = {}) const {
    const std::string out = path(".stdout"), err = path(".stderr");
    const pid_t child = ::fork();
    if (child == 0) execute(args, environment, out, err);
    Outcome outcome;
    int status = 0;
    ::waitpid(child, &status, 0);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    outcome.out = ReadFile(out);
    outcome.err = ReadFile(err);
    fs::remove(out);
    fs::remove(err);
    return outcome;
  }

  fs::path m_folder;

 private:
  void execute(const std::vector<std::string>& args,
               const std::map<std::string, std::string>& environment, const std::string& out,
               const std::string& err) const {
    if (::chdir(m_folder.c_str()) != 0) ::_exit(126);
    for (const auto& [name, value] : environment) ::setenv(name.c_str(), value.c_str(), 1);
    ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDOUT_FILENO);
    ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(kProgram.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(kProgram.c_str(), argv.data());
    ::_exit(127);
  }
};

// A script that draws a line and a text, with answers as the host's prompts take them.
constexpr const char* kDrawingScript =
    "; a line and a text\n"
    "LINE\n"
    "0,0\n"
    "100,50\n"
    "\n"
    "TEXT\n"
    "10,10\n"
    "2.5\n"
    "0\n"
    "求積図 A&B\n";

TEST_F(ProgramTest, HelpAndVersionGoToStandardOutput) {
  const Outcome help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("tessera run SCRIPT"), std::string::npos) << help.out;
  EXPECT_NE(help.out.find("tessera render DRAWING --svg FILE"), std::string::npos) << help.out;
  EXPECT_EQ(help.err, "");
  const Outcome version = run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(std::regex_match(version.out, std::regex("tessera [0-9]+\\.[0-9]+\\.[0-9]+\n")))
      << version.out;
}

TEST_F(ProgramTest, BadCommandLinesGiveUsageAndStatusTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"draw", "a.scr"},
      {"run"},
      {"run", "a.scr", "b.scr"},
      {"run", "a.scr", "--out"},
      {"run", "a.scr", "--out", "--svg", "x.svg"},
      {"run", "a.scr", "--colour", "red"},
      {"run", "a.scr", "--out", "x.dxf", "--out", "y.dxf"},
      {"render", "d.dxf"},
      {"render", "d.dxf", "--svg", "x.svg", "--out", "y.dxf"},
      {"--version", "extra"},
  };
  for (const auto& args : cases) {
    std::string line;
    for (const std::string& arg : args) line += arg + " ";
    const Outcome outcome = run(args);
    EXPECT_EQ(outcome.status, 2) << line;
    EXPECT_NE(outcome.err.find("Usage:"), std::string::npos) << line << "\n" << outcome.err;
    EXPECT_EQ(outcome.err.find("tessera: "), 0u) << line << "\n" << outcome.err;
    EXPECT_EQ(outcome.out, "") << line;
  }
}

TEST_F(ProgramTest, MissingFilesGiveStatusTwoNamingTheFileAndWriteNothing) {
  const std::string good = script("good.scr", kDrawingScript);
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::string named;
  };
  const std::vector<Case> cases = {
      {"script", {"run", "missing.scr", "--out", "out.dxf", "--no-plugin"}, "missing.scr"},
      {"input drawing",
       {"run", good, "--in", "missing.dxf", "--out", "out.dxf", "--no-plugin"},
       "missing.dxf"},
      {"output folder", {"run", good, "--out", "no/out.dxf", "--no-plugin"}, "no/out.dxf"},
      {"picture folder", {"run", good, "--svg", "no/out.svg", "--no-plugin"}, "no/out.svg"},
      {"drawing to render", {"render", "missing.dxf", "--svg", "out.svg"}, "missing.dxf"},
      {"plug-in", {"run", good, "--out", "out.dxf"}, "/nowhere/plugin.so"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = run(c.args, {{"TESSERA_PLUGIN", "/nowhere/plugin.so"}});
    EXPECT_EQ(outcome.status, 2) << c.name;
    EXPECT_NE(outcome.err.find(c.named), std::string::npos) << c.name << ": " << outcome.err;
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << c.name;
    EXPECT_FALSE(fs::exists(m_folder / "out.dxf")) << c.name;
    EXPECT_FALSE(fs::exists(m_folder / "out.svg")) << c.name;
  }
}

TEST_F(ProgramTest, ScriptLineThatCannotRunGivesStatusOneWithItsLine) {
  const std::string bad = script("bad.scr", "; fine so far\n(setq a 1)\n(car 1)\n");
  const Outcome outcome = run({"run", bad, "--no-plugin"});
  EXPECT_EQ(outcome.status, 1) << outcome.err;
  EXPECT_NE(outcome.err.find("bad.scr"), std::string::npos) << outcome.err;
  EXPECT_TRUE(std::regex_search(outcome.err, std::regex("(:|line )3\\b"))) << outcome.err;
}

TEST_F(ProgramTest, RunWritesTheDrawingAndItsPictureAndRenderDrawsTheSame) {
  const std::string drawing = script("draw.scr", kDrawingScript);
  const Outcome outcome =
      run({"run", drawing, "--out", "out.dxf", "--svg", "out.svg", "--no-plugin"});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  const std::string dxf = ReadFile(m_folder / "out.dxf");
  EXPECT_NE(dxf.find("\nLINE\n"), std::string::npos);
  EXPECT_NE(dxf.find("AREA1"), std::string::npos) << "the template's blocks are in the drawing";
  const std::string svg = ReadFile(m_folder / "out.svg");
  EXPECT_NE(svg.find("<line x1=\"0\" y1=\"0\" x2=\"100\" y2=\"-50\""), std::string::npos) << svg;
  EXPECT_NE(svg.find("求積図 A&amp;B</text>"), std::string::npos) << svg;

  const Outcome render = run({"render", "out.dxf", "--svg", "again.svg"});
  ASSERT_EQ(render.status, 0) << render.err;
  EXPECT_EQ(ReadFile(m_folder / "again.svg"), svg);
  EXPECT_FALSE(fs::exists(m_folder / "out.svg.part"));
}

TEST_F(ProgramTest, InDrawingIsContinuedAndSavedUnderANewName) {
  script("first.scr", "LINE\n0,0\n100,0\n\n");
  script("second.scr", "CIRCLE\n50,50\n10\n");
  ASSERT_EQ(run({"run", "first.scr", "--out", "first.tdb", "--no-plugin"}).status, 0);
  // Options also take their file after "=".
  const Outcome outcome = run({"run", "second.scr", "--in=first.tdb", "--out=second.dxf",
                               "--svg=second.svg", "--no-plugin"});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  const std::string svg = ReadFile(m_folder / "second.svg");
  EXPECT_NE(svg.find("<line "), std::string::npos);
  EXPECT_NE(svg.find("<circle cx=\"50\" cy=\"-50\" r=\"10\""), std::string::npos) << svg;
}

TEST_F(ProgramTest, TranscriptGoesToStandardOutputOrToItsFile) {
  const std::string drawing = script("draw.scr", kDrawingScript);
  const Outcome toScreen = run({"run", drawing, "--no-plugin"});
  ASSERT_EQ(toScreen.status, 0) << toScreen.err;
  EXPECT_NE(toScreen.out.find("LINE"), std::string::npos) << toScreen.out;

  const Outcome toFile = run({"run", drawing, "--transcript", "session.txt", "--no-plugin"});
  ASSERT_EQ(toFile.status, 0) << toFile.err;
  EXPECT_EQ(toFile.out, "");
  EXPECT_EQ(ReadFile(m_folder / "session.txt"), toScreen.out);
}

TEST_F(ProgramTest, PluginIsLoadedFromBesideTheProgramOrWhereTheEnvironmentSays) {
  if (!fs::exists(kPlugin)) GTEST_SKIP() << "the plug-in is not built";
  const std::string drawing = script("draw.scr", kDrawingScript);
  const Outcome beside = run({"run", drawing, "--out", "out.dxf"});
  EXPECT_EQ(beside.status, 0) << beside.err;
  const Outcome chosen = run({"run", drawing, "--out", "out.dxf"}, {{"TESSERA_PLUGIN", kPlugin}});
  EXPECT_EQ(chosen.status, 0) << chosen.err;
}

// The demo as the README runs it: every text of its picture has a size one can read, the
// titles of the script among them.
TEST_F(ProgramTest, DemoPictureShowsEveryTextWithAVisibleSize) {
  if (!fs::exists(kPlugin)) GTEST_SKIP() << "the plug-in is not built";
  const std::string demo = std::string(TESSERA_SOURCE_DIR) + "/examples/demo.scr";
  const Outcome outcome = run({"run", demo, "--out", "demo.dxf", "--svg", "demo.svg"});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  const std::string svg = ReadFile(m_folder / "demo.svg");
  const std::regex text("<text [^>]*font-size=\"([^\"]+)\"[^>]*>([^<]*)</text>");
  std::vector<std::string> contents;
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), text); it != std::sregex_iterator();
       ++it) {
    EXPECT_GT(std::stod((*it)[1].str()), 0.0) << (*it)[0].str();
    contents.push_back((*it)[2].str());
  }
  std::size_t opened = 0;
  for (std::size_t at = svg.find("<text "); at != std::string::npos;
       at = svg.find("<text ", at + 1))
    ++opened;
  EXPECT_EQ(contents.size(), opened) << "every text element has a font size";
  for (const char* title : {"求積図 (demo lot)", "住宅", "隣地境界"})
    EXPECT_NE(std::find(contents.begin(), contents.end(), title), contents.end()) << title;
  // The edits at its end show in the schedule: the stretched triangle's and the corrected
  // rectangle's rows, the erased circle's row gone, and the total of what is left.
  auto shows = [&contents](const char* text) {
    return std::find(contents.begin(), contents.end(), text) != contents.end();
  };
  EXPECT_TRUE(shows("7.00x8.00x0.5")) << "the stretched triangle's row";
  EXPECT_TRUE(shows("7.50x6.00")) << "the corrected rectangle's row";
  EXPECT_FALSE(shows("3.00x3.00x3.14")) << "the erased circle's row";
  EXPECT_TRUE(shows("366.05")) << "the total of the figures left";
}

TEST_F(ProgramTest, ExportAndCsvCommandLinesAreChecked) {
  const std::vector<std::vector<std::string>> cases = {
      {"export", "d.dxf"},
      {"export", "--csv", "x.csv"},
      {"export", "d.dxf", "--csv", "x.csv", "--svg", "x.svg"},
      {"export", "d.dxf", "e.dxf", "--csv", "x.csv"},
      {"run", "a.scr", "--csv", "x.csv", "--no-plugin"},
      {"run", "a.scr", "--csv", "x.csv", "--csv", "y.csv"},
      {"render", "d.dxf", "--svg", "x.svg", "--csv", "x.csv"},
  };
  for (const auto& args : cases) {
    std::string line;
    for (const std::string& arg : args) line += arg + " ";
    const Outcome outcome = run(args);
    EXPECT_EQ(outcome.status, 2) << line;
    EXPECT_NE(outcome.err.find("Usage:"), std::string::npos) << line << "\n" << outcome.err;
  }
}

// Two roles naming one file are refused before anything runs, however the file is named;
// saving over the drawing opened and sending several outputs to /dev/null are not refused.
TEST_F(ProgramTest, OneFileForTwoRolesIsRefusedBeforeAnythingRuns) {
  const std::string drawing = script("draw.scr", kDrawingScript);
  ASSERT_EQ(run({"run", drawing, "--out", "d.dxf", "--no-plugin"}).status, 0);
  WriteFile(m_folder / "old.svg", "old");
  fs::create_symlink("old.svg", m_folder / "link.svg");
  fs::create_hard_link(m_folder / "old.svg", m_folder / "hard.svg");
  struct Case {
    const char* name;
    std::vector<std::string> args;
  };
  const std::vector<Case> refused = {
      {"picture and transcript", {"run", drawing, "--svg", "new.txt", "--transcript", "new.txt"}},
      {"drawing and picture", {"run", drawing, "--out", "new.dxf", "--svg", "./new.dxf"}},
      {"transcript over the script", {"run", drawing, "--transcript", "draw.scr"}},
      {"through a link", {"run", drawing, "--svg", "link.svg", "--transcript", "old.svg"}},
      {"through a hard link", {"run", drawing, "--svg", "hard.svg", "--transcript", "old.svg"}},
      {"picture over the drawing drawn", {"render", "d.dxf", "--svg", "d.dxf"}},
      {"CSV over the drawing exported", {"export", "d.dxf", "--csv", "d.dxf"}},
  };
  const std::string drawn = ReadFile(m_folder / "d.dxf");
  const std::string scriptText = ReadFile(m_folder / "draw.scr");
  for (const Case& c : refused) {
    const Outcome outcome = run(c.args);
    EXPECT_EQ(outcome.status, 2) << c.name;
    EXPECT_NE(outcome.err.find("name one file"), std::string::npos) << c.name << outcome.err;
    EXPECT_EQ(outcome.out, "") << c.name << ": nothing ran";
    EXPECT_FALSE(fs::exists(m_folder / "new.txt") || fs::exists(m_folder / "new.dxf")) << c.name;
  }
  EXPECT_EQ(ReadFile(m_folder / "old.svg"), "old");
  EXPECT_EQ(ReadFile(m_folder / "d.dxf"), drawn);
  EXPECT_EQ(ReadFile(m_folder / "draw.scr"), scriptText);

  const Outcome inPlace = run({"run", "draw.scr", "--in", "d.dxf", "--out", "d.dxf", "--svg",
                               "/dev/null", "--transcript", "/dev/null", "--no-plugin"});
  EXPECT_EQ(inPlace.status, 0) << inPlace.err;
  EXPECT_NE(ReadFile(m_folder / "d.dxf"), drawn) << "the drawing is saved with a second line";
}

// A file is replaced only when complete and keeps its mode; a link stays a link to the new
// file; a FIFO is written into, not replaced; no partial file is left behind.
TEST_F(ProgramTest, OutputsReplaceFilesKeepingModeAndLinksAndWriteIntoFifos) {
  const std::string drawing = script("draw.scr", kDrawingScript);
  WriteFile(m_folder / "kept.txt", "old");
  fs::permissions(m_folder / "kept.txt",
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  WriteFile(m_folder / "target.svg", "old");
  fs::create_symlink("target.svg", m_folder / "picture.svg");
  ASSERT_EQ(::mkfifo((m_folder / "drawing.dxf").c_str(), 0600), 0);
  std::string fromFifo;
  std::thread reader([&] { fromFifo = ReadFile(m_folder / "drawing.dxf"); });
  const Outcome outcome = run({"run", drawing, "--transcript", "kept.txt", "--svg", "picture.svg",
                               "--out", "drawing.dxf", "--no-plugin"});
  // A run that never opened the FIFO would leave the reader waiting: an empty writer ends it.
  if (const int writer = ::open((m_folder / "drawing.dxf").c_str(), O_WRONLY | O_NONBLOCK);
      writer >= 0)
    ::close(writer);
  reader.join();
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_NE(ReadFile(m_folder / "kept.txt").find("Command: LINE"), std::string::npos);
  EXPECT_EQ(fs::status(m_folder / "kept.txt").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_TRUE(fs::is_symlink(m_folder / "picture.svg"));
  EXPECT_NE(ReadFile(m_folder / "target.svg").find("<svg"), std::string::npos);
  EXPECT_TRUE(fs::is_fifo(m_folder / "drawing.dxf"));
  EXPECT_NE(fromFifo.find("\nLINE\n"), std::string::npos);
  for (const auto& entry : fs::directory_iterator(m_folder))
    EXPECT_EQ(entry.path().filename().string().find(".tessera-"), std::string::npos)
        << entry.path();
}

// A read-only file is never replaced: as an output of the command line it is refused before
// anything runs (status 2), and a SAVEAS over it fails with a message naming it.
TEST_F(ProgramTest, ReadOnlyTargetsAreRefusedAndKept) {
  const std::string drawing = script("draw.scr", kDrawingScript);
  WriteFile(m_folder / "locked.dxf", "old");
  WriteFile(m_folder / "locked.txt", "old");
  for (const char* name : {"locked.dxf", "locked.txt"})
    fs::permissions(m_folder / name, fs::perms::owner_read | fs::perms::group_read);
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"run", drawing, "--out", "locked.dxf", "--no-plugin"},
           {"run", drawing, "--transcript", "locked.txt", "--no-plugin"}}) {
    const Outcome outcome = run(args);
    EXPECT_EQ(outcome.status, 2) << args[2];
    EXPECT_NE(outcome.err.find("read-only"), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.out, "") << "nothing ran";
  }
  const std::string saving = script("save.scr", "LINE\n0,0\n1,1\n\nSAVEAS\nlocked.dxf\n");
  const Outcome saved = run({"run", saving, "--no-plugin"});
  EXPECT_NE(saved.out.find("locked.dxf: cannot be written: the file is read-only"),
            std::string::npos)
      << saved.out;
  EXPECT_EQ(ReadFile(m_folder / "locked.dxf"), "old");
  EXPECT_EQ(ReadFile(m_folder / "locked.txt"), "old");
}

// A drawing to open must be a regular file: a FIFO is refused at once instead of waiting for a
// writer that never comes.
TEST_F(ProgramTest, InDrawingThatIsNoRegularFileIsRefusedWithoutWaiting) {
  const std::string drawing = script("draw.scr", kDrawingScript);
  ASSERT_EQ(::mkfifo((m_folder / "pipe.dxf").c_str(), 0600), 0);
  // Should the program open the FIFO after all, a writer lets it go on, so the test cannot hang.
  std::atomic<bool> done{false};
  std::thread rescuer([&] {
    while (!done) {
      const int writer = ::open((m_folder / "pipe.dxf").c_str(), O_WRONLY | O_NONBLOCK);
      if (writer >= 0) ::close(writer);
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
  });
  const Outcome in = run({"run", drawing, "--in", "pipe.dxf", "--no-plugin"});
  const Outcome render = run({"render", "pipe.dxf", "--svg", "out.svg"});
  done = true;
  rescuer.join();
  for (const Outcome& outcome : {in, render}) {
    EXPECT_EQ(outcome.status, 2) << outcome.err;
    EXPECT_NE(outcome.err.find("not a regular file"), std::string::npos) << outcome.err;
  }
  EXPECT_FALSE(fs::exists(m_folder / "out.svg"));
}

// A save from inside a script takes the same care as the program's own outputs: through a link
// it replaces the linked file and keeps its mode and owner; a device is written into and stays
// a device.
TEST_F(ProgramTest, ScriptSavesFollowLinksKeepModeAndOwnerAndWriteIntoDevices) {
  fs::create_directories(m_folder / "drawings");
  WriteFile(m_folder / "drawings" / "lot.dxf", "old");
  fs::permissions(m_folder / "drawings" / "lot.dxf",
                  fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("drawings/lot.dxf", m_folder / "link.dxf");
  const bool privileged = ::geteuid() == 0;
  constexpr uid_t kOtherOwner = 4321;
  if (privileged) {
    ASSERT_EQ(::chown((m_folder / "drawings" / "lot.dxf").c_str(), kOtherOwner, kOtherOwner), 0);
  }
  // The same device numbers as the system's null device, made in the test's own folder.
  const bool device =
      privileged && ::mknod((m_folder / "null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;
  const std::string saving = script("save.scr", "LINE\n0,0\n1,1\n\nSAVEAS\nlink.dxf\n");
  const Outcome outcome =
      run({"run", saving, "--no-plugin", "--transcript", device ? "null" : "session.txt"});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_TRUE(fs::is_symlink(m_folder / "link.dxf"));
  EXPECT_NE(ReadFile(m_folder / "drawings" / "lot.dxf").find("\nLINE\n"), std::string::npos);
  struct stat saved {};
  ASSERT_EQ(::stat((m_folder / "drawings" / "lot.dxf").c_str(), &saved), 0);
  EXPECT_EQ(saved.st_mode & 07777, 0600u);
  EXPECT_TRUE(!privileged || saved.st_uid == kOtherOwner) << "owner " << saved.st_uid;
  EXPECT_TRUE(!device || fs::is_character_file(m_folder / "null"));
  for (const auto& entry : fs::recursive_directory_iterator(m_folder))
    EXPECT_EQ(entry.path().filename().string().find(".tessera-"), std::string::npos)
        << entry.path();
}

// The partial file of a save killed midway is removed by the next save of that output; a
// partial file of a writer still at work is left alone.
TEST_F(ProgramTest, PartialFilesOfKilledSavesDoNotAccumulate) {
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  const std::string abandoned = ".out.dxf.tessera-" + std::to_string(gone) + "-0.dxf";
  const std::string working = ".out.dxf.tessera-" + std::to_string(::getpid()) + "-0.dxf";
  WriteFile(m_folder / abandoned, "half a drawing");
  WriteFile(m_folder / working, "being written");
  const std::string drawing = script("draw.scr", kDrawingScript);
  ASSERT_EQ(run({"run", drawing, "--out", "out.dxf", "--no-plugin"}).status, 0);
  EXPECT_FALSE(fs::exists(m_folder / abandoned));
  EXPECT_TRUE(fs::exists(m_folder / working));
}

}  // namespace
}  // namespace tessera
