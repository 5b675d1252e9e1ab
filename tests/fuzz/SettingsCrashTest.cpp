// A program killed while it saves its ratio list: a child process saves new
// lists in a loop and is killed with SIGKILL at a random moment, 200 times.
// After every kill data.ini holds one whole file, the one before the child
// ran or one the child finished, never an empty or a torn one, and the
// temporary files of killed saves do not pile up.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>

#include "RobustnessSupport.h"
#include "settings/SettingsFile.h"
#include "platform/ProfileFile.h"

namespace tavimo {
namespace {

using robustness::ReadBytes;
using robustness::ScratchDirectory;
using robustness::WriteBytes;

// The whole file for a ratio list text; the lines around it never change.
std::string FileFor(const std::string& text) {
  return "; ratio list\n[tvmo]\nnum=" + text + "\nnote=kept\n\n[other]\nnum=9\n";
}

// Lists of different lengths, so that a torn file cannot pass for a whole one.
std::string ListText(long run, long serial) {
  std::string text = std::to_string(run) + "/" + std::to_string(serial + 1);
  for (long i = serial % 7; i > 0; --i) text += ",0.618";
  return text;
}

// Counts the child's finished saves where the parent can see them.
[[noreturn]] void SaveForever(const std::string& path, long run, std::atomic<long>* saves) {
  try {
    for (long serial = 0;; ++serial) {
      SaveRatioText(ListText(run, serial), path);
      saves->store(serial + 1);
    }
  } catch (...) {
    _exit(3);
  }
}

TEST(SettingsKilledWhileSaving, FileIsAlwaysTheOldOrANewWholeFile) {
  ScratchDirectory directory;
  ASSERT_TRUE(directory.Valid());
  const std::string path = directory.File("data.ini");
  std::string previous = FileFor("0.5");
  WriteBytes(path, previous);

  // The kill comes after a random number of finished saves (none to two)
  // plus a random moment, so it lands anywhere in a save however busy the
  // machine is: a fixed delay alone can end before a loaded child starts.
  void* shared = mmap(nullptr, sizeof(std::atomic<long>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(shared, MAP_FAILED);
  auto* saves = new (shared) std::atomic<long>(0);
  std::mt19937 random(20261209);
  std::uniform_int_distribution<long> savesBeforeKill(0, 2);
  std::uniform_int_distribution<int> delayMicroseconds(0, 3000);
  int changed = 0;
  for (long run = 1; run <= 200; ++run) {
    saves->store(0);
    const long target = savesBeforeKill(random);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) SaveForever(path, run, saves);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (saves->load() < target && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the saving child ended by itself";

    const std::string now = ReadBytes(path);
    const std::string text = platform::ReadProfileString(path, "tvmo", "num", "");
    const bool isOld = now == previous;
    const bool isNew = text.starts_with(std::to_string(run) + "/") && now == FileFor(text);
    ASSERT_TRUE(isOld || isNew) << "after kill " << run << " data.ini holds:\n" << now;
    changed += isNew;
    previous = now;
  }
  munmap(shared, sizeof(std::atomic<long>));
  // Otherwise the kills all came before the first save finished and the
  // test showed nothing.
  EXPECT_GT(changed, 20);
  // A kill between creating the temporary file and renaming it leaves that
  // file behind; the next save removes it, so only the last kill's can stay.
  const std::vector<std::string> entries = directory.Entries();
  RecordProperty("saves_seen", changed);
  RecordProperty("temporaries_left", static_cast<int>(entries.size()) - 1);
  std::printf("%d of 200 kills found a new file; %zu temporary files left\n", changed, entries.size() - 1);
  EXPECT_LE(entries.size(), 2u);
}

}  // namespace
}  // namespace tavimo
