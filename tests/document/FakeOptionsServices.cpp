#include "tests/document/FakeOptionsServices.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "document/DocumentFiles.h"

namespace fs = std::filesystem;

CFakeOptionsServices::CFakeOptionsServices() {
  static std::atomic<int> counter{0};
  std::random_device random;
  fs::path folder = fs::temp_directory_path() /
                    ("bw-document-" + std::to_string(random()) + "-" + std::to_string(counter++));
  fs::create_directories(folder / "TWTemplates");
  m_nativeRoot = folder.string();
  std::string text = m_nativeRoot;
#ifndef _WIN32
  for (char& c : text)
    if (c == '/') c = '\\';
#endif
  root = CString(text.c_str()) + "\\";
  SetOptionsServices(this);
}

CFakeOptionsServices::~CFakeOptionsServices() {
  SetOptionsServices(nullptr);
  std::error_code error;
  // Read-only files left by a test must not keep the folder alive.
  for (auto& entry : fs::recursive_directory_iterator(m_nativeRoot, error))
    fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, error);
  fs::remove_all(m_nativeRoot, error);
}

void CFakeOptionsServices::WriteRootFile(const char* name, const std::string& bytes) const {
  const CString path = DocumentFiles::NativePath(RootFile(name));
  fs::create_directories(fs::path(std::string(path)).parent_path());
  std::ofstream out(std::string(path), std::ios::binary);
  out << bytes;
}

std::string ReadWholeFile(const CString& path) {
  std::ifstream in(std::string(DocumentFiles::NativePath(path)), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
