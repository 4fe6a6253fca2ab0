#pragma once
#include <string>

// A fresh folder under the system's temporary folder, removed with all it
// holds when the test ends.
struct TempFolder {
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string Path(const std::string& name) const { return root + "/" + name; }
  std::string root;
};

void WriteFile(const std::string& path, const std::string& content);
std::string ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);
