#include "tests/support/test_files.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>

namespace pk::test {
namespace {

std::filesystem::path FromEnv(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::filesystem::path(value) : std::filesystem::path();
}

}  // namespace

std::filesystem::path DataFile(const std::string& name) { return FromEnv("PIXMARL_TEST_DATA") / name; }

std::filesystem::path GeneratedFile(const std::string& name) {
  const auto root = FromEnv("PIXMARL_TEST_GENERATED");
  return root.empty() ? root : root / name;
}

bool HaveGeneratedFixtures() {
  const auto root = FromEnv("PIXMARL_TEST_GENERATED");
  return !root.empty() && std::filesystem::is_directory(root);
}

std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
  // One read of the whole file: a character-by-character copy takes seconds
  // for a photograph in the unoptimised sanitizer build.
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
  if (size < 0) throw std::runtime_error("cannot read " + path.string());
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
    throw std::runtime_error("cannot read " + path.string());
  return bytes;
}

void WriteAll(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::u16string U16(const std::filesystem::path& path) { return path.u16string(); }

ScratchDir::ScratchDir() {
  static std::atomic<unsigned> counter{0};
  std::random_device seed;
  path_ = std::filesystem::temp_directory_path() /
          ("pixmarl-test-" + std::to_string(seed()) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace pk::test
