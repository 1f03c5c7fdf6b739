// Writers racing for one file name, as requests of a web server do: with
// owRename every write lands under a name of its own and each name is reported
// once, with owNever the first file stays and exactly one writer reports it,
// and with owAlways every write succeeds and one whole file remains. Threads
// and processes race in every build (under Wine, several Wine processes).
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
// No GDI: its colour macros would rewrite the portable colour helpers.
#define NOGDI
#ifndef NOMINMAX  // the C++ library's configuration may have set it
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <fstream>
#include <sstream>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "automation/image_functions.h"
#include "platform/text_encoding.h"
#include "tests/support/test_files.h"

namespace pk {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;
using test::U16;

constexpr int kWriters = 3;
constexpr int kWritesEach = 30;

// A 2 x 2 red 24-bit BMP.
std::vector<uint8_t> RedBmp() {
  std::vector<uint8_t> bytes;
  auto put = [&](uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  put('B' | ('M' << 8), 2);
  put(70, 4);  // file size
  put(0, 4);
  put(54, 4);  // pixel offset
  put(40, 4);  // header size
  put(2, 4);   // width
  put(2, 4);   // height
  put(1, 2);   // planes
  put(24, 2);  // bits per pixel
  put(0, 4);   // no compression
  put(16, 4);  // pixel bytes
  put(3780, 4);
  put(3780, 4);
  put(0, 4);  // palette colours
  put(0, 4);  // important colours
  for (int row = 0; row < 2; ++row) {
    put(0xFF0000, 3);
    put(0xFF0000, 3);
    put(0, 2);  // padding to 4 bytes
  }
  return bytes;
}

// The names one writer's WriteFile calls reported, in order.
std::vector<std::u16string> WriteRepeatedly(const fs::path& target, TxowMode mode, int count) {
  TImageFunctions object;
  object.ReadVariant(RedBmp());
  object.SetOverwriteMode(mode);
  std::vector<std::u16string> names;
  for (int i = 0; i < count; ++i) {
    object.WriteFile(U16(target));
    names.push_back(object.Filename());
  }
  return names;
}

// Runs the writers on threads; a writer that raised reports "error: ...".
std::vector<std::u16string> RaceOnThreads(const fs::path& target, TxowMode mode, int count) {
  std::vector<std::vector<std::u16string>> reported(kWriters);
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([&, w] {
      try {
        reported[w] = WriteRepeatedly(target, mode, count);
      } catch (const std::exception& error) {
        reported[w] = {u"error: " + Utf8ToUtf16(error.what())};
      }
    });
  }
  for (std::thread& writer : writers) writer.join();
  std::vector<std::u16string> all;
  for (const auto& names : reported) all.insert(all.end(), names.begin(), names.end());
  return all;
}

std::set<std::u16string> FilesIn(const fs::path& folder) {
  std::set<std::u16string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
#ifdef _WIN32
    // Wine's ReplaceFileW is not atomic: racing with another writer it can
    // leave its own backup ("rf*.tmp", an older version of the target)
    // behind. Those are not ours to count.
    const std::string name = entry.path().filename().string();
    if (name.starts_with("rf") && name.ends_with(".tmp")) continue;
#endif
    names.insert(U16(entry.path()));
  }
  return names;
}

void ExpectEveryWriteKept(const std::vector<std::u16string>& reported, const fs::path& folder) {
  ASSERT_EQ(reported.size(), static_cast<size_t>(kWriters * kWritesEach));
  const std::set<std::u16string> distinct(reported.begin(), reported.end());
  EXPECT_EQ(distinct.size(), reported.size()) << "a name was reported to two writers";
  EXPECT_EQ(FilesIn(folder), distinct) << "files lost, or temporary files left";
}

TEST(ConcurrentWriters, RenamingThreadsEachKeepTheirOwnFile) {
  ScratchDir dir;
  ExpectEveryWriteKept(RaceOnThreads(dir / "Pic.bmp", TxowMode::owRename, kWritesEach), dir.Path());
}

TEST(ConcurrentWriters, NeverKeepsTheFirstFileAndReportsItOnce) {
  ScratchDir dir;
  const fs::path target = dir / "Pic.bmp";
  const std::vector<std::u16string> reported = RaceOnThreads(target, TxowMode::owNever, 1);
  EXPECT_EQ(std::count(reported.begin(), reported.end(), U16(target)), 1);
  EXPECT_EQ(std::count(reported.begin(), reported.end(), u""), kWriters - 1);
  EXPECT_EQ(FilesIn(dir.Path()), std::set<std::u16string>{U16(target)});
}

TEST(ConcurrentWriters, AlwaysSucceedsForEveryWriterAndLeavesOneFile) {
  ScratchDir dir;
  const fs::path target = dir / "Pic.bmp";
  const std::vector<std::u16string> reported = RaceOnThreads(target, TxowMode::owAlways, kWritesEach);
  for (const std::u16string& name : reported) EXPECT_EQ(name, U16(target)) << "a writer failed";
  EXPECT_EQ(reported.size(), static_cast<size_t>(kWriters * kWritesEach));
  EXPECT_EQ(FilesIn(dir.Path()), std::set<std::u16string>{U16(target)});
}

#ifdef _WIN32
// A writer process: the test program started again with this (otherwise
// disabled) test selected and the variables below set; it writes its
// reported names, one a line, to the list file.
constexpr wchar_t kTargetVariable[] = L"PIXMARL_RACE_TARGET";
constexpr wchar_t kListVariable[] = L"PIXMARL_RACE_LIST";

std::wstring Variable(const wchar_t* name) {
  wchar_t value[1024];
  const DWORD length = GetEnvironmentVariableW(name, value, 1024);
  return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

TEST(ConcurrentWriters, DISABLED_WriterProcess) {
  const std::wstring target = Variable(kTargetVariable);
  ASSERT_FALSE(target.empty()) << "runs as a writer process of RenamingProcessesEachKeepTheirOwnFile";
  std::ofstream list(fs::path(Variable(kListVariable)), std::ios::binary);
  for (const std::u16string& name : WriteRepeatedly(fs::path(target), TxowMode::owRename, kWritesEach)) {
    list << Utf16ToUtf8(name) << "\n";
  }
}

TEST(ConcurrentWriters, RenamingProcessesEachKeepTheirOwnFile) {
  ScratchDir dir;
  ScratchDir lists;
  wchar_t program[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
  std::wstring command = L"\"" + std::wstring(program) +
                         L"\" --gtest_also_run_disabled_tests --gtest_filter=ConcurrentWriters.DISABLED_WriterProcess";
  SetEnvironmentVariableW(kTargetVariable, (dir / "Pic.bmp").wstring().c_str());
  std::vector<PROCESS_INFORMATION> writers;
  for (int w = 0; w < kWriters; ++w) {
    SetEnvironmentVariableW(kListVariable, (lists / std::to_string(w)).wstring().c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    writers.push_back(process);
  }
  SetEnvironmentVariableW(kTargetVariable, nullptr);
  SetEnvironmentVariableW(kListVariable, nullptr);
  std::vector<std::u16string> reported;
  for (int w = 0; w < kWriters; ++w) {
    EXPECT_EQ(WaitForSingleObject(writers[w].hProcess, 120000), WAIT_OBJECT_0);
    DWORD status = 1;
    GetExitCodeProcess(writers[w].hProcess, &status);
    EXPECT_EQ(status, 0u);
    CloseHandle(writers[w].hThread);
    CloseHandle(writers[w].hProcess);
    std::ifstream list(lists / std::to_string(w), std::ios::binary);
    for (std::string line; std::getline(list, line);) reported.push_back(Utf8ToUtf16(line));
  }
  ExpectEveryWriteKept(reported, dir.Path());
}
#else
TEST(ConcurrentWriters, RenamingProcessesEachKeepTheirOwnFile) {
  ScratchDir dir;
  const fs::path target = dir / "Pic.bmp";
  std::vector<std::pair<pid_t, int>> children;  // process and the read end of its pipe
  for (int w = 0; w < kWriters; ++w) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(ends[0]);
      int status = 0;
      try {
        for (const std::u16string& name : WriteRepeatedly(target, TxowMode::owRename, kWritesEach)) {
          const std::string line = Utf16ToUtf8(name) + "\n";
          if (write(ends[1], line.data(), line.size()) != static_cast<ssize_t>(line.size())) status = 1;
        }
      } catch (...) {
        status = 1;
      }
      _exit(status);
    }
    close(ends[1]);
    children.emplace_back(child, ends[0]);
  }
  std::vector<std::u16string> reported;
  for (auto [child, from_child] : children) {
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = read(from_child, buffer, sizeof buffer)) > 0;) {
      text.append(buffer, static_cast<size_t>(got));
    }
    close(from_child);
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
      reported.push_back(Utf8ToUtf16(text.substr(start, end - start)));
    }
  }
  ExpectEveryWriteKept(reported, dir.Path());
}
#endif

}  // namespace
}  // namespace pk
