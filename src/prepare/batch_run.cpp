#include "prepare/batch_run.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>

#include "prepare/glyph_method.h"
#include "prepare/prepare_run.h"
#include "runtime/child_platform.h"
#include "runtime/command_line.h"
#include "runtime/run_end.h"
#include "screens/rejection_line.h"

namespace {

namespace fs = std::filesystem;

// The extensions of the pictures a folder is searched for, in lower case.
constexpr std::string_view PictureExtensions[] = {".jpg", ".jpeg", ".png", ".gif", ".bmp",
                                                  ".tif", ".tiff", ".webp", ".heic", ".heif",
                                                  ".avif", ".jxl", ".svg", ".ppm", ".pgm"};

bool LooksLikePicture(const fs::path& path) {
  std::string extension = path.extension().string();
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return std::find(std::begin(PictureExtensions), std::end(PictureExtensions), extension) !=
         std::end(PictureExtensions);
}

// The pictures named, with those in the folders named, in name order.
std::vector<std::string> ListPictures(const std::vector<std::string>& inputs) {
  std::vector<std::string> pictures;
  for (const std::string& input : inputs) {
    std::error_code error;
    if (!fs::is_directory(input, error)) {
      pictures.push_back(input);
      continue;
    }
    std::vector<std::string> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(input, error))
      if (entry.is_regular_file(error) && LooksLikePicture(entry.path()))
        found.push_back(entry.path().string());
    std::sort(found.begin(), found.end());
    pictures.insert(pictures.end(), found.begin(), found.end());
  }
  return pictures;
}

std::string OutputName(const std::string& folder, const std::string& picture,
                       OutputFormat format) {
  return (fs::path(folder) / fs::path(picture).stem()).string() + "." +
         std::string(ExtensionOf(format));
}

// What the workers report, kept under one lock: the counts, and the
// progress line as last drawn.
struct Progress {
  std::mutex lock;
  size_t total, written = 0, failed = 0;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  bool drawn;  // standard error is a terminal: the progress line is drawn
  size_t shownLength = 0;
};

// Takes the progress line off the terminal, so that a line can be written.
void ClearLine(Progress& progress) {
  if (progress.shownLength == 0) return;
  std::fprintf(stderr, "\r%*s\r", static_cast<int>(progress.shownLength), "");
  progress.shownLength = 0;
}

void DrawLine(Progress& progress, const std::string& picture) {
  if (!progress.drawn) return;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - progress.start).count();
  const size_t done = progress.written + progress.failed;
  std::string name = fs::path(picture).filename().string();
  if (name.size() > 40) name = name.substr(0, 37) + "...";
  char line[128];
  const int length = std::snprintf(line, sizeof line, "%zu/%zu %s, %.1f pictures/s", done,
                                   progress.total, name.c_str(), done / std::max(seconds, 1e-3));
  ClearLine(progress);
  std::fputs(line, stderr);
  std::fflush(stderr);
  progress.shownLength = static_cast<size_t>(length);
}

void ReportDone(Progress& progress, const std::string& picture) {
  std::lock_guard<std::mutex> hold(progress.lock);
  ++progress.written;
  DrawLine(progress, picture);
}

// The worker's first line about the picture names it, as a rejection line
// does; any other account gets the name in front.
void ReportFailed(Progress& progress, const std::string& picture, const std::string& account,
                  int status) {
  std::lock_guard<std::mutex> hold(progress.lock);
  ++progress.failed;
  ClearLine(progress);
  if (account.rfind("Error: ", 0) == 0) {
    std::fprintf(stderr, "%s\n", account.c_str());
  } else if (!account.empty()) {
    std::fprintf(stderr, "Error: \"%s\": %s\n", picture.c_str(), account.c_str());
  } else {
    std::fprintf(stderr, "Error: \"%s\": the worker ended with status %d.\n", picture.c_str(),
                 status);
  }
  DrawLine(progress, picture);
}

// One worker's share: runs a worker on the pictures left until all are
// done, starting it again after a picture that failed.
void RunShare(const BatchRequest& request, std::vector<std::string> pictures,
              Progress& progress) {
  const std::string self(ArgumentWhole(0));
  while (!pictures.empty()) {
    std::vector<std::string> words{std::string(WorkerOptionName)};
    words.insert(words.end(), request.optionWords.begin(), request.optionWords.end());
    words.insert(words.end(), pictures.begin(), pictures.end());
    std::FILE* stream = PlatformStartChild(self, words);
    if (stream == nullptr) {
      for (const std::string& picture : pictures)
        ReportFailed(progress, picture, "the worker could not be started.", -1);
      return;
    }
    size_t finished = 0;
    std::string account;  // the first line the worker wrote since its last picture
    char line[1024];
    while (std::fgets(line, sizeof line, stream) != nullptr) {
      std::string text(line);
      while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
      if (text == "ok" && finished < pictures.size()) {
        ReportDone(progress, pictures[finished++]);
        account.clear();
      } else if (account.empty()) {
        account = text;
      }
    }
    const int status = PlatformEndChild(stream);
    if (finished == pictures.size()) return;
    ReportFailed(progress, pictures[finished], account, status);
    pictures.erase(pictures.begin(), pictures.begin() + static_cast<long>(finished) + 1);
  }
}

}  // namespace

void RunBatch(const BatchRequest& request, const PrepareSettings&) {
  const std::vector<std::string> pictures = ListPictures(request.inputs);
  if (pictures.empty()) EndRejectedLine("Error: no pictures to convert.");
  // Two pictures of one name would write the same outputs.
  std::set<std::string> stems;
  for (const std::string& picture : pictures)
    if (!stems.insert(fs::path(picture).stem().string()).second)
      RejectQuoted("two pictures would give the same outputs: ",
                   fs::path(picture).stem().string(), ".*; convert them in two runs.");
  std::error_code error;
  fs::create_directories(request.folder, error);
  if (!fs::is_directory(request.folder, error))
    RejectQuoted("cannot make the folder ", request.folder, ".");

  const size_t workers = std::clamp<size_t>(std::thread::hardware_concurrency(), 1,
                                            std::min<size_t>(pictures.size(), 16));
  Progress progress;
  progress.total = pictures.size();
  progress.drawn = PlatformErrorIsTerminal();
  std::vector<std::thread> threads;
  for (size_t worker = 0; worker < workers; ++worker) {
    std::vector<std::string> share;
    for (size_t i = worker; i < pictures.size(); i += workers) share.push_back(pictures[i]);
    threads.emplace_back(RunShare, std::cref(request), std::move(share), std::ref(progress));
  }
  for (std::thread& thread : threads) thread.join();
  // The progress line stays, as its last state: all done, the rate.
  if (progress.drawn) {
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() -
                                                         progress.start).count();
    ClearLine(progress);
    std::fprintf(stderr, "%zu/%zu, %.1f pictures/s\n", progress.total, progress.total,
                 progress.total / std::max(seconds, 1e-3));
  }
  std::fprintf(stderr, "%zu pictures: %zu written, %zu failed.\n", progress.total,
               progress.written, progress.failed);
  std::fflush(stderr);
  EndRun(progress.failed == 0 ? 0 : 1);
}

void RunBatchWorker(const BatchRequest& request, const PrepareSettings& settings) {
  // There is a worker for each processor already.
  LimitGlyphThreads(1);
  for (const std::string& picture : request.inputs) {
    std::string names[MostOutputs];
    PrepareOutputs outputs{};
    for (OutputFormat format : request.formats) {
      names[outputs.count] = OutputName(request.folder, picture, format);
      outputs.names[outputs.count] = names[outputs.count];
      outputs.formats[outputs.count++] = format;
    }
    PreparePicture(picture, outputs, settings);
    std::fputs("ok\n", stdout);
    std::fflush(stdout);
  }
  EndRun(0);
}
