#pragma once
#include <string>
#include <vector>

#include "prepare/prepare_settings.h"

// Many pictures in one run: each picture's outputs, one a format, go into
// the folder, named after the picture ("beach.jpg" gives "beach.prg").
struct BatchRequest {
  std::vector<std::string> inputs;       // pictures, and folders whose pictures are taken
  std::string folder;                    // where the outputs go
  std::vector<OutputFormat> formats;     // never empty
  std::vector<std::string> optionWords;  // the command line but the inputs, for the workers
};

// The run that hands the pictures to workers, one for each of the
// machine's cores: other runs of this program, each taking picture after
// picture with the decoder started once. A picture that fails is named
// with its reason on one line and its worker is started again for the rest.
// On a terminal, standard error shows one line of progress, drawn over
// again: pictures done of all, the last one's name, the rate. The last line
// counts them; the exit status is 1 when any failed, else 0.
[[noreturn]] void RunBatch(const BatchRequest& request, const PrepareSettings& settings);

// A worker: the pictures (files only) one after the other, each written
// whole before the next is read, and after each the line "ok" on standard
// output. The first picture that fails ends it, as a run of one picture.
[[noreturn]] void RunBatchWorker(const BatchRequest& request, const PrepareSettings& settings);

// The word that makes a run a worker; no user needs it.
inline constexpr std::string_view WorkerOptionName = "--worker";
