// Files for tests: committed fixtures, fixtures that scripts generate at build
// time, and scratch folders that clean up after themselves.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pk::test {

// tests/data/<name> (PIXMARL_TEST_DATA).
std::filesystem::path DataFile(const std::string& name);
// <build>/fixtures/<name> (PIXMARL_TEST_GENERATED); empty when the generated
// fixtures are not there (the cross-compiled suite under Wine).
std::filesystem::path GeneratedFile(const std::string& name);
bool HaveGeneratedFixtures();

std::vector<uint8_t> ReadAll(const std::filesystem::path& path);
void WriteAll(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// The path as the component's UTF-16 file-name text.
std::u16string U16(const std::filesystem::path& path);

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace pk::test
