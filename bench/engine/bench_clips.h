#pragma once
// Clips for the engine benchmarks, made with the ffmpeg command in a folder of their own that
// is removed afterwards, and a few timing helpers.

#include <string>
#include <vector>

namespace tunelark::bench {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string path(const std::string& name) const { return folder_ + "/" + name; }

 private:
  std::string folder_;
};

// Runs a shell command; exits the benchmark with a message when it fails.
void run(const std::string& command);
double median(std::vector<double> values);

}  // namespace tunelark::bench
